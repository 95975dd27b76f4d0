// The focus region of a frame: its brackets, its grey picture and the focus measure.
#pragma once

#include <cstddef>
#include <cstdint>

#include <win32/types.h>

#include "auto_loop_steps.h"

namespace korvib {

// The centred quarter of a `width` x `height` frame; false when that region holds no pixel.
[[nodiscard]] bool FocusRegionOf(int width, int height, Region* region);

// Green corner brackets in the region of a 24-bit DIB frame `width` pixels wide: the ends of its first and
// last rows, and in the rows of its upper and lower quarters its first column and the column just right of
// it. The region must lie inside the frame with one column to spare.
void DrawFocusBrackets(BYTE* frame, int width, const Region& region);

// The region as grey bytes (6 green + 3 red + 1 blue) / 10, packed rows in the frame's row order, into
// `grey` of region width x height bytes.
void ConvertRoiToGray(const BYTE* frame, int width, const Region& region, BYTE* grey);

// Sum over the inner pixels of each one's absolute differences to its four neighbours; 0 for a picture
// less than 3 pixels wide or high. Saturates at the largest 32-bit value.
[[nodiscard]] uint32_t FocusValue(const BYTE* grey, int width, int height);

} // namespace korvib
