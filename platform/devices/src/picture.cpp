// Chart rendering: v = clamp(round(black + 255 L (E/660) (g/32) S + noise)), S = base + (Pat - 0.5) 2A C(p).
#include "picture.h"

#include "byte_round.h"
#include "scene_caption.h"

#include <win32/dib.h>

#include <algorithm>
#include <cmath>

namespace platform::devices {
namespace {

constexpr int kCell = 8; // checkerboard cell in pixels

uint64_t mix(uint64_t x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// Zero-mean noise of unit variance for one sample, fixed by the noise key, frame and sample index.
double unitNoise(uint32_t key, uint64_t frame, uint64_t sample)
{
    const uint64_t h = mix(mix(key ^ (frame << 32)) ^ sample);
    // Sum of four 16-bit uniforms: mean 2, variance 1/3.
    double sum = 0;
    for (int i = 0; i < 4; ++i)
        sum += double((h >> (16 * i)) & 0xFFFF) / 65536.0;
    return (sum - 2.0) * std::sqrt(3.0);
}

// Natural scene around a neutral centre: tinted patches in a 4 x 4 layout, darker grid lines every
// 64 pixels and a dark caption, outside the middle half of the frame. Base reflectance per channel
// 0.3 to 0.6, so that the chart's swing never clips at the white balance target.
void naturalBase(LONG x, LONG y, LONG width, LONG height, double out[3])
{
    out[0] = out[1] = out[2] = 0.5;
    if (x >= width / 4 && x < width - width / 4 && y >= height / 4 && y < height - height / 4)
        return;
    if (captionAt(x, y, width)) {
        out[0] = out[1] = out[2] = 0.3;
        return;
    }
    if (x % 64 == 0 || y % 64 == 0) {
        out[0] = out[1] = out[2] = 0.42;
        return;
    }
    static constexpr double kTints[4][3] = {{0.56, 0.5, 0.44}, {0.44, 0.54, 0.5}, {0.5, 0.45, 0.58}, {0.58, 0.56, 0.42}};
    const int patch = int((x * 4 / width) + (y * 4 / height)) % 4;
    for (int c = 0; c < 3; ++c)
        out[c] = kTints[patch][c];
}


} // namespace

double focusContrast(double position, double peak, double range)
{
    return std::max(0.05, 1.0 - std::fabs(position - peak) / range);
}

void lightColour(Light colour, double level, double outBgr[3])
{
    double red = 1, blue = 1;
    if (colour == Light::Warm) {
        red = 1.3;
        blue = 0.6;
    } else if (colour == Light::Cool) {
        red = 0.7;
        blue = 1.2;
    }
    outBgr[0] = level * blue;
    outBgr[1] = level;
    outBgr[2] = level * red;
}

void renderBgr(const PictureParams& params, LONG width, LONG height, BYTE* out)
{
    const LONG stride = DibStride(width, 24);
    double scale[3];
    for (int c = 0; c < 3; ++c)
        scale[c] = 255.0 * params.light[c] * (params.exposure / 660.0) * (params.gain[c] / 32.0);
    const double swing = params.uniform ? 0.0 : 2.0 * params.amplitude * focusContrast(params.position, params.peak, params.range);

    for (LONG y = 0; y < height; ++y) {
        BYTE* row = out + std::size_t(height - 1 - y) * stride; // y counts from the top
        for (LONG x = 0; x < width; ++x) {
            const double pattern = (((x / kCell) + (y / kCell)) & 1) ? 0.5 : -0.5;
            double base[3] = {0.5, 0.5, 0.5};
            if (params.scene == Scene::Natural)
                naturalBase(x, y, width, height, base);
            for (int c = 0; c < 3; ++c) {
                double v = params.blackLevel + scale[c] * (base[c] + pattern * swing);
                if (params.noiseSigma > 0)
                    v += params.noiseSigma * unitNoise(params.noiseKey, params.frameIndex,
                                                       (uint64_t(y) * width + x) * 3 + c);
                row[x * 3 + c] = roundToByte(v);
            }
        }
        std::fill(row + width * 3, row + stride, BYTE(0));
    }
    if (params.amplifier)
        applyAmplifier(*params.amplifier, width, height, out);
}

} // namespace platform::devices
