// Checking DIB descriptions and viewing a caller's DIB pixels.
#pragma once

#include "pixel_view.h"

namespace platform::gdi {

// Entries in the colour table that follows a header of this format (0 above 8 bits).
int colorTableSize(const BITMAPINFOHEADER& header);

// True for the DIBs handled here: 1, 4, 8, 24 or 32 bits, BI_RGB, one plane, width >= 1, height != 0,
// dimensions up to 32768, DIB_RGB_COLORS; else false with ERROR_INVALID_PARAMETER.
[[nodiscard]] bool dibSupported(const BITMAPINFOHEADER& header, UINT usage);

// A view of `bits` laid out as `info` describes, its colour table read from `info`. False as above, or for
// null arguments.
[[nodiscard]] bool dibView(const BITMAPINFO* info, UINT usage, const void* bits, PixelView* view);

} // namespace platform::gdi
