// The Qt file and folder dialogs: filters in Qt's form, paths between the system's form and Linux.
#include "file_dialog_qt.h"

#include <QApplication>
#include <QFileDialog>
#include <QPixmapCache>
#include <QStringList>

#include <algorithm>
#include <vector>

#include <win32/codepage.h>
#include <win32/message_loop.h>
#include <win32/native_path.h>

#include <mfc/app.h>
#include <mfc/file_dialog.h>
#include <mfc/wnd.h>

#include "file_icons_by_name.h"
#include "text_scan.h"

namespace platform::mfc {
namespace {

QString toQt(const std::string& text)
{
    return QString::fromStdString(isValidUtf8(text) ? text : platform::gbkToUtf8(text));
}

std::vector<std::string> splitBars(std::string_view text)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < text.size()) {
        const size_t bar = text.find('|', start);
        const size_t end = bar == std::string_view::npos ? text.size() : bar;
        parts.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// Without the GUI (no window was ever made) there is no dialog to show: the user could not choose.
bool haveGui() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

// "/home/user/x" -> "\home\user\x", or no value for an empty (cancelled) choice.
std::optional<std::string> systemPath(const QString& chosen)
{
    if (chosen.isEmpty())
        return std::nullopt;
    std::string path = chosen.toStdString();
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// A dialog without an owner window belongs to the program's main window, as the framework's dialogs do.
HWND ownerOf(HWND owner)
{
    if (owner)
        return owner;
    const CWnd* main = AfxGetMainWnd();
    return main ? main->GetSafeHwnd() : nullptr;
}

// Qt's own dialog, which takes an icon provider, listing links as they are: no folder stalls the list.
QFileDialog::Options listingOptions() { return QFileDialog::DontUseNativeDialog | QFileDialog::DontResolveSymlinks; }

// Runs the dialog for `owner`: the chosen path, or empty for Cancel. Each dialog makes its icons anew, and
// Qt's pixmap cache keeps every scaled icon pixmap under its icon's key, up to 10 MiB: once the dialog has
// closed those keys are never asked for again, so the cache is emptied rather than left to fill with them.
QString chosenIn(QFileDialog& dialog, HWND owner)
{
    FileIconsByName icons;
    dialog.setIconProvider(&icons);
    QString chosen;
    platform::user::runOwnedDialog(ownerOf(owner), [&] {
        if (dialog.exec() == QDialog::Accepted)
            chosen = dialog.selectedFiles().value(0);
    });
    QPixmapCache::clear();
    return chosen;
}

} // namespace

std::string qtFilter(std::string_view filter)
{
    const auto parts = splitBars(filter);
    std::string out;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string name = parts[i];
        if (name.empty())
            break;
        if (const size_t open = name.rfind('('); open != std::string::npos && name.back() == ')')
            name.erase(open);
        while (!name.empty() && name.back() == ' ')
            name.pop_back();
        std::string patterns = parts[i + 1];
        std::replace(patterns.begin(), patterns.end(), ';', ' ');
        if (!out.empty())
            out += ";;";
        out += name + " (" + patterns + ")";
    }
    return out;
}

std::optional<std::string> showQtFileDialog(const platform::seams::FileDialogCall& call, int filterIndex)
{
    if (!haveGui())
        return std::nullopt;
    const QStringList filters = toQt(qtFilter(call.filter)).split(";;", Qt::SkipEmptyParts);
    const QString selected = filterIndex >= 1 && filterIndex <= filters.size() ? filters[filterIndex - 1] : QString();
    const QString title = call.title.empty() ? QString(call.open ? "Open" : "Save As") : toQt(call.title);
    const QString start = call.initialName.empty() ? QString() : toQt(platform::toNativePath(call.initialName));
    QFileDialog dialog(nullptr, title, start, filters.join(";;"));
    dialog.setFileMode(call.open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setAcceptMode(call.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setOptions(listingOptions() |
                      (call.open || (call.flags & OFN_OVERWRITEPROMPT) ? QFileDialog::Options()
                                                                       : QFileDialog::DontConfirmOverwrite));
    if (!selected.isEmpty())
        dialog.selectNameFilter(selected);
    return systemPath(chosenIn(dialog, call.owner));
}

std::optional<std::string> showQtFolderDialog(const platform::seams::FolderDialogCall& call)
{
    if (!haveGui())
        return std::nullopt;
    QFileDialog dialog(nullptr, toQt(call.title));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(listingOptions() | QFileDialog::ShowDirsOnly);
    return systemPath(chosenIn(dialog, call.owner));
}

} // namespace platform::mfc
