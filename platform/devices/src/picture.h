// The picture model: chart brightness from light, exposure and gains, chart contrast from the focus position.
#pragma once

#include "amplifier_effect.h"
#include "scene_layout.h"

#include <devices/simulated_camera.h>

#include <optional>

namespace platform::devices {

// Everything one frame's pixels depend on.
struct PictureParams {
    double light[3] = {1, 1, 1}; // L times the light colour times the sensor's sensitivity, blue, green, red
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
    bool frameCounter = false; // the counter drawn into the natural scene
    Scene scene = Scene::Chart;
    std::optional<AmplifierLevels> amplifier; // applied after the chart when set
};

// Chart contrast at lens position p: max(0.05, 1 - |p - p*| / R).
double focusContrast(double position, double peak, double range);

// Light multipliers (red, green, blue order as the colour names give them) of a light colour.
void lightColour(Light colour, double level, double outBgr[3]);

// The noise-free BGR value of each material on the dark (index 0) and bright (1) cells of the chart:
// clamp(round(black + 255 L_c (E/660) (g_c/32) (base_c -/+ A C(p))), 0, 255).
struct Palette {
    BYTE bgr[kMaterialCount][2][3];
};
Palette paletteFor(const PictureParams& params);

} // namespace platform::devices
