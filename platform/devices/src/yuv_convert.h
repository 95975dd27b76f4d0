// Conversion of rendered BGR rows into the YUV formats the capture pin offers (full-range BT.601).
#pragma once

#include <win32/types.h>

namespace platform::devices {

// One row of `width` BGR pixels into packed 4:2:2, Y first (YUY2) or chroma first (UYVY); chroma is the
// mean of each pixel pair. Pure; any thread.
void packedRow(const BYTE* bgr, LONG width, BYTE* out, bool yFirst);

// One row of `width` BGR pixels into its luma. Pure; any thread.
void lumaRow(const BYTE* bgr, LONG width, BYTE* out);

// The width / 2 chroma samples of the 2 x 2 blocks of two BGR rows, the upper row first. Pure; any thread.
void chromaRows(const BYTE* upper, const BYTE* lower, LONG width, BYTE* u, BYTE* v);

} // namespace platform::devices
