// The video processing amplifier's effect on a rendered frame: sharpness, brightness, contrast, gamma and
// saturation.
#pragma once

#include <win32/types.h>

namespace platform::devices {

// Amplifier values as the device holds them; the defaults leave a frame unchanged.
struct AmplifierLevels {
    LONG brightness = 128; // 0..255: added as brightness - 128
    LONG contrast = 32;    // 0..63: scales around mid grey by contrast / 32
    LONG saturation = 32;  // 0..63: scales the colour around the pixel's luma by saturation / 32
    LONG sharpness = 8;    // 0..15: below 8 blurs, above 8 sharpens along each row
    LONG gamma = 32;       // 0..63: maps v to 255 (v / 255)^e, e = 2^((32 - gamma) / 32)

    bool operator==(const AmplifierLevels&) const = default;
};

// Applies `levels` in place to a 24-bit bottom-up BGR frame of width x height with rows padded to 4 bytes;
// padding stays. Any thread.
void applyAmplifier(const AmplifierLevels& levels, LONG width, LONG height, BYTE* bgr);

} // namespace platform::devices
