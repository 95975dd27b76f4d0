// applyCurve and applyCurves3: byte curves looked up one byte at a time, or 64 at a time where the
// processor permutes bytes.
#include "byte_curve.h"

#include "simd_targets.h"

#include <cstdint>
#include <cstring>

namespace {

// Eight bytes travel as one word, which keeps the vectoriser from emulating gathers that are slower
// than these scalar lookups.
PIXANO_BASELINE void lookUp(BYTE* p, std::ptrdiff_t count, const pixano::Curve& curve) {
    std::ptrdiff_t i = 0;
    for (; i + 8 <= count; i += 8) {
        uint64_t word;
        std::memcpy(&word, p + i, 8);
        auto mapped = [&](int shift) { return static_cast<uint64_t>(curve[word >> shift & 0xFF]) << shift; };
        word = mapped(0) | mapped(8) | mapped(16) | mapped(24) | mapped(32) | mapped(40) | mapped(48) | mapped(56);
        std::memcpy(p + i, &word, 8);
    }
    for (; i < count; ++i) {
        p[i] = curve[p[i]];
    }
}

PIXANO_BASELINE void lookUp3(BYTE* p, std::ptrdiff_t count, const std::array<pixano::Curve, 3>& curves) {
    for (std::ptrdiff_t i = 0; i < count; ++i) {
        p[i] = curves[static_cast<std::size_t>(i % 3)][p[i]];
    }
}

#ifdef PIXANO_HAVE_WIDE_VECTORS
using pixano::lanesBelow;

// A curve in four vector registers: each half answers the low seven bits of 64 bytes in one permute,
// and the top bit picks the half.
struct WideCurve {
    __m512i quarter[4];

    PIXANO_WIDE_VECTORS explicit WideCurve(const pixano::Curve& curve) {
        for (int q = 0; q < 4; ++q) {
            quarter[q] = _mm512_loadu_si512(curve.data() + 64 * q);
        }
    }
    PIXANO_WIDE_VECTORS __m512i operator()(__m512i index) const {
        const __m512i low = _mm512_permutex2var_epi8(quarter[0], index, quarter[1]);
        const __m512i high = _mm512_permutex2var_epi8(quarter[2], index, quarter[3]);
        return _mm512_mask_blend_epi8(_mm512_movepi8_mask(index), low, high);
    }
};

PIXANO_WIDE_VECTORS void lookUp(BYTE* p, std::ptrdiff_t count, const pixano::Curve& curve) {
    const WideCurve wide(curve);
    for (std::ptrdiff_t i = 0; i < count; i += 64) {
        const __mmask64 lanes = lanesBelow(count, i);
        _mm512_mask_storeu_epi8(p + i, lanes, wide(_mm512_maskz_loadu_epi8(lanes, p + i)));
    }
}

// Every block of 64 bytes goes through all three curves; masks of the bytes of each curve, which repeat
// every three blocks, pick the results.
PIXANO_WIDE_VECTORS void lookUp3(BYTE* p, std::ptrdiff_t count, const std::array<pixano::Curve, 3>& curves) {
    const WideCurve wide[3] = {WideCurve(curves[0]), WideCurve(curves[1]), WideCurve(curves[2])};
    // [block % 3][curve]: bit j is set where (64 * block + j) % 3 is the curve.
    constexpr __mmask64 kEvery0 = 0x9249249249249249, kEvery1 = 0x2492492492492492, kEvery2 = 0x4924924924924924;
    constexpr __mmask64 ofCurve[3][3] = {
        {kEvery0, kEvery1, kEvery2}, {kEvery2, kEvery0, kEvery1}, {kEvery1, kEvery2, kEvery0}};
    for (std::ptrdiff_t i = 0, block = 0; i < count; i += 64, block = block == 2 ? 0 : block + 1) {
        const __mmask64 lanes = lanesBelow(count, i);
        const __m512i index = _mm512_maskz_loadu_epi8(lanes, p + i);
        __m512i mapped = wide[0](index);
        mapped = _mm512_mask_blend_epi8(ofCurve[block][1], mapped, wide[1](index));
        mapped = _mm512_mask_blend_epi8(ofCurve[block][2], mapped, wide[2](index));
        _mm512_mask_storeu_epi8(p + i, lanes, mapped);
    }
}
#endif

} // namespace

namespace pixano {

void applyCurve(BYTE* p, std::ptrdiff_t count, const Curve& curve) {
    lookUp(p, count, curve);
}

void applyCurves3(BYTE* p, std::ptrdiff_t count, const std::array<Curve, 3>& curves) {
    lookUp3(p, count, curves);
}

} // namespace pixano
