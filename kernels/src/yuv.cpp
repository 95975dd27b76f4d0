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
// with a byte stay within 32 bits: floor((w * x) / 2^bits) is
// floor((high * x + floor(low * x / 2^split)) / 2^(bits - split)).
struct SplitWeight {
    int32_t high;
    int32_t low;
};
constexpr SplitWeight split(double weight, int bits, int at) {
    return {units(weight, bits) >> at, units(weight, bits) & ((1 << at) - 1)};
}

constexpr int kLumaSplit = 11;  // luma weights: 27 fraction bits
constexpr int kChromaSplit = 8; // colour-difference weights: 24 and 25 fraction bits
constexpr SplitWeight kLumaR = split(kYR, 27, kLumaSplit), kLumaG = split(kYG, 27, kLumaSplit),
                      kLumaB = split(kYB, 27, kLumaSplit);
constexpr SplitWeight kOfU = split(kU, 24, kChromaSplit), kOfV = split(kV, 24, kChromaSplit);
constexpr SplitWeight kGreenU = split(kGU, 25, kChromaSplit), kGreenV = split(kGV, 25, kChromaSplit);
constexpr int32_t kRedV = units(kRV, 23), kBlueU = units(kBU, 23);

inline BYTE clampedByte(int32_t x) {
    return static_cast<BYTE>(std::min(255, std::max(0, x)));
}

// trunc(d * weight + 128) clamped to a byte, for a difference d of -255..255 and a weight of 24
// fraction bits; truncation and flooring differ only below 0, which clamps to 0 either way.
inline BYTE offsetDifference(int32_t d, SplitWeight weight) {
    const int32_t low = (d * weight.low) >> kChromaSplit;
    return clampedByte((d * weight.high + (128 << (24 - kChromaSplit)) + low) >> (24 - kChromaSplit));
}

// (B, G, R) to (Y, U, V) for the `width` pixels of `row`.
PIXANO_VECTOR_CLONES void rgbToYuvRow(BYTE* row, std::ptrdiff_t width) {
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
PIXANO_VECTOR_CLONES void yuvToRgbRow(BYTE* row, std::ptrdiff_t width) {
    for (std::ptrdiff_t j = 0; j < width; ++j) {
        BYTE* p = row + 3 * j;
        const int32_t y = p[0], u = p[1] - 128, v = p[2] - 128;
        const int32_t greenLow = -(u * kGreenU.low + v * kGreenV.low) >> kChromaSplit;
        const int32_t green = (greenLow - u * kGreenU.high - v * kGreenV.high) >> (25 - kChromaSplit);
        p[0] = clampedByte(y + ((u * kBlueU) >> 23));
        p[1] = clampedByte(y + green);
        p[2] = clampedByte(y + ((v * kRedV) >> 23));
    }
}

} // namespace

// Converts every pixel (B, G, R) to (Y, U, V) in bytes 0, 1, 2, each truncated and clamped to 0..255.
// Results: 0 done, 1 null pixels, 2 depth not 24. Caller's thread.
int CPixano::RGBtoYUV(BYTE* pixels, LONG width, LONG height, WORD bits) {
    return pixano::convertPixels24(pixels, width, height, bits, rgbToYuvRow);
}

// Converts every pixel (Y, U, V) back to (B, G, R), each truncated and clamped to 0..255.
// Results: 0 done, 1 null pixels, 2 depth not 24. Caller's thread.
int CPixano::YUVtoRGB(BYTE* pixels, LONG width, LONG height, WORD bits) {
    return pixano::convertPixels24(pixels, width, height, bits, yuvToRgbRow);
}
