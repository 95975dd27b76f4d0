// RGBtoYUV and YUVtoRGB: 24-bit pixels between blue-green-red and luma with two colour differences.
#include <kernels/pixano.h>

#include "byte_curve.h"
#include "colour_pixels.h"

#include <array>

namespace {

// The weights are single-precision constants; the sums are formed in double precision.
constexpr double kYR = 0.299f, kYG = 0.587f, kYB = 0.114f;
constexpr double kU = 0.565f, kV = 0.713f;
constexpr double kRV = 1.403f, kGU = 0.344f, kGV = 0.714f, kBU = 1.77f;

} // namespace

// Converts every pixel (B, G, R) to (Y, U, V) in bytes 0, 1, 2, each truncated and clamped to 0..255.
// Results: 0 done, 1 null pixels, 2 depth not 24. Caller's thread.
int CPixano::RGBtoYUV(BYTE* pixels, LONG width, LONG height, WORD bits) {
    // U and V depend only on the differences B - Y and R - Y (-255 .. 255): one table each.
    std::array<BYTE, 511> uOf;
    std::array<BYTE, 511> vOf;
    for (int d = -255; d <= 255; ++d) {
        uOf[d + 255] = pixano::truncateToByte(d * kU + 128);
        vOf[d + 255] = pixano::truncateToByte(d * kV + 128);
    }
    return pixano::convertPixels24(pixels, width, height, bits, [&](BYTE* p) {
        const int b = p[0], g = p[1], r = p[2];
        const int y = static_cast<int>(kYR * r + kYG * g + kYB * b);
        p[0] = pixano::truncateToByte(y);
        p[1] = uOf[b - y + 255];
        p[2] = vOf[r - y + 255];
    });
}

// Converts every pixel (Y, U, V) back to (B, G, R), each truncated and clamped to 0..255.
// Results: 0 done, 1 null pixels, 2 depth not 24. Caller's thread.
int CPixano::YUVtoRGB(BYTE* pixels, LONG width, LONG height, WORD bits) {
    return pixano::convertPixels24(pixels, width, height, bits, [](BYTE* p) {
        const int y = p[0], u = p[1] - 128, v = p[2] - 128;
        p[0] = pixano::truncateToByte(y + kBU * u);
        p[1] = pixano::truncateToByte(y - kGU * u - kGV * v);
        p[2] = pixano::truncateToByte(y + kRV * v);
    });
}
