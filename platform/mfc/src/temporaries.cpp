// The maps of borrowed wrappers and their purge.
#include "temporaries.h"

#include <mfc/dc.h>
#include <mfc/wnd.h>

namespace platform::mfc {

TemporaryMap<HWND, CWnd>& windowTemporaries()
{
    static TemporaryMap<HWND, CWnd> map;
    return map;
}

TemporaryMap<HDC, CDC>& dcTemporaries()
{
    static TemporaryMap<HDC, CDC> map;
    return map;
}

TemporaryMap<std::pair<HGDIOBJ, std::type_index>, CGdiObject>& gdiTemporaries()
{
    static TemporaryMap<std::pair<HGDIOBJ, std::type_index>, CGdiObject> map;
    return map;
}

void purgeTemporaries()
{
    windowTemporaries().clear();
    dcTemporaries().clear();
    gdiTemporaries().clear();
}

} // namespace platform::mfc
