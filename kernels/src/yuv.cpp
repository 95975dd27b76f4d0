// RGBtoYUV and YUVtoRGB: 24-bit pixels between blue-green-red and luma with two colour differences.
#include <kernels/pixano.h>

#include "colour_pixels.h"
#include "simd_targets.h"

#include <algorithm>
#include <cstdint>

namespace {

// The weights are single-precision constants and the sums are formed in double precision. A weight
// has 24 significant bits and a byte 8, so every product, and every sum of them here, is exact in
// double precision: the conversions are exact sums truncated. Below they are formed in 32-bit
// integers as multiples of the weights' last bit, which gives the same bytes and vectorises.
constexpr double kYR = 0.299f, kYG = 0.587f, kYB = 0.114f;
constexpr double kU = 0.565f, kV = 0.713f;
constexpr double kRV = 1.403f, kGU = 0.344f, kGV = 0.714f, kBU = 1.77f;

// `weight` in units of 2^-bits; the weight must be a whole number of them.
constexpr int32_t units(double weight, int bits) {
    return static_cast<int32_t>(weight * static_cast<double>(int64_t{1} << bits));
}
constexpr bool whole(double weight, int bits) {
    return units(weight, bits) == weight * static_cast<double>(int64_t{1} << bits);
}
static_assert(whole(kYR, 27) && whole(kYG, 27) && whole(kYB, 27) && whole(kU, 24) && whole(kV, 24) &&
              whole(kRV, 23) && whole(kBU, 23) && whole(kGU, 25) && whole(kGV, 25));

// A weight of `bits` fraction bits split into its units of 2^-(bits - split) and the rest, so products
// with a byte stay within 32 bits and each part within a 16-bit multiply: floor((w * x) / 2^bits) is
// floor((high * x + floor(low * x / 2^split)) / 2^(bits - split)).
struct SplitWeight {
    int32_t high;
    int32_t low;
};
constexpr SplitWeight split(double weight, int bits, int at) {
    return {units(weight, bits) >> at, units(weight, bits) & ((1 << at) - 1)};
}
constexpr SplitWeight kNoWeight{0, 0};

constexpr int kLumaSplit = 12;  // luma weights: 27 fraction bits
constexpr int kChromaSplit = 9; // colour-difference weights: 23 and 24 fraction bits
constexpr int kGreenSplit = 10; // green's weights: 25 fraction bits
constexpr SplitWeight kLumaR = split(kYR, 27, kLumaSplit), kLumaG = split(kYG, 27, kLumaSplit),
                      kLumaB = split(kYB, 27, kLumaSplit);
constexpr SplitWeight kOfU = split(kU, 24, kChromaSplit), kOfV = split(kV, 24, kChromaSplit);
constexpr SplitWeight kRedV = split(kRV, 23, kChromaSplit), kBlueU = split(kBU, 23, kChromaSplit);
constexpr SplitWeight kGreenU = split(kGU, 25, kGreenSplit), kGreenV = split(kGV, 25, kGreenSplit);

constexpr bool fitsWord(SplitWeight w) {
    return w.high < 32768 && w.low < 32768;
}
static_assert(fitsWord(kLumaR) && fitsWord(kLumaG) && fitsWord(kLumaB) && fitsWord(kOfU) && fitsWord(kOfV) &&
              fitsWord(kRedV) && fitsWord(kBlueU) && fitsWord(kGreenU) && fitsWord(kGreenV));

inline BYTE clampedByte(int32_t x) {
    return static_cast<BYTE>(std::min(255, std::max(0, x)));
}

// trunc(d * weight + 128) clamped to a byte, for a difference d of -255..255 and a weight of 24
// fraction bits; truncation and flooring differ only below 0, which clamps to 0 either way.
inline BYTE offsetDifference(int32_t d, SplitWeight weight) {
    const int32_t low = (d * weight.low) >> kChromaSplit;
    return clampedByte((d * weight.high + (128 << (24 - kChromaSplit)) + low) >> (24 - kChromaSplit));
}

// floor(x * weight) for x of -128..127 and a weight of 23 fraction bits.
inline int32_t chromaTerm(int32_t x, SplitWeight weight) {
    return (x * weight.high + ((x * weight.low) >> kChromaSplit)) >> (23 - kChromaSplit);
}

// (B, G, R) to (Y, U, V) for the `width` pixels of `row`.
PIXANO_BASELINE void rgbToYuvRow(BYTE* row, std::ptrdiff_t width) {
    for (std::ptrdiff_t j = 0; j < width; ++j) {
        BYTE* p = row + 3 * j;
        const int32_t b = p[0], g = p[1], r = p[2];
        const int32_t high = kLumaR.high * r + kLumaG.high * g + kLumaB.high * b;
        const int32_t low = kLumaR.low * r + kLumaG.low * g + kLumaB.low * b;
        const int32_t y = std::min((high + (low >> kLumaSplit)) >> (27 - kLumaSplit), 255);
        p[0] = static_cast<BYTE>(y);
        p[1] = offsetDifference(b - y, kOfU);
        p[2] = offsetDifference(r - y, kOfV);
    }
}

// (Y, U, V) to (B, G, R) for the `width` pixels of `row`: y plus the floored weighted differences.
PIXANO_BASELINE void yuvToRgbRow(BYTE* row, std::ptrdiff_t width) {
    for (std::ptrdiff_t j = 0; j < width; ++j) {
        BYTE* p = row + 3 * j;
        const int32_t y = p[0], u = p[1] - 128, v = p[2] - 128;
        const int32_t greenLow = -(u * kGreenU.low + v * kGreenV.low) >> kGreenSplit;
        const int32_t green = (greenLow - u * kGreenU.high - v * kGreenV.high) >> (25 - kGreenSplit);
        p[0] = clampedByte(y + chromaTerm(u, kBlueU));
        p[1] = clampedByte(y + green);
        p[2] = clampedByte(y + chromaTerm(v, kRedV));
    }
}

#ifdef PIXANO_HAVE_WIDE_VECTORS
// The same sums in 32-bit lanes, 16 pixels at a time, their products from 16-bit pairs.

// Two weights as the 16-bit pair of a 32-bit lane, `first` in the low half.
constexpr int32_t wordPair(int32_t first, int32_t second) {
    return static_cast<int32_t>(static_cast<uint32_t>(second) << 16 |
                                (static_cast<uint32_t>(first) & 0xFFFF));
}

// Each 32-bit lane of `pairs` as two 16-bit numbers, times `first` and `second`: the sums of the high
// and of the low parts of the weights.
struct PairSums {
    __m512i high;
    __m512i low;
};
PIXANO_WIDE_VECTORS inline PairSums pairSums(__m512i pairs, SplitWeight first, SplitWeight second) {
    return {_mm512_madd_epi16(pairs, _mm512_set1_epi32(wordPair(first.high, second.high))),
            _mm512_madd_epi16(pairs, _mm512_set1_epi32(wordPair(first.low, second.low)))};
}
// high + floor(low / 2^split): the weighted pair in units of 2^-(bits - split).
PIXANO_WIDE_VECTORS inline __m512i joined(PairSums sums, int split) {
    return _mm512_add_epi32(sums.high, _mm512_srai_epi32(sums.low, split));
}

// trunc(d * weight + 128) of each 32-bit lane d of -255..255, for a weight of 24 fraction bits, before
// it is clamped to a byte. The high half of d is its sign, which the pair's zero weight drops.
PIXANO_WIDE_VECTORS inline __m512i offsetDifferences(__m512i d, SplitWeight weight) {
    const __m512i sum = joined(pairSums(d, weight, kNoWeight), kChromaSplit);
    return _mm512_srai_epi32(_mm512_add_epi32(sum, _mm512_set1_epi32(128 << (24 - kChromaSplit))),
                             24 - kChromaSplit);
}

// Pixel bytes into 32-bit lanes: red and green as a pair, blue alone; Y alone, U and V as a pair.
constexpr pixano::LaneSpread kRedGreen({2, -1, 1, -1}), kBlue({0, -1, -1, -1});
constexpr pixano::LaneSpread kLuma({0, -1, -1, -1}), kColourDifferences({1, -1, 2, -1});

// (B, G, R) to (Y, U, V) for 16 pixels.
struct YuvOfRgb {
    PIXANO_WIDE_VECTORS __m512i operator()(__m512i pixels) const {
        const __m512i redGreen = kRedGreen(pixels);
        const __m512i blue = kBlue(pixels);
        const __m512i red = _mm512_and_si512(redGreen, _mm512_set1_epi32(0xFFFF));
        const PairSums rg = pairSums(redGreen, kLumaR, kLumaG);
        const PairSums b = pairSums(blue, kLumaB, kNoWeight);
        const __m512i luma =
            joined({_mm512_add_epi32(rg.high, b.high), _mm512_add_epi32(rg.low, b.low)}, kLumaSplit);
        const __m512i y = _mm512_min_epi32(_mm512_srai_epi32(luma, 27 - kLumaSplit), _mm512_set1_epi32(255));
        return pixano::packLanes(y, offsetDifferences(_mm512_sub_epi32(blue, y), kOfU),
                                 offsetDifferences(_mm512_sub_epi32(red, y), kOfV));
    }
};

// (Y, U, V) to (B, G, R) for 16 pixels.
struct RgbOfYuv {
    PIXANO_WIDE_VECTORS __m512i operator()(__m512i pixels) const {
        const __m512i y = kLuma(pixels);
        const __m512i uv = _mm512_sub_epi16(kColourDifferences(pixels), _mm512_set1_epi16(128));
        const __m512i blue =
            _mm512_srai_epi32(joined(pairSums(uv, kBlueU, kNoWeight), kChromaSplit), 23 - kChromaSplit);
        const __m512i red =
            _mm512_srai_epi32(joined(pairSums(uv, kNoWeight, kRedV), kChromaSplit), 23 - kChromaSplit);
        const SplitWeight minusU{-kGreenU.high, -kGreenU.low}, minusV{-kGreenV.high, -kGreenV.low};
        const __m512i green =
            _mm512_srai_epi32(joined(pairSums(uv, minusU, minusV), kGreenSplit), 25 - kGreenSplit);
        return pixano::packLanes(_mm512_add_epi32(y, blue), _mm512_add_epi32(y, green),
                                 _mm512_add_epi32(y, red));
    }
};

PIXANO_WIDE_VECTORS void rgbToYuvRow(BYTE* row, std::ptrdiff_t width) {
    pixano::convertBy16(row, width, YuvOfRgb());
}

PIXANO_WIDE_VECTORS void yuvToRgbRow(BYTE* row, std::ptrdiff_t width) {
    pixano::convertBy16(row, width, RgbOfYuv());
}
#endif

} // namespace

// Converts every pixel (B, G, R) to (Y, U, V) in bytes 0, 1, 2, each truncated and clamped to 0..255.
// Results: 0 done, 1 null pixels, 2 depth not 24. Caller's thread.
int CPixano::RGBtoYUV(BYTE* pixels, LONG width, LONG height, WORD bits) {
    return pixano::convertPixels24(pixels, width, height, bits,
                                   [](BYTE* row, std::ptrdiff_t width) { rgbToYuvRow(row, width); });
}

// Converts every pixel (Y, U, V) back to (B, G, R), each truncated and clamped to 0..255.
// Results: 0 done, 1 null pixels, 2 depth not 24. Caller's thread.
int CPixano::YUVtoRGB(BYTE* pixels, LONG width, LONG height, WORD bits) {
    return pixano::convertPixels24(pixels, width, height, bits,
                                   [](BYTE* row, std::ptrdiff_t width) { yuvToRgbRow(row, width); });
}
