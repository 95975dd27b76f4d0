// YUV to RGB24 conversion in 16.16 fixed point.
#include <cstring>

#include <win32/dib.h>

#include "yuv_to_rgb.h"

namespace platform::dshow {
namespace {

// 16.16 fixed-point matrix coefficients.
constexpr int kRv = 91881;  // 1.402
constexpr int kGu = 22554;  // 0.344136
constexpr int kGv = 46802;  // 0.714136
constexpr int kBu = 116130; // 1.772
constexpr int kHalf = 1 << 15;

inline BYTE clampByte(int value) { return static_cast<BYTE>(value < 0 ? 0 : value > 255 ? 255 : value); }

// Writes one BGR pixel from Y and centred chroma. The rounding offset sits inside the shift, so
// negative sums round like positive ones.
inline void putPixel(BYTE* out, int y, int u, int v) {
    int base = (y << 16) + kHalf;
    out[0] = clampByte((base + kBu * u) >> 16);
    out[1] = clampByte((base - kGu * u - kGv * v) >> 16);
    out[2] = clampByte((base + kRv * v) >> 16);
}

// Packed 4:2:2: each 4-byte group holds two pixels; `y0`, `u`, `y1`, `v` are the byte positions.
void convertPacked(const BYTE* yuv, LONG width, LONG height, BYTE* dib, int y0, int u, int y1, int v) {
    const LONG stride = DibStride(width, 24);
    for (LONG row = 0; row < height; ++row) {
        const BYTE* in = yuv + static_cast<std::size_t>(row) * width * 2;
        BYTE* out = dib + static_cast<std::size_t>(height - 1 - row) * stride;
        for (LONG x = 0; x < width; x += 2, in += 4, out += 6) {
            int cu = in[u] - 128;
            int cv = in[v] - 128;
            putPixel(out, in[y0], cu, cv);
            putPixel(out + 3, in[y1], cu, cv);
        }
    }
}

// Planar 4:2:0: the Y plane, then U and V planes of half width and height.
void convertPlanar(const BYTE* yuv, LONG width, LONG height, BYTE* dib) {
    const LONG stride = DibStride(width, 24);
    const std::size_t lumaBytes = static_cast<std::size_t>(width) * height;
    const BYTE* uPlane = yuv + lumaBytes;
    const BYTE* vPlane = uPlane + lumaBytes / 4;
    for (LONG row = 0; row < height; ++row) {
        const BYTE* luma = yuv + static_cast<std::size_t>(row) * width;
        const BYTE* us = uPlane + static_cast<std::size_t>(row / 2) * (width / 2);
        const BYTE* vs = vPlane + static_cast<std::size_t>(row / 2) * (width / 2);
        BYTE* out = dib + static_cast<std::size_t>(height - 1 - row) * stride;
        for (LONG x = 0; x < width; ++x, out += 3)
            putPixel(out, luma[x], us[x / 2] - 128, vs[x / 2] - 128);
    }
}

} // namespace

std::size_t yuvFrameBytes(YuvLayout layout, LONG width, LONG height) {
    std::size_t pixels = static_cast<std::size_t>(width) * height;
    return layout == YuvLayout::I420 ? pixels * 3 / 2 : pixels * 2;
}

void convertYuvToRgb24(YuvLayout layout, const BYTE* yuv, LONG width, LONG height, BYTE* dib) {
    const LONG stride = DibStride(width, 24);
    // Row padding is zero, whatever the buffer held before.
    if (stride > width * 3)
        for (LONG row = 0; row < height; ++row)
            std::memset(dib + static_cast<std::size_t>(row) * stride + width * 3, 0, stride - width * 3);
    switch (layout) {
    case YuvLayout::Yuy2:
        convertPacked(yuv, width, height, dib, 0, 1, 2, 3);
        break;
    case YuvLayout::Uyvy:
        convertPacked(yuv, width, height, dib, 1, 0, 3, 2);
        break;
    case YuvLayout::I420:
        convertPlanar(yuv, width, height, dib);
        break;
    }
}

} // namespace platform::dshow
