// Allocation of bitmap objects and the compatible format of a DC.
#include "bitmap_store.h"

#include <new>

#include <cstring>

#include "handle_table.h"
#include "transfer.h"

#include <win32/gdi_bitmap.h>

namespace platform::gdi {

std::shared_ptr<Bitmap> newBitmap(int width, int height, int bitsPerPixel, bool bottomUp) {
    constexpr int kMaxSide = 32768;
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    try {
        auto bitmap = std::make_shared<Bitmap>();
        bitmap->width = width;
        bitmap->height = height;
        bitmap->bitsPerPixel = bitsPerPixel;
        bitmap->stride = DibStride(width, static_cast<WORD>(bitsPerPixel));
        bitmap->bottomUp = bottomUp;
        bitmap->pixels.assign(static_cast<size_t>(bitmap->stride) * static_cast<size_t>(height), 0);
        if (bitsPerPixel == 1)
            bitmap->colors = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
        return bitmap;
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
}

bool compatibleDepth(HDC hdc, int* bitsPerPixel) {
    *bitsPerPixel = 32;
    if (!hdc)
        return true;
    auto dc = findDc(hdc);
    if (!dc)
        return false;
    if (dc->bitmap && dc->bitmap->bitsPerPixel == 1 && !dc->bitmap->dibSection)
        *bitsPerPixel = 1;
    return true;
}

std::shared_ptr<Bitmap> deviceBitmapFromDib(const PixelView& dib, int depth) {
    auto bitmap = newBitmap(dib.width, dib.height, depth, false);
    if (bitmap)
        transferPixels(viewOf(*bitmap), RECT{0, 0, dib.width, dib.height}, 0, Area{0, 0, dib.width, dib.height},
                       dib, Area{0, 0, dib.width, dib.height}, SRCCOPY, TransferColors{});
    return bitmap;
}

std::shared_ptr<Bitmap> dibSectionFromDib(const PixelView& dib) {
    auto bitmap = newBitmap(dib.width, dib.height, dib.bitsPerPixel, dib.bottomUp);
    if (!bitmap)
        return nullptr;
    bitmap->dibSection = true;
    bitmap->colors.assign(dib.colors, dib.colors + dib.colorCount);
    std::memcpy(bitmap->pixels.data(), dib.bits, bitmap->pixels.size());
    return bitmap;
}

HBITMAP enterBitmap(std::shared_ptr<Bitmap> bitmap) {
    return static_cast<HBITMAP>(addObject(std::move(bitmap)));
}

} // namespace platform::gdi
