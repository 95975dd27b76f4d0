// MessageBox on a Qt message box, answered by the message-box seam when a test installed one.
#include <QMessageBox>
#include <QPushButton>

#include <seams/message_box.h>
#include <win32/message_box.h>
#include <win32/message_loop.h>

#include "gui_thread.h"
#include "message_queue.h"
#include "text_codec.h"
#include "window.h"
#include "window_widget.h"

namespace platform::user {
namespace {

struct ButtonAnswer {
    QMessageBox::StandardButton button;
    int answer;
};

std::vector<ButtonAnswer> buttonsOf(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
        return {
            {QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case MB_RETRYCANCEL:
        return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    default:
        return {{QMessageBox::Ok, IDOK}};
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

// Shows the box and serves messages until it closes; 0 when WM_QUIT ends the wait.
int showBox(HWND owner, const QString& text, const QString& caption, UINT type) {
    QMessageBox box(iconOf(type), caption, text, QMessageBox::NoButton, widgetOf(topLevelOf(owner)));
    const std::vector<ButtonAnswer> buttons = buttonsOf(type);
    for (const ButtonAnswer& b : buttons)
        box.addButton(b.button);
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
    const QString text = toQString(lpText);
    const QString caption = lpCaption ? toQString(lpCaption) : QStringLiteral("Error");
    if (const platform::seams::MessageBoxAnswer& answer = platform::seams::messageBoxAnswer())
        return answer(platform::seams::MessageBoxCall{hWnd, toUtf8(text), toUtf8(caption), uType});
    int result = 0;
    // Like a common dialog: the owner is disabled while the box is up, then activated with its focus back.
    const auto show = [&] { runOwnedDialog(hWnd, [&] { result = showBox(hWnd, text, caption, uType); }); };
    if (!onGuiThread() && runOnGuiThread(show))
        return result;
    if (!ensureApplication() || !onGuiThread())
        return 0;
    show();
    return result;
}

int MessageBoxEx(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType, WORD) {
    return MessageBox(hWnd, lpText, lpCaption, uType);
}
