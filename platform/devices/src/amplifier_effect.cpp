// Amplifier effect: a row sharpening pass, one tone table for brightness, contrast and gamma, then
// saturation.
#include "amplifier_effect.h"

#include "byte_round.h"

#include <win32/dib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace platform::devices {
namespace {

using ToneTable = std::array<BYTE, 256>;

constexpr AmplifierLevels kNeutral;

ToneTable toneTable(const AmplifierLevels& levels) {
    const double exponent = std::pow(2.0, double(kNeutral.gamma - levels.gamma) / 32.0);
    ToneTable table{};
    for (int v = 0; v < 256; ++v) {
        double x = v + (levels.brightness - kNeutral.brightness);
        x = 128.0 + (x - 128.0) * levels.contrast / kNeutral.contrast;
        x = std::clamp(x, 0.0, 255.0);
        table[v] = roundToByte(255.0 * std::pow(x / 255.0, exponent));
    }
    return table;
}

// Each sample moves away from (or towards) the mean of its left and right neighbours by `amount` of the
// difference; the first and last pixel of a row stand in for their missing neighbour.
void sharpenRow(BYTE* row, LONG width, double amount, std::vector<BYTE>& original) {
    original.assign(row, row + width * 3);
    for (LONG x = 0; x < width; ++x) {
        const LONG left = x > 0 ? x - 1 : x;
        const LONG right = x + 1 < width ? x + 1 : x;
        for (int c = 0; c < 3; ++c) {
            const double centre = original[x * 3 + c];
            const double around = (original[left * 3 + c] + original[right * 3 + c]) / 2.0;
            row[x * 3 + c] = roundToByte(centre + amount * (centre - around));
        }
    }
}

void saturatePixel(BYTE* pixel, double factor) {
    const double luma = 0.114 * pixel[0] + 0.587 * pixel[1] + 0.299 * pixel[2];
    for (int c = 0; c < 3; ++c)
        pixel[c] = roundToByte(luma + (pixel[c] - luma) * factor);
}

} // namespace

void applyAmplifier(const AmplifierLevels& levels, LONG width, LONG height, BYTE* bgr) {
    const std::size_t stride = static_cast<std::size_t>(DibStride(width, 24));
    if (levels.sharpness != kNeutral.sharpness) {
        const double amount = double(levels.sharpness - kNeutral.sharpness) / kNeutral.sharpness;
        std::vector<BYTE> original;
        for (LONG y = 0; y < height; ++y)
            sharpenRow(bgr + y * stride, width, amount, original);
    }
    if (levels.brightness != kNeutral.brightness || levels.contrast != kNeutral.contrast ||
        levels.gamma != kNeutral.gamma) {
        const ToneTable table = toneTable(levels);
        for (LONG y = 0; y < height; ++y) {
            BYTE* row = bgr + y * stride;
            for (LONG i = 0; i < width * 3; ++i)
                row[i] = table[row[i]];
        }
    }
    if (levels.saturation != kNeutral.saturation) {
        const double factor = double(levels.saturation) / kNeutral.saturation;
        for (LONG y = 0; y < height; ++y)
            for (LONG x = 0; x < width; ++x)
                saturatePixel(bgr + y * stride + x * 3, factor);
    }
}

} // namespace platform::devices
