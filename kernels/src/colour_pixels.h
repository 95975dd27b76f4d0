// The common walk of the colour-space kernels: every pixel of a 24-bit picture, padding untouched.
#pragma once

#include <kernels/pixano.h>

#include "dib_view.h"
#include "simd_targets.h"

#include <array>
#include <cstdint>

namespace pixano {

// Calls `convert(BYTE* row, std::ptrdiff_t width)` on the pixels of every row. Results: 0 done,
// 1 null pixels, 2 depth not 24 (nothing changed).
template <typename Convert>
int convertPixels24(BYTE* pixels, LONG width, LONG height, WORD bits, Convert convert) {
    if (pixels == nullptr) {
        return PIXANO_NO_PIXELS;
    }
    if (bits != 24) {
        return PIXANO_BAD_DEPTH;
    }
    const DibView view = makeView(pixels, width, height, bits);
    for (std::ptrdiff_t r = 0; r < view.rows; ++r) {
        convert(view.row(r), view.width);
    }
    return PIXANO_OK;
}

#ifdef PIXANO_HAVE_WIDE_VECTORS
// A byte permute of 16 pixels of 3 bytes into 32-bit lanes, one lane per pixel, and the mask of the
// lane bytes it fills (the others are zero).
struct LaneSpread {
    std::array<uint8_t, 64> indices{};
    uint64_t mask = 0;

    // Byte k of each lane takes byte `fromPixel[k]` of its pixel, or zero where that is -1.
    constexpr explicit LaneSpread(std::array<int, 4> fromPixel) {
        for (int i = 0; i < 64; ++i) {
            const int from = fromPixel[i % 4];
            if (from >= 0) {
                indices[i] = static_cast<uint8_t>(3 * (i / 4) + from);
                mask |= uint64_t{1} << i;
            }
        }
    }
    PIXANO_WIDE_VECTORS __m512i operator()(__m512i pixels) const {
        return _mm512_maskz_permutexvar_epi8(mask, _mm512_loadu_si512(indices.data()), pixels);
    }
};

// Three 32-bit lanes per pixel saturated to bytes 0..255 for 16 pixels: each 16-byte lane of the answer
// holds byte 0 of 4 pixels, then their bytes 1 and 2 (and bytes 2 again).
PIXANO_WIDE_VECTORS inline __m512i packLanes(__m512i byte0, __m512i byte1, __m512i byte2) {
    return _mm512_packus_epi16(_mm512_packs_epi32(byte0, byte1), _mm512_packs_epi32(byte2, byte2));
}

// Where byte `i` of 16 pixels of 3 bytes lies in an answer of packLanes.
constexpr uint8_t packedByte(int i) {
    const int pixel = i / 3;
    return static_cast<uint8_t>(16 * (pixel / 4) + 4 * (i % 3) + pixel % 4);
}

// Byte permutes from packLanes' order to pixels of 3 bytes: kPixelOrder for one answer of 16 pixels,
// kJoined[k] for bytes 64k..64k+63 of four answers, taken from answers k and k + 1.
struct PackedOrder {
    using Indices = std::array<uint8_t, 64>;

    static constexpr Indices kPixelOrder = [] {
        Indices order{};
        for (int i = 0; i < 48; ++i) {
            order[i] = packedByte(i);
        }
        return order;
    }();
    static constexpr std::array<Indices, 3> kJoined = [] {
        std::array<Indices, 3> joined{};
        for (int k = 0; k < 3; ++k) {
            for (int i = 0; i < 64; ++i) {
                const int at = 64 * k + i;
                joined[k][i] = static_cast<uint8_t>(64 * (at / 48 - k) + packedByte(at % 48));
            }
        }
        return joined;
    }();
};

// Calls `convert(__m512i)` on every 16 pixels of the `width` pixels of `row` (in the low 48 bytes of the
// register, the rest zero or the next pixels) and stores its packLanes answer in their place. 64 pixels
// go in three whole loads and stores, so that no load waits for a masked store that spans its bytes.
template <typename Convert>
PIXANO_WIDE_VECTORS void convertBy16(BYTE* row, std::ptrdiff_t width, Convert convert) {
    const std::ptrdiff_t bytes = 3 * width;
    std::ptrdiff_t i = 0;
    for (; i + 192 <= bytes; i += 192) {
        const __m512i a = _mm512_loadu_si512(row + i);
        const __m512i b = _mm512_loadu_si512(row + i + 64);
        const __m512i c = _mm512_loadu_si512(row + i + 128);
        const __m512i answer[4] = {convert(a), convert(_mm512_alignr_epi32(b, a, 12)),
                                   convert(_mm512_alignr_epi32(c, b, 8)),
                                   convert(_mm512_alignr_epi32(c, c, 4))};
        for (int k = 0; k < 3; ++k) {
            const __m512i order = _mm512_loadu_si512(PackedOrder::kJoined[k].data());
            _mm512_storeu_si512(row + i + 64 * k, _mm512_permutex2var_epi8(answer[k], order, answer[k + 1]));
        }
    }
    constexpr __mmask64 kPixelBytes = (__mmask64{1} << 48) - 1;
    const __m512i order = _mm512_loadu_si512(PackedOrder::kPixelOrder.data());
    for (; i < bytes; i += 48) {
        const __mmask64 lanes = lanesBelow(bytes, i);
        const __m512i answer = convert(_mm512_maskz_loadu_epi8(lanes, row + i));
        _mm512_mask_storeu_epi8(row + i, lanes & kPixelBytes, _mm512_permutexvar_epi8(order, answer));
    }
}
#endif

} // namespace pixano
