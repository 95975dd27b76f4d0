// Binding CWnd objects to windows: the permanent and borrowed maps, attaching and subclassing.
#include <mfc/app.h>
#include <mfc/wnd.h>

#include <unordered_map>

#include "temporaries.h"
#include "pre_translate.h"

namespace platform::mfc {
namespace {

std::unordered_map<HWND, CWnd*>& permanentMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

} // namespace

} // namespace platform::mfc

using namespace platform::mfc;

CWnd::~CWnd()
{
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
    if (!m_hWnd || m_bBorrowed)
        return;
    // A window outliving its object would call into freed memory: it goes with the object.
    const HWND hwnd = m_hWnd;
    if (::IsWindow(hwnd))
        ::DestroyWindow(hwnd);
    if (m_hWnd == hwnd)
        Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd)
{
    auto& map = permanentMap();
    const auto it = map.find(hwnd);
    return it == map.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    if (CWnd* bound = FromHandlePermanent(hwnd))
        return bound;
    return windowTemporaries().find(hwnd, [hwnd] {
        auto made = std::make_unique<CWnd>();
        made->m_hWnd = hwnd;
        made->m_bBorrowed = true;
        return made;
    });
}

void CWnd::bind(HWND hwnd)
{
    m_hWnd = hwnd;
    // A borrowed wrapper made before stays valid until the purge; FromHandle now gives this object.
    permanentMap()[hwnd] = this;
    installPreTranslateChain();
}

BOOL CWnd::Attach(HWND hwnd)
{
    if (m_hWnd || !::IsWindow(hwnd) || FromHandlePermanent(hwnd))
        return FALSE;
    bind(hwnd);
    return TRUE;
}

HWND CWnd::Detach()
{
    const HWND hwnd = m_hWnd;
    if (hwnd && !m_bBorrowed) {
        auto& map = permanentMap();
        const auto it = map.find(hwnd);
        if (it != map.end() && it->second == this)
            map.erase(it);
    }
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
    return hwnd;
}

BOOL CWnd::SubclassWindow(HWND hwnd)
{
    if (!Attach(hwnd))
        return FALSE;
    PreSubclassWindow();
    m_pfnSuper = reinterpret_cast<WNDPROC>(::SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    return parent ? SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id))) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (!m_hWnd || !m_pfnSuper)
        return nullptr;
    ::SetWindowLongPtr(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    return Detach();
}
