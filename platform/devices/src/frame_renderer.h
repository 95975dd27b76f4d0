// Renders frames of the picture model in any offered format, from a few distinct rows.
#pragma once

#include "picture.h"
#include "scene_layout.h"
#include "sensor_noise.h"

#include <devices/video_format.h>

#include <vector>

namespace platform::devices {

// Frame rows that show the same materials on the same chart cells are equal before the noise, so each
// distinct row is drawn (and run through the amplifier and the YUV conversion) once, then every frame row is
// copied from it with its own noise. Keeps the scene layout and noise tile between frames. Not thread-safe:
// the owner serialises calls.
class FrameRenderer {
public:
    // Renders `params` in `format` into the frameBytes(format) bytes at `out`.
    void render(const PictureParams& params, const VideoFormat& format, BYTE* out);

private:
    const SceneLayout& layoutFor(const PictureParams& params, LONG width, LONG height);
    void drawRows(const PictureParams& params, const SceneLayout& layout);
    void writeRgb(uint64_t frame, BYTE* out) const;
    void writePacked(uint64_t frame, bool yFirst, BYTE* out);
    void writePlanar(uint64_t frame, BYTE* out);

    SceneLayout base_;        // the scene without the counter; width 0 until first used
    SceneLayout withCounter_; // base_ and this frame's counter
    SensorNoise noise_;
    LONG width_ = 0, height_ = 0;
    std::vector<BYTE> rows_;         // distinct BGR rows, DIB stride apart
    std::vector<uint32_t> rowOf_;    // frame row y (from the top) -> distinct row
    std::vector<BYTE> converted_;    // the distinct rows in the output format
};

} // namespace platform::devices
