// Color24To8 and Threshold: 24-bit colour to 8-bit grey, and grey to 1 bit per pixel, in place.
#include <kernels/pixano.h>

#include "dib_view.h"
#include "simd_targets.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// Pixels converted to grey at a time, on the stack.
constexpr std::ptrdiff_t kGreyChunk = 256;

// (B + 6G + 3R) / 10 of `count` 24-bit pixels into `grey`.
PIXANO_VECTOR_CLONES void greyOfPixels(const BYTE* __restrict colour, BYTE* __restrict grey, std::ptrdiff_t count) {
    for (std::ptrdiff_t j = 0; j < count; ++j) {
        const BYTE* p = colour + 3 * j;
        grey[j] = static_cast<BYTE>((p[0] + 6 * p[1] + 3 * p[2]) / 10);
    }
}

// Rewrites 24-bit rows as 8-bit grey rows from the start of the buffer. A chunk of grey bytes is
// stored after its colours are read and lands at or before them, so no unread colour is overwritten;
// the grey rows' padding keeps what the buffer held.
void colourToGrey(const pixano::DibView& colour) {
    const std::ptrdiff_t greyStride = pixano::dibStride(colour.width, 8);
    BYTE chunk[kGreyChunk];
    for (std::ptrdiff_t r = 0; r < colour.rows; ++r) {
        const BYTE* src = colour.row(r);
        BYTE* grey = colour.pixels + r * greyStride;
        for (std::ptrdiff_t j = 0; j < colour.width; j += kGreyChunk) {
            const std::ptrdiff_t count = std::min(kGreyChunk, colour.width - j);
            greyOfPixels(src + 3 * j, chunk, count);
            std::memcpy(grey + j, chunk, static_cast<std::size_t>(count));
        }
    }
}

// One output byte of eight grey values, the first in the most significant bit, 1 above `level`.
BYTE bitsOf(const BYTE* grey, BYTE level) {
    BYTE byte = 0;
    for (int k = 0; k < 8; ++k) {
        byte = static_cast<BYTE>(byte << 1 | (grey[k] > level ? 1 : 0));
    }
    return byte;
}

// Reverses the order of the bits within each byte of `x`.
uint64_t reverseBitsInBytes(uint64_t x) {
    x = (x >> 1 & 0x5555555555555555u) | (x & 0x5555555555555555u) << 1;
    x = (x >> 2 & 0x3333333333333333u) | (x & 0x3333333333333333u) << 2;
    return (x >> 4 & 0x0F0F0F0F0F0F0F0Fu) | (x & 0x0F0F0F0F0F0F0F0Fu) << 4;
}

// Writes `bytes` bytes of bitsOf from 8 grey values each. `out` may start at or before `grey`: a store
// follows the loads of the values it holds and ends before the values not yet read. A comparison mask
// holds the first value in its lowest bit, so its bits are reversed within each byte.
PIXANO_BASELINE void packBits(const BYTE* grey, BYTE* out, std::ptrdiff_t bytes, BYTE level) {
    std::ptrdiff_t b = 0;
#ifdef __SSE2__
    // Signed comparison of values moved down by 128 orders them as unsigned.
    const __m128i bias = _mm_set1_epi8(static_cast<char>(0x80));
    const __m128i limit = _mm_set1_epi8(static_cast<char>(level ^ 0x80));
    for (; b + 2 <= bytes; b += 2) {
        const __m128i values = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(grey + 8 * b)), bias);
        const auto above = static_cast<uint64_t>(_mm_movemask_epi8(_mm_cmpgt_epi8(values, limit)));
        const auto packed = static_cast<uint16_t>(reverseBitsInBytes(above));
        std::memcpy(out + b, &packed, 2);
    }
#endif
    for (; b < bytes; ++b) {
        out[b] = bitsOf(grey + 8 * b, level);
    }
}

#ifdef PIXANO_HAVE_WIDE_VECTORS
PIXANO_WIDE_VECTORS void packBits(const BYTE* grey, BYTE* out, std::ptrdiff_t bytes, BYTE level) {
    const __m512i limit = _mm512_set1_epi8(static_cast<char>(level));
    // Each group of eight values is reversed before the comparison instead of the mask's bits after it.
    const __m512i reversed = _mm512_set_epi64(0x08090A0B0C0D0E0F, 0x0001020304050607, 0x08090A0B0C0D0E0F,
                                              0x0001020304050607, 0x08090A0B0C0D0E0F, 0x0001020304050607,
                                              0x08090A0B0C0D0E0F, 0x0001020304050607);
    std::ptrdiff_t b = 0;
    for (; b + 8 <= bytes; b += 8) {
        const __m512i values = _mm512_shuffle_epi8(_mm512_loadu_si512(grey + 8 * b), reversed);
        const uint64_t packed = _mm512_cmpgt_epu8_mask(values, limit);
        std::memcpy(out + b, &packed, 8);
    }
    for (; b < bytes; ++b) {
        out[b] = bitsOf(grey + 8 * b, level);
    }
}
#endif

// Rewrites 8-bit grey rows as 1-bit rows from the start of the buffer, most significant bit leftmost,
// 1 for a value above `level`. A 1-bit byte is written only after the eight grey values it holds are
// read; the bits past the width in a row's last byte keep what that byte held.
void greyToBits(const pixano::DibView& grey, BYTE level) {
    const std::ptrdiff_t bitStride = pixano::dibStride(grey.width, 1);
    const std::ptrdiff_t fullBytes = grey.width / 8;
    const int tailBits = static_cast<int>(grey.width % 8);
    for (std::ptrdiff_t r = 0; r < grey.rows; ++r) {
        const BYTE* src = grey.row(r);
        BYTE* out = grey.pixels + r * bitStride;
        packBits(src, out, fullBytes, level);
        if (tailBits != 0) {
            BYTE byte = 0;
            for (int k = 0; k < tailBits; ++k) {
                byte |= static_cast<BYTE>((src[8 * fullBytes + k] > level ? 1 : 0) << (7 - k));
            }
            const BYTE kept = static_cast<BYTE>(0xFF >> tailBits);
            out[fullBytes] = static_cast<BYTE>(byte | (out[fullBytes] & kept));
        }
    }
}

} // namespace

// Turns a 24-bit picture into 8-bit grey rows in place. Results: 0 done, 1 null pixels. Caller's thread.
int CPixano::Color24To8(BYTE* pixels, LONG width, LONG height) {
    if (pixels == nullptr) {
        return PIXANO_NO_PIXELS;
    }
    colourToGrey(pixano::makeView(pixels, width, height, 24));
    return PIXANO_OK;
}

// Turns an 8-bit picture, or a 24-bit one after Color24To8, into 1 bit per pixel in place: white
// where the grey value is above `level`. Results: 0 done (a 1-bit picture is left as it is), 1 null
// pixels, 2 another depth (nothing changed). Caller's thread.
int CPixano::Threshold(BYTE* pixels, LONG width, LONG height, WORD bits, BYTE level) {
    if (pixels == nullptr) {
        return PIXANO_NO_PIXELS;
    }
    if (bits == 1) {
        return PIXANO_OK;
    }
    if (bits != 8 && bits != 24) {
        return PIXANO_BAD_DEPTH;
    }
    if (bits == 24) {
        colourToGrey(pixano::makeView(pixels, width, height, 24));
    }
    greyToBits(pixano::makeView(pixels, width, height, 8), level);
    return PIXANO_OK;
}
