// The rendered scene: chart brightness from light, exposure and gains, chart contrast from the focus position.
#pragma once

#include "amplifier_effect.h"

#include <devices/simulated_camera.h>

#include <optional>

namespace platform::devices {

// Everything one frame's pixels depend on.
struct PictureParams {
    double light[3] = {1, 1, 1}; // L times the light colour, blue, green, red
    double exposure = 660;
    double gain[3] = {40, 21, 31}; // blue, green, red
    double position = 180;         // lens position p
    double peak = 240;             // p*
    double range = 400;            // R
    double amplitude = 0.15;       // A
    double noiseSigma = 0;
    uint32_t noiseKey = 0;
    uint64_t frameIndex = 0;
    double blackLevel = 0;
    bool uniform = false;
    Scene scene = Scene::Chart;
    std::optional<AmplifierLevels> amplifier; // applied after the chart when set
};

// Chart contrast at lens position p: max(0.05, 1 - |p - p*| / R).
double focusContrast(double position, double peak, double range);

// Light multipliers (red, green, blue order as the colour names give them) of a light colour.
void lightColour(Light colour, double level, double outBgr[3]);

// Renders a 24-bit bottom-up BGR frame of `width` x `height` (rows padded to 4 bytes) into `out`.
// Pure function of its arguments; any thread.
void renderBgr(const PictureParams& params, LONG width, LONG height, BYTE* out);

} // namespace platform::devices
