// The dialog manager: the dialog class, building dialogs from templates, modal loops and EndDialog.
#include <mfc/dialog_manager.h>

#include <algorithm>
#include <cstdint>
#include <strings.h>
#include <unordered_map>

#include <win32/gdi.h>
#include <win32/kernel_base.h>
#include <win32/message_loop.h>

#include <seams/dialog_watch.h>

#include "dialog_state.h"

namespace platform::mfc {
namespace {

std::unordered_map<HWND, std::shared_ptr<DialogState>>& states()
{
    static std::unordered_map<HWND, std::shared_ptr<DialogState>> map;
    return map;
}

// Handed to the dialog class through CreateWindowEx.
struct DialogCreation {
    DLGPROC proc;
};

bool registerDialogClass()
{
    static const bool registered = [] {
        WNDCLASS cls{};
        cls.lpfnWndProc = DefDlgProc;
        cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
        cls.hbrBackground = CreateSolidBrush(RGB(240, 240, 240));
        cls.lpszClassName = WC_DIALOG;
        return RegisterClass(&cls) != 0;
    }();
    return registered;
}

// Messages whose dialog-procedure result is the message's result.
bool returnsDirectly(UINT message)
{
    return message == WM_INITDIALOG || message == WM_QUERYDRAGICON ||
           (message >= WM_CTLCOLOREDIT && message <= WM_CTLCOLORSTATIC);
}

HFONT templateFont(const DialogTemplate& dialog)
{
    if (dialog.fontFace.empty() || dialog.pointSize <= 0)
        return nullptr;
    // Points at 96 pixels per inch, as character height.
    const int height = -(dialog.pointSize * 96 + 36) / 72;
    return CreateFont(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, dialog.fontFace.c_str());
}

bool makeControls(HWND hwnd, const DialogTemplate& dialog, DialogState& state)
{
    for (const DialogItem& item : dialog.items) {
        const HWND control = CreateWindowEx(
            item.exStyle, item.className.c_str(), item.text.c_str(), item.style | WS_CHILD,
            dialogUnitsToPixelsX(item.x), dialogUnitsToPixelsY(item.y), dialogUnitsToPixelsX(item.cx),
            dialogUnitsToPixelsY(item.cy), hwnd, reinterpret_cast<HMENU>(static_cast<intptr_t>(item.id)), nullptr,
            nullptr);
        if (!control)
            return false;
        state.controls.push_back({control, item.className});
        if (state.font)
            SendMessage(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
        if (state.defaultId == 0 && isButtonClass(item.className) && (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            state.defaultId = item.id;
    }
    return true;
}

// A dialog that its initialisation left where the template put it stands centred over its owner, inside
// the screen.
void centreOverOwner(HWND dialog, HWND owner, const RECT& placed)
{
    RECT now{};
    RECT over{};
    if (!owner || !GetWindowRect(dialog, &now) || !GetWindowRect(owner, &over))
        return;
    if (now.left != placed.left || now.top != placed.top)
        return;
    const int width = now.right - now.left;
    const int height = now.bottom - now.top;
    const int x = (over.left + over.right - width) / 2;
    const int y = (over.top + over.bottom - height) / 2;
    const int maxX = GetSystemMetrics(SM_CXSCREEN) - width;
    const int maxY = GetSystemMetrics(SM_CYSCREEN) - height;
    SetWindowPos(dialog, nullptr, std::max(0, std::min(x, maxX)), std::max(0, std::min(y, maxY)), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND firstTabStop(const DialogState& state)
{
    for (const DialogControl& control : state.controls) {
        const auto style = static_cast<DWORD>(GetWindowLong(control.hwnd, GWL_STYLE));
        if ((style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED))
            return control.hwnd;
    }
    return nullptr;
}

} // namespace

bool isButtonClass(const std::string& className) { return strcasecmp(className.c_str(), WC_BUTTON) == 0; }

std::shared_ptr<DialogState> dialogState(HWND dialog)
{
    const auto it = states().find(dialog);
    return it == states().end() ? nullptr : it->second;
}

std::vector<DialogControl> dialogControls(HWND dialog)
{
    const auto state = dialogState(dialog);
    return state ? state->controls : std::vector<DialogControl>{};
}

HWND createDialog(const DialogTemplate& dialog, HWND owner, DLGPROC proc, LPARAM param,
                  const std::function<void(HWND)>& created)
{
    if (!registerDialogClass())
        return nullptr;
    POINT origin{dialogUnitsToPixelsX(dialog.x), dialogUnitsToPixelsY(dialog.y)};
    if (owner)
        ClientToScreen(owner, &origin);
    DialogCreation creation{proc};
    const HWND hwnd = CreateWindowEx(dialog.exStyle, WC_DIALOG, dialog.caption.c_str(), dialog.style & ~WS_VISIBLE,
                                     origin.x, origin.y, dialogUnitsToPixelsX(dialog.cx),
                                     dialogUnitsToPixelsY(dialog.cy), owner, nullptr, nullptr, &creation);
    if (!hwnd)
        return nullptr;
    if (created)
        created(hwnd);
    // The caption through WM_SETTEXT as well: the window layer shows a title set that way.
    SetWindowText(hwnd, dialog.caption.c_str());
    const auto state = dialogState(hwnd);
    state->font = templateFont(dialog);
    if (state->font)
        SendMessage(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(state->font), FALSE);
    if (!makeControls(hwnd, dialog, *state)) {
        const DWORD error = GetLastError();
        DestroyWindow(hwnd);
        SetLastError(error);
        return nullptr;
    }
    const HWND focus = firstTabStop(*state);
    RECT placed{};
    GetWindowRect(hwnd, &placed);
    if (SendMessage(hwnd, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), param) && focus && IsWindow(focus))
        SetFocus(focus);
    if (!IsWindow(hwnd))
        return nullptr;
    centreOverOwner(hwnd, owner, placed);
    if ((dialog.style & WS_VISIBLE) && !state->ended)
        ShowWindow(hwnd, SW_SHOW);
    return hwnd;
}

INT_PTR runModalDialog(HWND dialog, HWND owner)
{
    const auto state = dialogState(dialog);
    if (!state)
        return -1;
    const bool disableOwner = owner && IsWindow(owner) && IsWindowEnabled(owner);
    if (disableOwner)
        EnableWindow(owner, FALSE);
    bool ended = state->ended;
    if (!ended) {
        ShowWindow(dialog, SW_SHOW);
        ended = platform::user::runModalLoop([&] { return state->ended || !IsWindow(dialog); }) && state->ended;
    }
    if (disableOwner && IsWindow(owner))
        EnableWindow(owner, TRUE);
    if (IsWindow(dialog))
        ShowWindow(dialog, SW_HIDE);
    return ended ? state->result : -1;
}

} // namespace platform::mfc

using namespace platform::mfc;

LRESULT CALLBACK DefDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
        const auto* creation = cs ? static_cast<const DialogCreation*>(cs->lpCreateParams) : nullptr;
        auto state = std::make_shared<DialogState>();
        if (creation)
            state->proc = creation->proc;
        states()[dialog] = std::move(state);
    }
    const auto state = dialogState(dialog);
    if (state && state->proc) {
        const INT_PTR handled = state->proc(dialog, message, wParam, lParam);
        if (handled)
            return returnsDirectly(message) ? handled : 0;
    }
    switch (message) {
    case WM_CLOSE: {
        const HWND cancel = GetDlgItem(dialog, IDCANCEL);
        if (!cancel || IsWindowEnabled(cancel))
            SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
        return 0;
    }
    case DM_GETDEFID:
        return state && state->defaultId ? MAKELONG(state->defaultId, DC_HASDEFID) : 0;
    case DM_SETDEFID:
        if (state)
            state->defaultId = static_cast<int>(wParam);
        return TRUE;
    case WM_NCDESTROY:
        if (state) {
            if (state->font)
                DeleteObject(state->font);
            states().erase(dialog);
        }
        return DefWindowProc(dialog, message, wParam, lParam);
    default:
        return DefWindowProc(dialog, message, wParam, lParam);
    }
}

BOOL EndDialog(HWND dialog, INT_PTR result)
{
    const auto state = dialogState(dialog);
    if (!state)
        return FALSE;
    state->ended = true;
    state->result = result;
    return TRUE;
}

HWND CreateDialogParam(HINSTANCE, LPCSTR templateName, HWND owner, DLGPROC proc, LPARAM param)
{
    const DialogTemplate* dialog = findDialogTemplate(templateName);
    if (!dialog) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    const HWND created = createDialog(*dialog, owner, proc, param);
    const bool named = (reinterpret_cast<uintptr_t>(templateName) >> 16) != 0;
    if (created && named)
        if (const platform::seams::DialogWatch& watch = platform::seams::dialogWatch())
            watch(created, templateName);
    return created;
}

INT_PTR DialogBoxParam(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC proc, LPARAM param)
{
    const HWND dialog = CreateDialogParam(instance, templateName, owner, proc, param);
    if (!dialog)
        return -1;
    const INT_PTR result = runModalDialog(dialog, owner);
    DestroyWindow(dialog);
    return result;
}
