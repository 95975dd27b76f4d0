// RGBtoHSL and HSLtoRGB: 24-bit pixels between colour and hue, saturation, lightness on a 0..255 scale.
#include <kernels/pixano.h>

#include "byte_curve.h"
#include "colour_pixels.h"

#include <algorithm>

// Converts every pixel, byte 0 taken as red and byte 2 as blue, to (L, S, H) in bytes 0, 1, 2 in
// integer arithmetic; a grey gets S 0 and H 170, and a negative hue wraps into the byte.
// Results: 0 done, 1 null pixels, 2 depth not 24. Caller's thread.
int CPixano::RGBtoHSL(BYTE* pixels, LONG width, LONG height, WORD bits) {
    return pixano::convertPixels24(pixels, width, height, bits, [](BYTE* p) {
        const int r = p[0], g = p[1], b = p[2];
        const int max = std::max({r, g, b});
        const int min = std::min({r, g, b});
        const int lightness = ((max + min) * 255 + 255) / 510;
        int saturation = 0;
        int hue = 170;
        if (max != min) {
            const int range = max - min;
            const int sum = lightness <= 127 ? max + min : 510 - max - min;
            saturation = (range * 255 + sum / 2) / sum;
            auto delta = [&](int c) { return ((max - c) * 42 + range / 2) / range; };
            if (r == max) {
                hue = delta(b) - delta(g);
            } else if (g == max) {
                hue = 85 + delta(r) - delta(b);
            } else {
                hue = 170 + delta(g) - delta(r);
            }
        }
        p[0] = static_cast<BYTE>(lightness);
        p[1] = static_cast<BYTE>(saturation);
        p[2] = static_cast<BYTE>(hue & 0xFF);
    });
}

// Converts every pixel (L, S, H) back to colour in single precision, red into byte 0 and blue into
// byte 2, each truncated. Results: 0 done, 1 null pixels, 2 depth not 24. Caller's thread.
int CPixano::HSLtoRGB(BYTE* pixels, LONG width, LONG height, WORD bits) {
    return pixano::convertPixels24(pixels, width, height, bits, [this](BYTE* p) {
        const float lightness = p[0] / 255.0f;
        const float saturation = p[1] / 255.0f;
        const float hue = static_cast<float>(p[2] * 360) / 255.0f;
        if (saturation == 0.0f) {
            p[0] = p[1] = p[2] = pixano::truncateToByte(lightness * 255.0f);
            return;
        }
        const float m2 = lightness <= 0.5f ? lightness * (1.0f + saturation)
                                           : lightness + saturation - lightness * saturation;
        const float m1 = 2.0f * lightness - m2;
        p[0] = pixano::truncateToByte(HueToRGB(m1, m2, hue + 120.0f) * 255.0f);
        p[1] = pixano::truncateToByte(HueToRGB(m1, m2, hue) * 255.0f);
        p[2] = pixano::truncateToByte(HueToRGB(m1, m2, hue - 120.0f) * 255.0f);
    });
}

// One colour component of a hue in degrees (brought once into 0..360) between the levels m1 and m2.
float CPixano::HueToRGB(float m1, float m2, float hue) {
    if (hue > 360.0f) {
        hue -= 360.0f;
    } else if (hue < 0.0f) {
        hue += 360.0f;
    }
    if (hue < 60.0f) {
        return m1 + (m2 - m1) * hue / 60.0f;
    }
    if (hue < 180.0f) {
        return m2;
    }
    if (hue < 240.0f) {
        return m1 + (m2 - m1) * (240.0f - hue) / 60.0f;
    }
    return m1;
}
