// applyCurve: a byte curve looked up one byte at a time, or 64 at a time where the processor permutes bytes.
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

#ifdef PIXANO_HAVE_WIDE_VECTORS
// The curve sits in four vector registers; each half of it answers the low seven bits of 64 bytes in
// one permute, and the top bit picks the half.
PIXANO_WIDE_VECTORS void lookUp(BYTE* p, std::ptrdiff_t count, const pixano::Curve& curve) {
    const __m512i quarter0 = _mm512_loadu_si512(curve.data());
    const __m512i quarter1 = _mm512_loadu_si512(curve.data() + 64);
    const __m512i quarter2 = _mm512_loadu_si512(curve.data() + 128);
    const __m512i quarter3 = _mm512_loadu_si512(curve.data() + 192);
    for (std::ptrdiff_t i = 0; i < count; i += 64) {
        const std::ptrdiff_t left = count - i;
        const __mmask64 lanes = left >= 64 ? ~__mmask64{0} : (__mmask64{1} << left) - 1;
        const __m512i index = _mm512_maskz_loadu_epi8(lanes, p + i);
        const __m512i low = _mm512_permutex2var_epi8(quarter0, index, quarter1);
        const __m512i high = _mm512_permutex2var_epi8(quarter2, index, quarter3);
        const __m512i mapped = _mm512_mask_blend_epi8(_mm512_movepi8_mask(index), low, high);
        _mm512_mask_storeu_epi8(p + i, lanes, mapped);
    }
}
#endif

} // namespace

namespace pixano {

void applyCurve(BYTE* p, std::ptrdiff_t count, const Curve& curve) {
    lookUp(p, count, curve);
}

} // namespace pixano
