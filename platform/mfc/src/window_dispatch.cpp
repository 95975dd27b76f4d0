// Message dispatch: the framework's window procedure, message-map routing, Default and pre-translation.
#include <mfc/app.h>
#include <mfc/wnd.h>

#include <win32/message_loop.h>

#include "temporaries.h"
#include "pre_translate.h"

namespace platform::mfc {
namespace {

// The message whose handler runs now (innermost); message 0 outside any handler.
struct CurrentMessage {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

CurrentMessage current;
int dispatchDepth = 0; // window procedures of framework objects running now

// Each window from the message's own up to its top-level window, innermost first, may swallow it.
bool preTranslateChain(MSG& msg)
{
    // Outside every handler no borrowed wrapper can still be in use.
    if (dispatchDepth == 0)
        purgeTemporaries();
    for (HWND hwnd = msg.hwnd; hwnd && ::IsWindow(hwnd);) {
        if (CWnd* wnd = CWnd::FromHandlePermanent(hwnd); wnd && wnd->PreTranslateMessage(&msg))
            return true;
        if (!::IsWindow(hwnd) || !(::GetWindowLong(hwnd, GWL_STYLE) & WS_CHILD))
            break;
        hwnd = ::GetParent(hwnd);
    }
    return false;
}

} // namespace

void installPreTranslateChain()
{
    static bool installed = false;
    if (!installed) {
        installed = true;
        platform::user::setPreTranslateHook(preTranslateChain);
    }
}

} // namespace platform::mfc

using namespace platform::mfc;

LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (!wnd)
        return ::DefWindowProc(hwnd, message, wParam, lParam);
    const CurrentMessage outer = current;
    current = {hwnd, message, wParam, lParam};
    ++dispatchDepth;
    const LRESULT result = wnd->WindowProc(message, wParam, lParam);
    --dispatchDepth;
    current = outer;
    if (message == WM_NCDESTROY) {
        // The window is gone; its object lets go of it and may delete itself. The application no longer
        // has a main window when it was this one.
        if (CWnd* bound = CWnd::FromHandlePermanent(hwnd)) {
            bound->Detach();
            if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == bound)
                app->m_pMainWnd = nullptr;
            bound->PostNcDestroy();
        }
    }
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProc(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    if (current.hwnd != m_hWnd || !m_hWnd)
        return 0;
    return DefWindowProc(current.message, current.wParam, current.lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *result = 0;
        return TRUE;
    }
    const bool ctlColor = message >= WM_CTLCOLOREDIT && message <= WM_CTLCOLORSTATIC;
    if (const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(ctlColor ? WM_CTLCOLOR : message, 0, 0)) {
        *result = entry->pfn(this, message, wParam, lParam);
        return TRUE;
    }
    if (message == WM_DRAWITEM) {
        OnDrawItem(static_cast<int>(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        *result = TRUE;
        return TRUE;
    }
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) { return OnCmdMsg(LOWORD(wParam), HIWORD(wParam)); }

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT item)
{
    LRESULT result = 0;
    CWnd* control = item ? FromHandlePermanent(item->hwndItem) : nullptr;
    if (control && control->OnChildNotify(WM_DRAWITEM, current.wParam, reinterpret_cast<LPARAM>(item), &result))
        return;
    Default();
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }
