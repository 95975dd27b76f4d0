// MessageBox on a Qt message box, answered by the message-box seam when a test installed one.
#include <QMessageBox>
#include <QPushButton>

#include <seams/message_box.h>
#include <win32/language.h>
#include <win32/message_box.h>
#include <win32/message_loop.h>

#include "gui_thread.h"
#include "message_queue.h"
#include "text_codec.h"
#include "window.h"
#include "window_widget.h"

namespace platform::user {
namespace {

constexpr WORD kChinese = 0x0804;

struct ButtonAnswer {
    QMessageBox::StandardButton button;
    int answer;
    const char* chinese; // the button's text on a Chinese system
};

constexpr ButtonAnswer kOk{QMessageBox::Ok, IDOK, "确定"};
constexpr ButtonAnswer kCancel{QMessageBox::Cancel, IDCANCEL, "取消"};
constexpr ButtonAnswer kAbort{QMessageBox::Abort, IDABORT, "中止"};
constexpr ButtonAnswer kRetry{QMessageBox::Retry, IDRETRY, "重试"};
constexpr ButtonAnswer kIgnore{QMessageBox::Ignore, IDIGNORE, "忽略"};
constexpr ButtonAnswer kYes{QMessageBox::Yes, IDYES, "是"};
constexpr ButtonAnswer kNo{QMessageBox::No, IDNO, "否"};

std::vector<ButtonAnswer> buttonsOf(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {kOk, kCancel};
    case MB_ABORTRETRYIGNORE:
        return {kAbort, kRetry, kIgnore};
    case MB_YESNOCANCEL:
        return {kYes, kNo, kCancel};
    case MB_YESNO:
        return {kYes, kNo};
    case MB_RETRYCANCEL:
        return {kRetry, kCancel};
    default:
        return {kOk};
    }
}

QMessageBox::Icon iconOf(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONASTERISK:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// Shows the box, its buttons in the language `language`, and serves messages until it closes; 0 when
// WM_QUIT ends the wait.
int showBox(HWND owner, const QString& text, const QString& caption, UINT type, WORD language) {
    QMessageBox box(iconOf(type), caption, text, QMessageBox::NoButton, widgetOf(topLevelOf(owner)));
    const std::vector<ButtonAnswer> buttons = buttonsOf(type);
    for (const ButtonAnswer& b : buttons) {
        QPushButton* added = box.addButton(b.button);
        if (language == kChinese)
            added->setText(QString::fromUtf8(b.chinese));
    }
    const size_t defaultIndex = (type & MB_DEFMASK) >> 8;
    if (defaultIndex < buttons.size())
        box.setDefaultButton(buttons[defaultIndex].button);
    box.setWindowModality(Qt::ApplicationModal);
    bool closed = false;
    QObject::connect(&box, &QMessageBox::finished, [&] { closed = true; });
    box.show();
    if (!pumpUntil([&] { return closed; }, false))
        return 0;
    const QMessageBox::StandardButton pressed = box.standardButton(box.clickedButton());
    for (const ButtonAnswer& b : buttons) {
        if (b.button == pressed)
            return b.answer;
    }
    return 0;
}

} // namespace

} // namespace platform::user

using namespace platform::user;

int MessageBox(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    return MessageBoxEx(hWnd, lpText, lpCaption, uType, 0);
}

int MessageBoxEx(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType, WORD wLanguageId) {
    const WORD language = wLanguageId != 0 ? wLanguageId : GetSystemDefaultLangID();
    const QString text = toQString(lpText);
    const QString caption = lpCaption ? toQString(lpCaption) : QStringLiteral("Error");
    if (const platform::seams::MessageBoxAnswer& answer = platform::seams::messageBoxAnswer())
        return answer(platform::seams::MessageBoxCall{hWnd, toUtf8(text), toUtf8(caption), uType});
    int result = 0;
    // Like a common dialog: the owner is disabled while the box is up, then activated with its focus back.
    const auto show = [&] {
        runOwnedDialog(hWnd, [&] { result = showBox(hWnd, text, caption, uType, language); });
    };
    if (!onGuiThread() && runOnGuiThread(show))
        return result;
    if (!ensureApplication() || !onGuiThread())
        return 0;
    show();
    return result;
}
