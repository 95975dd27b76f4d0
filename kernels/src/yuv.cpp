// RGBtoYUV and YUVtoRGB: 24-bit pixels between blue-green-red and luma with two colour differences.
#include <kernels/pixano.h>

#include "colour_pixels.h"
#include "simd_targets.h"

#include <algorithm>

namespace {

// The weights are single-precision constants; the sums are formed in double precision.
constexpr double kYR = 0.299f, kYG = 0.587f, kYB = 0.114f;
constexpr double kU = 0.565f, kV = 0.713f;
constexpr double kRV = 1.403f, kGU = 0.344f, kGV = 0.714f, kBU = 1.77f;

// The byte of a value the conversions truncate toward zero and clamp to 0..255, written with the
// maximum and minimum a vector register has.
inline int clampedByte(double x) {
    return static_cast<int>(std::min(255.0, std::max(0.0, x)));
}

// (B, G, R) to (Y, U, V) for the `width` pixels of `row`.
PIXANO_VECTOR_CLONES void rgbToYuvRow(BYTE* row, std::ptrdiff_t width) {
    for (std::ptrdiff_t j = 0; j < width; ++j) {
        BYTE* p = row + 3 * j;
        const int b = p[0], g = p[1], r = p[2];
        const int y = static_cast<int>(kYR * r + kYG * g + kYB * b);
        p[0] = static_cast<BYTE>(std::min(y, 255));
        p[1] = static_cast<BYTE>(clampedByte((b - y) * kU + 128));
        p[2] = static_cast<BYTE>(clampedByte((r - y) * kV + 128));
    }
}

// (Y, U, V) to (B, G, R) for the `width` pixels of `row`.
PIXANO_VECTOR_CLONES void yuvToRgbRow(BYTE* row, std::ptrdiff_t width) {
    for (std::ptrdiff_t j = 0; j < width; ++j) {
        BYTE* p = row + 3 * j;
        const int y = p[0], u = p[1] - 128, v = p[2] - 128;
        p[0] = static_cast<BYTE>(clampedByte(y + kBU * u));
        p[1] = static_cast<BYTE>(clampedByte(y - kGU * u - kGV * v));
        p[2] = static_cast<BYTE>(clampedByte(y + kRV * v));
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
