// Dialog data exchange between members and the controls of a dialog.
#include <mfc/app.h>
#include <mfc/ddx.h>
#include <mfc/dialog_manager.h>

#include <cerrno>
#include <cstdlib>

#include <win32/debug_output.h>

#include "dialog_state.h"

namespace {

// The index of each radio button of the group that starts at `first`, in template order.
template <typename Visit>
void forEachRadio(HWND dialog, HWND first, Visit visit)
{
    const auto controls = platform::mfc::dialogControls(dialog);
    bool inGroup = false;
    int index = 0;
    for (const auto& control : controls) {
        const auto style = static_cast<DWORD>(::GetWindowLong(control.hwnd, GWL_STYLE));
        if (control.hwnd == first)
            inGroup = true;
        else if (inGroup && (style & WS_GROUP))
            break;
        if (!inGroup)
            continue;
        const DWORD type = style & BS_TYPEMASK;
        if (platform::mfc::isButtonClass(control.className) && (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON))
            visit(control.hwnd, index++);
    }
}

} // namespace

HWND CDataExchange::PrepareCtrl(int id)
{
    const HWND control = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), id) : nullptr;
    if (!control) {
        OutputDebugString("Dialog data exchange: no control with this id\n");
        Fail();
    }
    return control;
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (control.GetSafeHwnd())
        return;
    const HWND hwnd = dx->PrepareCtrl(id);
    if (hwnd && !control.SubclassWindow(hwnd))
        dx->Fail();
}

void DDX_Text(CDataExchange* dx, int id, CString& value)
{
    const HWND control = dx->PrepareCtrl(id);
    if (!control)
        return;
    if (dx->m_bSaveAndValidate)
        CWnd::FromHandle(control)->GetWindowText(value);
    else
        ::SetWindowText(control, value);
}

void DDX_Text(CDataExchange* dx, int id, int& value)
{
    const HWND control = dx->PrepareCtrl(id);
    if (!control)
        return;
    CString text;
    if (!dx->m_bSaveAndValidate) {
        text.Format("%d", value);
        ::SetWindowText(control, text);
        return;
    }
    CWnd::FromHandle(control)->GetWindowText(text);
    char* end = nullptr;
    errno = 0;
    const long long number = std::strtoll(text, &end, 10);
    while (end && *end == ' ')
        ++end;
    if (text.IsEmpty() || !end || *end != '\0' || errno != 0 || number < INT32_MIN || number > INT32_MAX) {
        // The member keeps its value; the user is told and put back into the field.
        AfxMessageBox("Please enter a whole number.", MB_OK | MB_ICONEXCLAMATION);
        ::SetFocus(control);
        dx->Fail();
        return;
    }
    value = static_cast<int>(number);
}

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    const HWND control = dx->PrepareCtrl(id);
    if (!control)
        return;
    if (dx->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessage(control, BM_GETCHECK, 0, 0));
    else
        ::SendMessage(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* dx, int id, int& value)
{
    const HWND first = dx->PrepareCtrl(id);
    if (!first)
        return;
    const HWND dialog = dx->m_pDlgWnd->GetSafeHwnd();
    if (dx->m_bSaveAndValidate) {
        value = -1;
        forEachRadio(dialog, first, [&](HWND radio, int index) {
            if (value < 0 && ::SendMessage(radio, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = index;
        });
    } else {
        forEachRadio(dialog, first, [&](HWND radio, int index) {
            ::SendMessage(radio, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        });
    }
}
