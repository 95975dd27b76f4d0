// File and folder dialogs: the request, the answer with its default extension, Cancel, filters, Qt.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QMimeDatabase>
#define Q_TEST_QPIXMAPCACHE // QPixmapCache::totalUsed
#include <QPixmapCache>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>

#include <mfc/file_dialog.h>
#include <mfc/folder_browser.h>
#include <seams/file_dialog.h>

#include "file_dialog_qt.h"
#include "file_icons_by_name.h"

namespace {

class MfcFileDialogTest : public ::testing::Test {
protected:
    void answer(std::optional<std::string> path)
    {
        platform::seams::setFileDialogAnswer([this, path](const platform::seams::FileDialogCall& call) {
            calls.push_back(call);
            return path;
        });
    }
    void TearDown() override { platform::seams::setFileDialogAnswer({}); }
    std::vector<platform::seams::FileDialogCall> calls;
};

TEST_F(MfcFileDialogTest, SaveAddsTheDefaultExtensionToANameWithoutOne)
{
    answer("\\home\\user\\pictures\\snap");
    CFileDialog dlg(FALSE, "BMP", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    "BMP Files (*.bmp)|*.bmp|JPEG Files (*.jpg)|*.jpg||");
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ(dlg.GetPathName(), "\\home\\user\\pictures\\snap.BMP");
    EXPECT_STREQ(dlg.GetFileName(), "snap.BMP");
    EXPECT_STREQ(dlg.GetFileExt(), "BMP");
    EXPECT_STREQ(dlg.GetFileTitle(), "snap");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_FALSE(calls[0].open);
    EXPECT_EQ(calls[0].defaultExtension, "BMP");
    EXPECT_EQ(calls[0].flags, DWORD(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT));
    EXPECT_EQ(calls[0].filter, "BMP Files (*.bmp)|*.bmp|JPEG Files (*.jpg)|*.jpg||");
}

TEST_F(MfcFileDialogTest, OpenKeepsTheChosenNameAndFillsTheCallersBuffer)
{
    answer("\\media\\clip.v1.avi");
    char buffer[2560] = {};
    CFileDialog dlg(TRUE, nullptr, nullptr, OFN_EXPLORER | OFN_FILEMUSTEXIST, "All File(*.*)|*.*|");
    dlg.m_ofn.lpstrFile = buffer;
    dlg.m_ofn.nMaxFile = sizeof buffer;
    dlg.m_ofn.lpstrTitle = "Open";
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ(buffer, "\\media\\clip.v1.avi");
    EXPECT_STREQ(dlg.GetFileExt(), "avi");
    EXPECT_EQ(calls[0].title, "Open");
    EXPECT_TRUE(calls[0].open);
    POSITION pos = dlg.GetStartPosition();
    ASSERT_NE(pos, nullptr);
    EXPECT_STREQ(dlg.GetNextPathName(pos), "\\media\\clip.v1.avi");
    EXPECT_EQ(pos, nullptr);
}

TEST_F(MfcFileDialogTest, CancelAndAPathTooLongForTheBuffer)
{
    answer(std::nullopt);
    CFileDialog cancelled(TRUE);
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(cancelled.GetStartPosition(), nullptr);

    answer("\\a\\very\\long\\path.avi");
    char small[8] = {};
    CFileDialog tight(TRUE);
    tight.m_ofn.lpstrFile = small;
    tight.m_ofn.nMaxFile = sizeof small;
    EXPECT_EQ(tight.DoModal(), IDCANCEL);
    EXPECT_STREQ(small, "");
}

TEST(MfcFileDialogFilter, WindowsFiltersBecomeQtFilters)
{
    EXPECT_EQ(platform::mfc::qtFilter("BMP Files (*.bmp)|*.bmp|JPEG Files (*.jpg)|*.jpg||"),
              "BMP Files (*.bmp);;JPEG Files (*.jpg)");
    EXPECT_EQ(platform::mfc::qtFilter("MPEG File(*.mpg;*.mpeg)|*.mpg;*.mpeg|All File(*.*)|*.*|"),
              "MPEG File (*.mpg *.mpeg);;All File (*.*)");
    EXPECT_EQ(platform::mfc::qtFilter(""), "");
}

// The dialogs' lists name a file's type from its name: a listed file is never read (some block readers).
TEST(MfcFileDialogList, TypesComeFromNamesNotContents)
{
    // The window layer makes the GUI application with its first window.
    const HWND window = CreateWindowEx(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    QTemporaryDir folder;
    const QString pngNamedText = folder.filePath("picture.txt");
    QFile file(pngNamedText);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x89PNG\r\n\x1a\n");
    file.close();
    const platform::mfc::FileIconsByName icons;
    const QString text = QMimeDatabase().mimeTypeForName("text/plain").comment();
    EXPECT_EQ(icons.type(QFileInfo(pngNamedText)), text);
    EXPECT_EQ(icons.type(QFileInfo(folder.path())), QFileIconProvider().type(QFileInfo(folder.path())));
    EXPECT_FALSE(icons.icon(QFileInfo(pngNamedText)).isNull());
    DestroyWindow(window);
}

} // namespace

namespace {

// The real dialog, answered by a person stand-in once it is open.
TEST(MfcQtFileDialogTest, ShowsTheRequestAndGivesThePathInTheSystemsForm)
{
    // The window layer makes the GUI application with its first window.
    const HWND window = CreateWindowEx(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    QString title;
    QStringList filters;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        dialog->selectFile("/tmp/orvanel snap.bmp");
        static_cast<QDialog*>(dialog)->accept(); // public in the base, dispatched to the file dialog
    });
    platform::seams::FileDialogCall call{false, nullptr, "", "BMP Files (*.bmp)|*.bmp|JPEG Files (*.jpg)|*.jpg||",
                                           "BMP", "", 0};
    const auto chosen = platform::mfc::showQtFileDialog(call, 1);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, "\\tmp\\orvanel snap.bmp");
    EXPECT_EQ(title, "Save As");
    EXPECT_EQ(filters, (QStringList{"BMP Files (*.bmp)", "JPEG Files (*.jpg)"}));

    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    call.open = true;
    EXPECT_FALSE(platform::mfc::showQtFileDialog(call, 1).has_value());
    DestroyWindow(window);
}

