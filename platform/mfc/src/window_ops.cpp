// CWnd operations on its window: destruction, messages, relations, geometry, style, icons, text, DCs.
#include <mfc/ddx.h>
#include <mfc/wnd.h>

#include <map>

#ifndef WM_SETICON
#define WM_SETICON 0x0080
#endif

namespace {

struct Icons {
    HICON big = nullptr;
    HICON small = nullptr;
};

// Icons per window; the window layer has no use for them beyond this record.
std::map<HWND, Icons>& iconMap()
{
    static std::map<HWND, Icons> map;
    return map;
}

} // namespace

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessage(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessage(m_hWnd, message, wParam, lParam);
}

// There is no help system: help requests end here.
void CWnd::WinHelp(DWORD_PTR, UINT) {}

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return !dx.Failed();
}

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }

CWnd* CWnd::GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }

int CWnd::GetDlgItemText(int id, CString& text) const
{
    const CWnd* item = GetDlgItem(id);
    if (!item) {
        text.Empty();
        return 0;
    }
    item->GetWindowText(text);
    return text.GetLength();
}

CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }

CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }

CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }

CWnd* CWnd::GetCapture() { return FromHandle(::GetCapture()); }

void CWnd::ScreenToClient(LPRECT rect) const
{
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&rect->left));
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&rect->right));
}

void CWnd::ClientToScreen(LPRECT rect) const
{
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&rect->left));
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&rect->right));
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint)
{
    ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint)
{
    MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

BOOL CWnd::SetWindowPos(const CWnd* after, int x, int y, int cx, int cy, UINT flags)
{
    return ::SetWindowPos(m_hWnd, after ? after->m_hWnd : nullptr, x, y, cx, cy, flags);
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags)
{
    const DWORD old = GetStyle();
    const DWORD style = (old & ~remove) | add;
    if (style == old)
        return FALSE;
    ::SetWindowLong(m_hWnd, GWL_STYLE, static_cast<LONG>(style));
    if (flags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

HICON CWnd::SetIcon(HICON icon, BOOL big)
{
    auto& map = iconMap();
    std::erase_if(map, [](const auto& entry) { return !::IsWindow(entry.first); });
    if (!::IsWindow(m_hWnd))
        return nullptr;
    HICON& slot = big ? map[m_hWnd].big : map[m_hWnd].small;
    const HICON old = slot;
    slot = icon;
    ::SendMessage(m_hWnd, WM_SETICON, big ? 1 : 0, reinterpret_cast<LPARAM>(icon));
    return old;
}

HICON CWnd::GetIcon(BOOL big) const
{
    const auto it = iconMap().find(m_hWnd);
    if (it == iconMap().end())
        return nullptr;
    return big ? it->second.big : it->second.small;
}

void CWnd::GetWindowText(CString& text) const
{
    const int length = ::GetWindowTextLength(m_hWnd);
    ::GetWindowText(m_hWnd, text.GetBuffer(length), length + 1);
    text.ReleaseBuffer();
}

CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }

int CWnd::ReleaseDC(CDC* dc) { return dc ? ::ReleaseDC(m_hWnd, dc->m_hDC) : 0; }
