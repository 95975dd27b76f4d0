// The picture model's values: the focus curve, light colours and the per-material palette of a frame.
#include "picture.h"

#include "byte_round.h"

#include <algorithm>
#include <cmath>

namespace platform::devices {

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

Palette paletteFor(const PictureParams& params)
{
    double scale[3];
    for (int c = 0; c < 3; ++c)
        scale[c] = 255.0 * params.light[c] * (params.exposure / 660.0) * (params.gain[c] / 32.0);
    const double swing = params.uniform ? 0.0 : 2.0 * params.amplitude * focusContrast(params.position, params.peak, params.range);
    Palette palette{};
    for (int m = 0; m < kMaterialCount; ++m) {
        const double* base = reflectance(Material(m));
        for (int cell = 0; cell < 2; ++cell) {
            const double pattern = cell ? 0.5 : -0.5;
            for (int c = 0; c < 3; ++c)
                palette.bgr[m][cell][c] = roundToByte(params.blackLevel + scale[c] * (base[c] + pattern * swing));
        }
    }
    return palette;
}

} // namespace platform::devices
