// The dialog manager's keyboard: Esc as Cancel, Enter as the focused or default push button.
#include <mfc/dialog_manager.h>

#include "dialog_state.h"

namespace platform::mfc {
namespace {

bool belongsTo(HWND dialog, HWND hwnd)
{
    for (HWND h = hwnd; h && IsWindow(h); h = GetParent(h)) {
        if (h == dialog)
            return true;
        if (!(GetWindowLong(h, GWL_STYLE) & WS_CHILD))
            return false;
    }
    return false;
}

bool isPushButton(const DialogState& state, HWND hwnd)
{
    for (const DialogControl& control : state.controls) {
        if (control.hwnd == hwnd && isButtonClass(control.className)) {
            const DWORD type = static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE)) & BS_TYPEMASK;
            return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
        }
    }
    return false;
}

// The id that Enter presses: the focused push button, the default button, else IDOK.
int enterId(HWND dialog, const DialogState& state)
{
    const HWND focus = GetFocus();
    if (focus && belongsTo(dialog, focus) && isPushButton(state, focus))
        return GetDlgCtrlID(focus);
    const auto def = static_cast<DWORD>(SendMessage(dialog, DM_GETDEFID, 0, 0));
    return HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK;
}

void pressButton(HWND dialog, int id)
{
    const HWND button = GetDlgItem(dialog, id);
    // A disabled button takes the key without a command.
    if (button && !IsWindowEnabled(button))
        return;
    SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

} // namespace

} // namespace platform::mfc

using namespace platform::mfc;

BOOL IsDialogMessage(HWND dialog, LPMSG msg)
{
    const auto state = dialogState(dialog);
    if (!state || !msg || !belongsTo(dialog, msg->hwnd))
        return FALSE;
    const bool dialogKey = msg->wParam == VK_ESCAPE || msg->wParam == VK_RETURN;
    if (msg->message == WM_CHAR && (msg->wParam == 0x1B || msg->wParam == '\r'))
        return TRUE;
    if (msg->message != WM_KEYDOWN || !dialogKey)
        return FALSE;
    pressButton(dialog, msg->wParam == VK_ESCAPE ? IDCANCEL : enterId(dialog, *state));
    return TRUE;
}
