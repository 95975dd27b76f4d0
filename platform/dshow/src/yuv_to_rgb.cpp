// YUV to RGB24 conversion: packed rows eight pixels at a time with SSE2, the rest in 16.16 fixed point from
// per-chroma tables.
#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)
// 14-bit fixed-point coefficients for eight pixels at a time (sixteen-bit lanes hold them).
constexpr short kRv14 = 22970, kGu14 = 5638, kGv14 = 11700, kBu14 = 29032;

// One channel of four pixels: (Y << 14 + half + chroma term) >> 14, the terms of pixel pairs 0, 0, 1, 1.
inline __m128i channel(__m128i luma14, __m128i terms) {
    return _mm_srai_epi32(_mm_add_epi32(luma14, terms), 14);
}

// Eight pixels from sixteen bytes of packed 4:2:2 into `out` as 24 bytes of BGR; `yFirst` for YUY2, else
// UYVY. The chroma pairs give each matrix term by one multiply-add; the packs clamp to 0..255.
inline void convertEight(const BYTE* in, bool yFirst, BYTE* out) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    const __m128i low = _mm_set1_epi16(0x00FF);
    const __m128i luma = yFirst ? _mm_and_si128(bytes, low) : _mm_srli_epi16(bytes, 8);
    const __m128i chroma = _mm_sub_epi16(yFirst ? _mm_srli_epi16(bytes, 8) : _mm_and_si128(bytes, low),
                                         _mm_set1_epi16(128)); // U0 V0 U1 V1 U2 V2 U3 V3
    const __m128i blue = _mm_madd_epi16(chroma, _mm_set_epi16(0, kBu14, 0, kBu14, 0, kBu14, 0, kBu14));
    const __m128i green = _mm_madd_epi16(chroma, _mm_set_epi16(-kGv14, -kGu14, -kGv14, -kGu14, -kGv14, -kGu14,
                                                               -kGv14, -kGu14));
    const __m128i red = _mm_madd_epi16(chroma, _mm_set_epi16(kRv14, 0, kRv14, 0, kRv14, 0, kRv14, 0));
    const __m128i half = _mm_set1_epi32(1 << 13);
    const __m128i lumaLow = _mm_add_epi32(_mm_slli_epi32(_mm_unpacklo_epi16(luma, _mm_setzero_si128()), 14), half);
    const __m128i lumaHigh = _mm_add_epi32(_mm_slli_epi32(_mm_unpackhi_epi16(luma, _mm_setzero_si128()), 14), half);
    auto bytesOf = [&](__m128i terms) {
        const __m128i first = channel(lumaLow, _mm_shuffle_epi32(terms, 0x50));
        const __m128i second = channel(lumaHigh, _mm_shuffle_epi32(terms, 0xFA));
        const __m128i words = _mm_packs_epi32(first, second);
        return _mm_packus_epi16(words, words); // eight bytes in the low half
    };
    const __m128i blueGreen = _mm_unpacklo_epi8(bytesOf(blue), bytesOf(green));
    const __m128i redZero = _mm_unpacklo_epi8(bytesOf(red), _mm_setzero_si128());
    // Pixels as B, G, R, 0 words, stored four bytes at a time, each over the previous one's zero; the last
    // one three bytes, so that nothing beyond the 24 is written.
    __m128i quad = _mm_unpacklo_epi16(blueGreen, redZero);
    for (int i = 0; i < 8; ++i) {
        if (i == 4)
            quad = _mm_unpackhi_epi16(blueGreen, redZero);
        const uint32_t pixel = static_cast<uint32_t>(_mm_cvtsi128_si32(quad));
        std::memcpy(out + 3 * i, &pixel, i < 7 ? 4 : 3);
        quad = _mm_srli_si128(quad, 4);
    }
}
#endif

// Packed 4:2:2: each 4-byte group holds two pixels; `y0`, `u`, `y1`, `v` are the byte positions.
void convertPacked(const BYTE* yuv, LONG width, LONG height, BYTE* dib, int y0, int u, int y1, int v) {
    const LONG stride = DibStride(width, 24);
    for (LONG row = 0; row < height; ++row) {
        const BYTE* in = yuv + static_cast<std::size_t>(row) * width * 2;
        BYTE* out = dib + static_cast<std::size_t>(height - 1 - row) * stride;
        LONG x = 0;
#if defined(__SSE2__)
        for (; x + 8 <= width; x += 8, in += 16, out += 24)
            convertEight(in, y0 == 0, out);
#endif
        for (; x < width; x += 2, in += 4, out += 6) {
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
