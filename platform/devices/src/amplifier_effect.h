// The video processing amplifier's effect on a rendered frame: sharpness, brightness, contrast, gamma and
// saturation.
#pragma once

#include <win32/types.h>

namespace platform::devices {

// Amplifier values as the device holds them; the defaults, which are the ones the viewer starts with, leave
// a frame unchanged.
struct AmplifierLevels {
    LONG brightness = 80; // 0..255: added as brightness - 80
    LONG contrast = 36;   // 0..63: scales around mid grey by contrast / 36
    LONG saturation = 36; // 0..63: scales the colour around the pixel's luma by saturation / 36
    LONG sharpness = 10;  // 0..15: below 10 blurs, above 10 sharpens along each row
    LONG gamma = 15;      // 0..63: maps v to 255 (v / 255)^e, e = 2^((15 - gamma) / 32)

    bool operator==(const AmplifierLevels&) const = default;
};

// Applies `levels` in place to a 24-bit bottom-up BGR frame of width x height with rows padded to 4 bytes;
// padding stays. Any thread.
void applyAmplifier(const AmplifierLevels& levels, LONG width, LONG height, BYTE* bgr);

} // namespace platform::devices
