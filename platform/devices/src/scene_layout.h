// Where each material of the scene lies: the distinct rows of material ids and which row each frame row shows.
#pragma once

#include <devices/simulated_camera.h>

#include <cstdint>
#include <vector>

namespace platform::devices {

// Surfaces of the scene; reflectance() gives each one's base per channel.
enum Material : BYTE { kNeutral, kText, kGrid, kTint0, kTint1, kTint2, kTint3, kMaterialCount };

// Base reflectance of `material` (blue, green, red), before the chart's swing.
const double* reflectance(Material material);

struct SceneLayout {
    Scene scene = Scene::Chart;
    LONG width = 0;
    LONG height = 0;
    std::vector<std::vector<BYTE>> rows; // distinct rows of `width` material ids
    std::vector<uint32_t> rowOf;         // frame row y (from the top) -> index into rows
};

// The layout of `scene` at width x height: the chart is neutral everywhere; the natural scene has tinted
// patches in a 4 x 4 layout, grid lines every 64 pixels and the caption, outside the middle half of the
// frame. Base reflectances stay within 0.3 to 0.6, so the chart's swing never clips at the white balance
// target. Pure; any thread.
SceneLayout layoutScene(Scene scene, LONG width, LONG height);

// Writes the frame counter "FRAME nnnnnn" into `layout` below the caption, outside the middle half.
// Pure on its arguments; any thread.
void showFrameCounter(SceneLayout& layout, uint64_t frame);

} // namespace platform::devices
