// The video processing amplifier's properties: ranges, defaults and stored values.
#pragma once

#include "amplifier_effect.h"

#include <win32/types.h>

#include <array>
#include <optional>

namespace platform::devices {

struct ProcAmpRange {
    LONG min, max, step, defaultValue;
};

// Brightness 0..255, contrast 0..63, saturation 0..63, sharpness 0..15, gamma 0..63; the other
// properties are not supported. Values are stored and read back; the picture uses them only when the
// device applies them.
// Not thread-safe: the owning device serialises access.
class ProcAmp {
public:
    ProcAmp();
    // The range of `property` (0 to 9), or nothing when it is not supported.
    static std::optional<ProcAmpRange> range(LONG property);
    // False when unsupported or `value` is outside the range.
    bool set(LONG property, LONG value);
    std::optional<LONG> get(LONG property) const;
    // The values of the five supported properties.
    AmplifierLevels levels() const;

private:
    std::array<LONG, 10> values_{};
};

} // namespace platform::devices
