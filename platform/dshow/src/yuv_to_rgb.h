// Packed and planar YUV frames to bottom-up 24-bit DIB rows.
#pragma once

#include <cstddef>

#include <win32/types.h>

namespace platform::dshow {

enum class YuvLayout { Yuy2, Uyvy, I420 };

// Bytes of a top-down frame of `layout` at width x height (both even).
std::size_t yuvFrameBytes(YuvLayout layout, LONG width, LONG height);

// Converts a top-down YUV frame into a bottom-up BGR DIB with rows padded to four bytes, using the
// full-range BT.601 matrix (Y, U, V in 0..255, chroma centred on 128):
//   R = Y + 1.402 (V - 128),  G = Y - 0.344136 (U - 128) - 0.714136 (V - 128),  B = Y + 1.772 (U - 128)
// rounded to nearest and clamped to 0..255. Width and height are even and positive; `dib` holds
// height * DibStride(width, 24) bytes. Any thread.
void convertYuvToRgb24(YuvLayout layout, const BYTE* yuv, LONG width, LONG height, BYTE* dib);

} // namespace platform::dshow
