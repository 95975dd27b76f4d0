// Memory DCs, window-surface DCs and the DC state setters.
#include "canvas.h"
#include "handle_table.h"
#include "selection.h"

#include <win32/gdi_dc.h>

using namespace platform::gdi;

namespace {

// Creates a DC, fills its default slots and enters it in the table.
HDC enterDc(std::shared_ptr<DeviceContext> dc) {
    HGDIOBJ handle = addObject(dc);
    std::lock_guard guard(tableMutex());
    selectDefaultsLocked(*dc);
    return static_cast<HDC>(handle);
}

// Runs `change` on the DC's state and returns its result, or `failure` for a stale DC.
template <class T, class F>
T changeState(HDC hdc, T failure, F change) {
    auto dc = findDc(hdc);
    return dc ? change(*dc) : failure;
}

template <class T>
T exchange(T& slot, T value) {
    T old = slot;
    slot = value;
    return old;
}

} // namespace

HDC CreateCompatibleDC(HDC compatible) {
    if (compatible && !findDc(compatible))
        return nullptr;
    return enterDc(std::make_shared<DeviceContext>());
}

BOOL DeleteDC(HDC hdc) {
    auto dc = findDc(hdc);
    if (!dc)
        return FALSE;
    if (dc->surface) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::lock_guard guard(tableMutex());
    releaseDcLocked(*dc);
    return TRUE;
}

namespace platform::gdi {

HDC CreateWindowSurfaceDC(WindowSurface* surface, const RECT& clip) {
    if (!surface) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto dc = std::make_shared<DeviceContext>();
    dc->surface = surface;
    dc->surfaceClip = clip;
    return enterDc(std::move(dc));
}

BOOL ReleaseWindowSurfaceDC(HDC hdc) {
    auto dc = findDc(hdc);
    if (!dc || !dc->surface) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    {
        std::lock_guard guard(tableMutex());
        releaseDcLocked(*dc);
    }
    if (!rectEmpty(dc->drawn) && dc->surface->onDrawn)
        dc->surface->onDrawn(dc->drawn);
    return TRUE;
}

} // namespace platform::gdi

int SetBkMode(HDC hdc, int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return changeState(hdc, 0, [mode](DeviceContext& dc) { return exchange(dc.bkMode, mode); });
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
    return changeState(hdc, CLR_INVALID, [color](DeviceContext& dc) { return exchange(dc.bkColor, color & 0xFFFFFFu); });
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
    return changeState(hdc, CLR_INVALID, [color](DeviceContext& dc) { return exchange(dc.textColor, color & 0xFFFFFFu); });
}

int SetROP2(HDC hdc, int rop2) {
    if (rop2 < R2_BLACK || rop2 > R2_WHITE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return changeState(hdc, 0, [rop2](DeviceContext& dc) { return exchange(dc.rop2, rop2); });
}

int SetStretchBltMode(HDC hdc, int mode) {
    if (mode < BLACKONWHITE || mode > COLORONCOLOR) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return changeState(hdc, 0, [mode](DeviceContext& dc) { return exchange(dc.stretchMode, mode); });
}
