// RGBtoHSL and HSLtoRGB: 24-bit pixels between colour and hue, saturation, lightness on a 0..255 scale.
#include <kernels/pixano.h>

#include "byte_curve.h"
#include "colour_pixels.h"
#include "simd_targets.h"

#include <algorithm>

namespace {

// n / d of integers 0 <= n < 2^24, d > 0, truncated, through a single-precision division: its rounding
// error is below 1 / d, the distance from n / d to the next whole number, so it truncates to the same
// quotient, and a vector register divides where integers cannot.
inline int quotient(int n, int d) {
    return static_cast<int>(static_cast<float>(n) / static_cast<float>(d));
}

// (R, G, B) to (L, S, H) for the `width` pixels of `row`, without branches so it vectorises.
PIXANO_VECTOR_CLONES void rgbToHslRow(BYTE* row, std::ptrdiff_t width) {
    for (std::ptrdiff_t j = 0; j < width; ++j) {
        BYTE* p = row + 3 * j;
        const int r = p[0], g = p[1], b = p[2];
        const int max = std::max(r, std::max(g, b));
        const int min = std::min(r, std::min(g, b));
        const int lightness = ((max + min) * 255 + 255) / 510;
        const int range = max - min;
        // A grey divides by 1 here and takes its own saturation and hue below.
        const int divisor = std::max(range, 1);
        const int sum = std::max(lightness <= 127 ? max + min : 510 - max - min, 1);
        const int saturation = quotient(range * 255 + sum / 2, sum);
        // Every quotient is formed before one is picked: the vectoriser only selects between values.
        auto delta = [&](int c) { return quotient((max - c) * 42 + divisor / 2, divisor); };
        const int deltaR = delta(r), deltaG = delta(g), deltaB = delta(b);
        const int hue = r == max   ? deltaB - deltaG
                        : g == max ? 85 + deltaR - deltaB
                                   : 170 + deltaG - deltaR;
        p[0] = static_cast<BYTE>(lightness);
        p[1] = static_cast<BYTE>(range == 0 ? 0 : saturation);
        p[2] = static_cast<BYTE>((range == 0 ? 170 : hue) & 0xFF);
    }
}

// One colour component of a hue in degrees (brought once into 0..360) between the levels m1 and m2.
// Both slopes are formed before one is picked: the vectoriser only selects between values.
inline float hueLevel(float m1, float m2, float hue) {
    const float above = hue - 360.0f;
    const float below = hue + 360.0f;
    hue = hue > 360.0f ? above : hue < 0.0f ? below : hue;
    const float rising = m1 + (m2 - m1) * hue / 60.0f;
    const float falling = m1 + (m2 - m1) * (240.0f - hue) / 60.0f;
    return hue < 60.0f ? rising : hue < 180.0f ? m2 : hue < 240.0f ? falling : m1;
}

// The byte of a level times 255, truncated and clamped to 0..255 with a vector register's maximum
// and minimum.
inline BYTE levelByte(float level) {
    return static_cast<BYTE>(static_cast<int>(std::min(255.0f, std::max(0.0f, level * 255.0f))));
}

// (L, S, H) to (R, G, B) for the `width` pixels of `row`, without branches so it vectorises.
PIXANO_VECTOR_CLONES void hslToRgbRow(BYTE* row, std::ptrdiff_t width) {
    for (std::ptrdiff_t j = 0; j < width; ++j) {
        BYTE* p = row + 3 * j;
        const float lightness = p[0] / 255.0f;
        const float saturation = p[1] / 255.0f;
        const float hue = static_cast<float>(p[2] * 360) / 255.0f;
        const float darkM2 = lightness * (1.0f + saturation);
        const float lightM2 = lightness + saturation - lightness * saturation;
        const float m2 = lightness <= 0.5f ? darkM2 : lightM2;
        const float m1 = 2.0f * lightness - m2;
        const float red = hueLevel(m1, m2, hue + 120.0f);
        const float green = hueLevel(m1, m2, hue);
        const float blue = hueLevel(m1, m2, hue - 120.0f);
        const bool grey = saturation == 0.0f;
        p[0] = levelByte(grey ? lightness : red);
        p[1] = levelByte(grey ? lightness : green);
        p[2] = levelByte(grey ? lightness : blue);
    }
}

} // namespace

// Converts every pixel, byte 0 taken as red and byte 2 as blue, to (L, S, H) in bytes 0, 1, 2 in
// integer arithmetic; a grey gets S 0 and H 170, and a negative hue wraps into the byte.
// Results: 0 done, 1 null pixels, 2 depth not 24. Caller's thread.
int CPixano::RGBtoHSL(BYTE* pixels, LONG width, LONG height, WORD bits) {
    return pixano::convertPixels24(pixels, width, height, bits, rgbToHslRow);
}

// Converts every pixel (L, S, H) back to colour in single precision, red into byte 0 and blue into
// byte 2, each truncated. Results: 0 done, 1 null pixels, 2 depth not 24. Caller's thread.
int CPixano::HSLtoRGB(BYTE* pixels, LONG width, LONG height, WORD bits) {
    return pixano::convertPixels24(pixels, width, height, bits, hslToRgbRow);
}

// One colour component of a hue in degrees between the levels m1 and m2. Any thread.
float CPixano::HueToRGB(float m1, float m2, float hue) {
    return hueLevel(m1, m2, hue);
}
