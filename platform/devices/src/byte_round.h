// Rounding of a sample value to a byte, shared by the picture and the YUV conversion.
#pragma once

#include <win32/types.h>

namespace platform::devices {

// clamp(round(v), 0, 255), rounding half away from zero.
inline BYTE roundToByte(double v)
{
    if (!(v > 0))
        return 0;
    return v >= 254.5 ? 255 : static_cast<BYTE>(v + 0.5);
}

} // namespace platform::devices
