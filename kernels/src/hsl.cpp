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
PIXANO_BASELINE void rgbToHslRow(BYTE* row, std::ptrdiff_t width) {
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

#ifdef PIXANO_HAVE_WIDE_VECTORS
// The same in 32-bit lanes, 16 pixels at a time.

constexpr pixano::LaneSpread kRed({0, -1, -1, -1}), kGreen({1, -1, -1, -1}), kBlue({2, -1, -1, -1});

// quotient() of each lane.
PIXANO_WIDE_VECTORS inline __m512i quotients(__m512i n, __m512i d) {
    return _mm512_cvttps_epi32(_mm512_div_ps(_mm512_cvtepi32_ps(n), _mm512_cvtepi32_ps(d)));
}

// x * factor for lanes x of 0..32767: the high half of each lane is zero, so a pair multiply-add with
// a zero weight in the high half is the product.
PIXANO_WIDE_VECTORS inline __m512i times(__m512i x, int16_t factor) {
    return _mm512_madd_epi16(x, _mm512_set1_epi32(factor));
}

// (R, G, B) to (L, S, H) for 16 pixels; of the three hue differences only the two that the hue's
// formula takes are divided.
struct HslOfRgb {
    PIXANO_WIDE_VECTORS __m512i operator()(__m512i pixels) const {
        const __m512i r = kRed(pixels), g = kGreen(pixels), b = kBlue(pixels);
        const __m512i max = _mm512_max_epi32(r, _mm512_max_epi32(g, b));
        const __m512i min = _mm512_min_epi32(r, _mm512_min_epi32(g, b));
        const __m512i one = _mm512_set1_epi32(1);
        // ((max + min) * 255 + 255) / 510 is (max + min + 1) / 2.
        const __m512i maxPlusMin = _mm512_add_epi32(max, min);
        const __m512i lightness = _mm512_srli_epi32(_mm512_add_epi32(maxPlusMin, one), 1);
        const __m512i range = _mm512_sub_epi32(max, min);
        const __m512i divisor = _mm512_max_epi32(range, one);
        const __mmask16 light = _mm512_cmpgt_epi32_mask(lightness, _mm512_set1_epi32(127));
        const __m512i sum = _mm512_max_epi32(
            _mm512_mask_sub_epi32(maxPlusMin, light, _mm512_set1_epi32(510), maxPlusMin), one);
        const __m512i saturation =
            quotients(_mm512_add_epi32(times(range, 255), _mm512_srli_epi32(sum, 1)), sum);
        // offset + delta(plus) - delta(minus), picked by the maximum: red 0 + delta(b) - delta(g), green
        // 85 + delta(r) - delta(b), blue 170 + delta(g) - delta(r).
        const __mmask16 redMax = _mm512_cmpeq_epi32_mask(r, max);
        const __mmask16 greenMax = _mm512_cmpeq_epi32_mask(g, max);
        auto pick = [redMax, greenMax](__m512i ofRed, __m512i ofGreen, __m512i ofBlue) PIXANO_WIDE_VECTORS {
            return _mm512_mask_blend_epi32(redMax, _mm512_mask_blend_epi32(greenMax, ofBlue, ofGreen), ofRed);
        };
        const __m512i halfDivisor = _mm512_srli_epi32(divisor, 1);
        auto delta = [&](__m512i c) PIXANO_WIDE_VECTORS {
            return quotients(_mm512_add_epi32(times(_mm512_sub_epi32(max, c), 42), halfDivisor), divisor);
        };
        const __m512i offset = pick(_mm512_setzero_si512(), _mm512_set1_epi32(85), _mm512_set1_epi32(170));
        const __m512i hue =
            _mm512_sub_epi32(_mm512_add_epi32(offset, delta(pick(b, r, g))), delta(pick(g, b, r)));
        const __mmask16 grey = _mm512_cmpeq_epi32_mask(range, _mm512_setzero_si512());
        return pixano::packLanes(lightness, _mm512_maskz_mov_epi32(static_cast<__mmask16>(~grey), saturation),
                                 _mm512_mask_mov_epi32(_mm512_and_si512(hue, _mm512_set1_epi32(0xFF)), grey,
                                                       _mm512_set1_epi32(170)));
    }
};

PIXANO_WIDE_VECTORS void rgbToHslRow(BYTE* row, std::ptrdiff_t width) {
    pixano::convertBy16(row, width, HslOfRgb());
}
#endif

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
    return pixano::convertPixels24(pixels, width, height, bits,
                                   [](BYTE* row, std::ptrdiff_t width) { rgbToHslRow(row, width); });
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
