// Making bitmap objects: allocation with limits, and the format a DC makes compatible bitmaps in.
#pragma once

#include <memory>

#include "gdi_object.h"
#include "pixel_view.h"

namespace platform::gdi {

// A zeroed bitmap of the size and depth, its rows padded to four bytes; 1-bit bitmaps get black and
// white as colours. Null with ERROR_INVALID_PARAMETER for sides outside 1 to 32768 or with
// ERROR_NOT_ENOUGH_MEMORY. Any thread.
std::shared_ptr<Bitmap> newBitmap(int width, int height, int bitsPerPixel, bool bottomUp);

// Bits per pixel of a bitmap compatible with `dc`: 1 for a memory DC holding a monochrome device bitmap,
// else 32. False (ERROR_INVALID_HANDLE) for a stale DC; null means the screen.
[[nodiscard]] bool compatibleDepth(HDC dc, int* bitsPerPixel);

// A device-dependent bitmap of `depth` bits holding the DIB `dib` converted by its colour table.
std::shared_ptr<Bitmap> deviceBitmapFromDib(const PixelView& dib, int depth);
// A DIB section holding a copy of `dib`, its format and colour table.
std::shared_ptr<Bitmap> dibSectionFromDib(const PixelView& dib);

// Enters the bitmap in the handle table.
HBITMAP enterBitmap(std::shared_ptr<Bitmap> bitmap);

} // namespace platform::gdi
