// Control classes: owner drawing of buttons, static pictures, combo-box texts and tool tips.
#include <mfc/controls.h>

// Owner-drawn buttons of a class that does not paint leave the control as the window layer drew it.
void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CButton::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result)
{
    if (message != WM_DRAWITEM)
        return FALSE;
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (result)
        *result = TRUE;
    return TRUE;
}

HBITMAP CStatic::SetBitmap(HBITMAP bitmap)
{
    return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
}

HBITMAP CStatic::GetBitmap() const { return reinterpret_cast<HBITMAP>(SendMessage(STM_GETIMAGE, IMAGE_BITMAP)); }

int CComboBox::GetLBText(int index, CString& text) const
{
    const auto length = static_cast<int>(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index)));
    if (length < 0) {
        text.Empty();
        return CB_ERR;
    }
    const auto copied = static_cast<int>(
        SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.GetBuffer(length))));
    text.ReleaseBuffer(copied < 0 ? 0 : copied);
    return copied;
}

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style)
{
    const HWND hwnd = ::CreateWindowEx(0, TOOLTIPS_CLASS, nullptr, WS_POPUP | style, 0, 0, 0, 0,
                                       parent ? parent->GetSafeHwnd() : nullptr, nullptr, nullptr, nullptr);
    if (!hwnd)
        return FALSE;
    if (!SubclassWindow(hwnd)) {
        ::DestroyWindow(hwnd);
        return FALSE;
    }
    return TRUE;
}

namespace {

TOOLINFO toolInfo(CWnd* wnd, LPCTSTR text, UINT_PTR id)
{
    TOOLINFO info{};
    info.cbSize = sizeof info;
    info.hwnd = wnd ? wnd->GetSafeHwnd() : nullptr;
    info.uId = id;
    info.lpszText = const_cast<LPSTR>(text);
    return info;
}

} // namespace

BOOL CToolTipCtrl::AddTool(CWnd* wnd, LPCTSTR text, LPCRECT rect, UINT_PTR id)
{
    TOOLINFO info = toolInfo(wnd, text, id);
    if (rect)
        info.rect = *rect;
    else if (wnd)
        wnd->GetClientRect(&info.rect);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&info)));
}

void CToolTipCtrl::UpdateTipText(LPCTSTR text, CWnd* wnd, UINT_PTR id)
{
    TOOLINFO info = toolInfo(wnd, text, id);
    SendMessage(TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&info));
}
