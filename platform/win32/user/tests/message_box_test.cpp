// MessageBox: the test seam's record and answer, and the real Qt box with messages served while it is open.
#include "user_fixture.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>
#include <thread>

#include <seams/language.h>
#include <seams/message_box.h>

namespace platform::user::test {
namespace {

using MessageBoxTest = UserTest;

TEST_F(MessageBoxTest, SeamRecordsTextsAsUtf8AndAnswers) {
    platform::seams::MessageBoxRecorder recorder(IDCANCEL);
    HWND owner = makeWindow(WS_POPUP, 0, 0, 10, 10);
    EXPECT_EQ(MessageBox(owner, "The necessary file has been remove,Program can not continue! ", "Orvanel",
                         MB_OKCANCEL | MB_ICONWARNING),
              IDCANCEL);
    EXPECT_EQ(MessageBox(nullptr, "\xB4\xED\xCE\xF3", nullptr, MB_OK), IDCANCEL); // "错误" in code page 936
    int fromThread = 0;
    std::thread other([&] { fromThread = MessageBoxEx(nullptr, "Initial Error", "Warning", MB_OK, 0); });
    other.join();
    EXPECT_EQ(fromThread, IDCANCEL);
    const std::vector<platform::seams::MessageBoxCall> calls = recorder.calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].owner, owner);
    EXPECT_EQ(calls[0].text, "The necessary file has been remove,Program can not continue! ");
    EXPECT_EQ(calls[0].caption, "Orvanel");
    EXPECT_EQ(calls[0].style, static_cast<UINT>(MB_OKCANCEL | MB_ICONWARNING));
    EXPECT_EQ(calls[1].text, "错误");
    EXPECT_EQ(calls[1].caption, "Error");
    EXPECT_EQ(calls[2].caption, "Warning");
}

// Without the seam a real box opens; posted messages still reach windows while it waits for the user.
TEST_F(MessageBoxTest, RealBoxAnswersWithThePressedButtonAndKeepsServingMessages) {
    HWND w = makeWindow(WS_POPUP, 0, 0, 10, 10);
    PostMessage(w, WM_USER, 0, 0);
    QMessageBox* shown = nullptr;
    std::function<void()> press = [&] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(top);
                box && box->isVisible() && !seenOf(WM_USER).empty()) {
                shown = box;
                box->button(QMessageBox::No)->click();
                return;
            }
        }
        QTimer::singleShot(1, press);
    };
    QTimer::singleShot(0, press);
    EXPECT_EQ(MessageBox(w, "Save?", "Orvanel", MB_YESNO | MB_ICONQUESTION), IDNO);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(seenOf(WM_USER).size(), 1u);
}

// The texts of the open box's buttons, left to right, once it shows; the box is then answered with its
// last button.
std::function<void()> readButtons(QStringList& texts) {
    return [&texts] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) {
                for (QAbstractButton* button : box->buttons())
                    texts << button->text();
                box->buttons().back()->click();
                return;
            }
        QTimer::singleShot(1, readButtons(texts));
    };
}

// On a Chinese system the buttons read in Chinese; MessageBoxEx's language, when given, decides instead.
TEST_F(MessageBoxTest, ButtonTextsFollowTheLanguage) {
    struct Case {
        WORD system;
        WORD requested; // MessageBoxEx's language; 0 for the system's
        UINT type;
        QSet<QString> texts;
    };
    const Case cases[] = {
        {0x0804, 0, MB_OKCANCEL, {QStringLiteral(u"确定"), QStringLiteral(u"取消")}},
        {0x0804, 0, MB_YESNO, {QStringLiteral(u"是"), QStringLiteral(u"否")}},
        {0x0804, 0x0409, MB_OK, {QStringLiteral("OK")}},
        {0x0409, 0x0804, MB_RETRYCANCEL, {QStringLiteral(u"重试"), QStringLiteral(u"取消")}},
        {0x0409, 0, MB_OKCANCEL, {QStringLiteral("OK"), QStringLiteral("Cancel")}},
    };
    for (const Case& c : cases) {
        platform::seams::setSystemLanguage(c.system);
        QStringList texts;
        QTimer::singleShot(0, readButtons(texts));
        MessageBoxEx(nullptr, "Text", "Orvanel", c.type, c.requested);
        for (QString& text : texts)
            text.remove('&');
        EXPECT_EQ(QSet<QString>(texts.begin(), texts.end()), c.texts) << texts.join(',').toStdString();
    }
    platform::seams::setSystemLanguage(std::nullopt);
}

} // namespace
} // namespace platform::user::test
