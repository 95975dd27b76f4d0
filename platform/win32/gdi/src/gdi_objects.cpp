// Pens, brushes, stock objects, SelectObject, DeleteObject and GetObject.
#include <cstring>

#include "handle_table.h"
#include "selection.h"

using namespace platform::gdi;

namespace platform::gdi {
namespace {

// Moves `slot` to `object`, keeping the counts; returns the handle that was there.
template <class T>
HGDIOBJ swapLocked(std::shared_ptr<T>& slot, const std::shared_ptr<GdiObject>& object) {
    HGDIOBJ old = slot ? slot->handle : nullptr;
    if (slot)
        --slot->selections;
    slot = std::static_pointer_cast<T>(object);
    if (slot)
        ++slot->selections;
    return old;
}

HGDIOBJ selectBitmapLocked(DeviceContext& dc, const std::shared_ptr<GdiObject>& object) {
    auto bitmap = std::static_pointer_cast<Bitmap>(object);
    if (dc.surface || (!bitmap->stock && bitmap->selectedIn && bitmap->selectedIn != dc.handle)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (dc.bitmap && !dc.bitmap->stock)
        dc.bitmap->selectedIn = nullptr;
    if (!bitmap->stock)
        bitmap->selectedIn = static_cast<HDC>(dc.handle);
    return swapLocked(dc.bitmap, object);
}

} // namespace

void selectDefaultsLocked(DeviceContext& dc) {
    swapLocked(dc.pen, stockObject(BLACK_PEN));
    swapLocked(dc.brush, stockObject(WHITE_BRUSH));
    swapLocked(dc.font, stockObject(SYSTEM_FONT));
    if (!dc.surface)
        swapLocked(dc.bitmap, stockBitmap());
}

void releaseDcLocked(DeviceContext& dc) {
    swapLocked(dc.pen, nullptr);
    swapLocked(dc.brush, nullptr);
    swapLocked(dc.font, nullptr);
    if (dc.bitmap && !dc.bitmap->stock)
        dc.bitmap->selectedIn = nullptr;
    swapLocked(dc.bitmap, nullptr);
    removeObjectLocked(dc.handle);
}

} // namespace platform::gdi

HGDIOBJ GetStockObject(int index) {
    auto object = stockObject(index);
    if (!object) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return object->handle;
}

namespace {
constexpr int kMaxPenWidth = 256;
}

HPEN CreatePen(int style, int width, COLORREF color) {
    if (width < 0 || width > kMaxPenWidth || (style != PS_SOLID && style != PS_DASH && style != PS_DOT && style != PS_NULL)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return static_cast<HPEN>(addObject(std::make_shared<Pen>(style, width, color)));
}

HBRUSH CreateSolidBrush(COLORREF color) {
    return static_cast<HBRUSH>(addObject(std::make_shared<Brush>(false, color)));
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ handle) {
    auto dc = findDc(hdc);
    if (!dc)
        return nullptr;
    std::lock_guard guard(tableMutex());
    auto object = findObjectLocked(handle);
    if (!object || !findObjectLocked(hdc)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    switch (object->kind) {
    case ObjectKind::Pen: return swapLocked(dc->pen, object);
    case ObjectKind::Brush: return swapLocked(dc->brush, object);
    case ObjectKind::Font: return swapLocked(dc->font, object);
    case ObjectKind::Bitmap: return selectBitmapLocked(*dc, object);
    case ObjectKind::Dc: break;
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

BOOL DeleteObject(HGDIOBJ handle) {
    if (!handle)
        return FALSE;
    std::lock_guard guard(tableMutex());
    auto object = findObjectLocked(handle);
    if (!object || object->kind == ObjectKind::Dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (object->stock)
        return TRUE;
    if (object->selections > 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    removeObjectLocked(handle);
    return TRUE;
}

int GetObjectA(HGDIOBJ handle, int size, LPVOID buffer) {
    auto bitmap = findAs<Bitmap>(handle, ObjectKind::Bitmap);
    if (!bitmap)
        return 0;
    if (!buffer)
        return static_cast<int>(sizeof(BITMAP));
    if (size < static_cast<int>(sizeof(BITMAP))) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    BITMAP description{};
    description.bmWidth = bitmap->width;
    description.bmHeight = bitmap->height;
    // Device-dependent rows are reported padded to 2 bytes, DIB section rows as stored.
    description.bmWidthBytes =
        bitmap->dibSection ? bitmap->stride : (bitmap->width * bitmap->bitsPerPixel + 15) / 16 * 2;
    description.bmPlanes = 1;
    description.bmBitsPixel = static_cast<WORD>(bitmap->bitsPerPixel);
    description.bmBits = bitmap->dibSection ? bitmap->pixels.data() : nullptr;
    std::memcpy(buffer, &description, sizeof description);
    return static_cast<int>(sizeof(BITMAP));
}
