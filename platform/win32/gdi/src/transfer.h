// The one pixel-transfer engine behind BitBlt, StretchBlt, StretchDIBits and the DIB conversions.
#pragma once

#include "pixel_view.h"

namespace platform::gdi {

// An area in top-down pixel coordinates; a negative width or height extends to the left or upwards and
// mirrors the picture.
struct Area {
    int x, y, width, height;
};

// How colours cross between formats. With `fromDc`, colour to monochrome makes `sourceBk` white and all else
// black, and a monochrome device bitmap's black and white become `destText` and `destBk`; without it a
// 1-bit source uses its colour table and a monochrome target takes the nearest of black and white.
struct TransferColors {
    bool fromDc = false;
    COLORREF sourceBk = 0;
    COLORREF destText = 0;
    COLORREF destBk = 0xFFFFFFu;
};

// Combines area `from` of `src` with area `to` of `dst` by the raster operation `rop` (no pattern), taking
// the nearest source pixel for each target pixel; target pixels outside `clip` or whose source pixel lies
// outside `src` stay. 32-bit target values carry `opaque`. Returns the rectangle of target pixels written.
// Any thread; the caller holds whatever guards the two pixel buffers.
RECT transferPixels(const PixelView& dst, const RECT& clip, uint32_t opaque, Area to, const PixelView& src,
                    Area from, uint32_t rop, const TransferColors& colors);

} // namespace platform::gdi
