// YUV to RGB24 conversion in 16.16 fixed point, from per-chroma tables.
#include <array>
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

// Each chroma value's term of every channel in 16.16, with the rounding offset, so that a pixel is three
// additions and shifts; the offset sits inside the shift, so negative sums round like positive ones.
struct ChromaTerms {
    int blue[256];  // by U
    int greenU[256];
    int greenV[256];
    int red[256];   // by V
};

constexpr ChromaTerms makeChromaTerms() {
    ChromaTerms t{};
    for (int c = 0; c < 256; ++c) {
        t.blue[c] = kHalf + kBu * (c - 128);
        t.greenU[c] = kHalf - kGu * (c - 128);
        t.greenV[c] = -kGv * (c - 128);
        t.red[c] = kHalf + kRv * (c - 128);
    }
    return t;
}

constexpr ChromaTerms kTerms = makeChromaTerms();

// Channel values of the matrix lie in -227..482; the table clamps them to a byte from index value + 256.
constexpr int kClampOffset = 256;
constexpr std::array<BYTE, 768> makeClamp() {
    std::array<BYTE, 768> table{};
    for (int i = 0; i < 768; ++i)
        table[i] = static_cast<BYTE>(i < kClampOffset ? 0 : i - kClampOffset > 255 ? 255 : i - kClampOffset);
    return table;
}

constexpr std::array<BYTE, 768> kClamp = makeClamp();

// The three chroma terms of one U, V pair.
struct Chroma {
    int blue, green, red;
};

inline Chroma chromaOf(int u, int v) {
    return {kTerms.blue[u], kTerms.greenU[u] + kTerms.greenV[v], kTerms.red[v]};
}

// Writes one BGR pixel from Y and its chroma terms.
inline void putPixel(BYTE* out, int y, const Chroma& c) {
    const int base = y << 16;
    out[0] = kClamp[((base + c.blue) >> 16) + kClampOffset];
    out[1] = kClamp[((base + c.green) >> 16) + kClampOffset];
    out[2] = kClamp[((base + c.red) >> 16) + kClampOffset];
}

// Packed 4:2:2: each 4-byte group holds two pixels; `y0`, `u`, `y1`, `v` are the byte positions.
void convertPacked(const BYTE* yuv, LONG width, LONG height, BYTE* dib, int y0, int u, int y1, int v) {
    const LONG stride = DibStride(width, 24);
    for (LONG row = 0; row < height; ++row) {
        const BYTE* in = yuv + static_cast<std::size_t>(row) * width * 2;
        BYTE* out = dib + static_cast<std::size_t>(height - 1 - row) * stride;
        for (LONG x = 0; x < width; x += 2, in += 4, out += 6) {
            const Chroma chroma = chromaOf(in[u], in[v]);
            putPixel(out, in[y0], chroma);
            putPixel(out + 3, in[y1], chroma);
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
        for (LONG x = 0; x < width; x += 2, out += 6) {
            const Chroma chroma = chromaOf(us[x / 2], vs[x / 2]);
            putPixel(out, luma[x], chroma);
            putPixel(out + 3, luma[x + 1], chroma);
        }
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