// Every dialog paints icons of its own, which Qt caches as pixmaps no later dialog asks for: they go when the
// dialog closes, so a program that asks for a file name at each recording does not fill the cache.
TEST(MfcQtFileDialogTest, LeavesNoIconPixmapsCachedOnceClosed)
{
    const HWND window = CreateWindowEx(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    const int before = QPixmapCache::totalUsed();
    int shown = 0;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        dialog->grab();
        shown = QPixmapCache::totalUsed();
        dialog->close();
    });
    const platform::seams::FileDialogCall call{false, nullptr, "", "AVI Files (*.avi)|*.avi||", "avi", "", 0};
    EXPECT_FALSE(platform::mfc::showQtFileDialog(call, 1).has_value());
    EXPECT_GT(shown, before) << "the painted dialog cached no pixmaps";
    EXPECT_LE(QPixmapCache::totalUsed(), before);
    DestroyWindow(window);
}

} // namespace

namespace {

// The folder browser as the settings dialog uses it: a chosen folder's path, Cancel, a path too long.
TEST(MfcFolderBrowserTest, ChosenFolderComesBackAsItsPath)
{
    std::vector<platform::seams::FolderDialogCall> calls;
    std::optional<std::string> answer = "\\home\\user\\pictures";
    platform::seams::setFolderDialogAnswer([&](const platform::seams::FolderDialogCall& call) {
        calls.push_back(call);
        return answer;
    });
    char name[MAX_PATH] = {};
    BROWSEINFO info{};
    info.pszDisplayName = name;
    info.lpszTitle = "Choose Path: ";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST item = SHBrowseForFolder(&info);
    ASSERT_NE(item, nullptr);
    char path[MAX_PATH] = {};
    EXPECT_TRUE(SHGetPathFromIDList(item, path));
    EXPECT_STREQ(path, "\\home\\user\\pictures");
    EXPECT_STREQ(name, "pictures");
    std::free(item);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].title, "Choose Path: ");
    EXPECT_EQ(calls[0].flags, UINT(BIF_RETURNONLYFSDIRS));

    answer = "\\"; // the root: its path already ends in "\"
    item = SHBrowseForFolder(&info);
    EXPECT_TRUE(SHGetPathFromIDList(item, path));
    EXPECT_STREQ(path, "\\");
    std::free(item);

    answer = "\\" + std::string(MAX_PATH, 'x');
    item = SHBrowseForFolder(&info);
    EXPECT_FALSE(SHGetPathFromIDList(item, path));
    std::free(item);

    answer = std::nullopt;
    EXPECT_EQ(SHBrowseForFolder(&info), nullptr);
    EXPECT_FALSE(SHGetPathFromIDList(nullptr, path));
    platform::seams::setFolderDialogAnswer({});
}

TEST(MfcQtFolderDialogTest, AcceptedFolderInTheSystemsForm)
{
    const HWND window = CreateWindowEx(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    QString title;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        dialog->setDirectory("/tmp");
        static_cast<QDialog*>(dialog)->accept();
    });
    const auto chosen = platform::mfc::showQtFolderDialog({nullptr, "Choose Path: ", BIF_RETURNONLYFSDIRS});
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, "\\tmp");
    EXPECT_EQ(title, "Choose Path: ");
    DestroyWindow(window);
}

} // namespace
