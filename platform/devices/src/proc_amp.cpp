// Video processing amplifier ranges and values.
#include "proc_amp.h"

#include <dshow/capture.h>

namespace platform::devices {
namespace {

// Defaults where the amplifier leaves the picture unchanged.
constexpr AmplifierLevels kNeutral;
constexpr std::optional<ProcAmpRange> kRanges[10] = {
    ProcAmpRange{0, 255, 1, kNeutral.brightness},
    ProcAmpRange{0, 63, 1, kNeutral.contrast},
    std::nullopt,                 // hue
    ProcAmpRange{0, 63, 1, kNeutral.saturation},
    ProcAmpRange{0, 15, 1, kNeutral.sharpness},
    ProcAmpRange{0, 63, 1, kNeutral.gamma},
    std::nullopt,                 // colour enable
    std::nullopt,                 // white balance
    std::nullopt,                 // backlight compensation
    std::nullopt,                 // gain
};

} // namespace

ProcAmp::ProcAmp()
{
    for (LONG p = 0; p < 10; ++p)
        if (kRanges[p])
            values_[p] = kRanges[p]->defaultValue;
}

std::optional<ProcAmpRange> ProcAmp::range(LONG property)
{
    if (property < 0 || property >= 10)
        return std::nullopt;
    return kRanges[property];
}

bool ProcAmp::set(LONG property, LONG value)
{
    const auto r = range(property);
    if (!r || value < r->min || value > r->max)
        return false;
    values_[property] = value;
    return true;
}

std::optional<LONG> ProcAmp::get(LONG property) const
{
    if (!range(property))
        return std::nullopt;
    return values_[property];
}

AmplifierLevels ProcAmp::levels() const {
    AmplifierLevels levels;
    levels.brightness = values_[VideoProcAmp_Brightness];
    levels.contrast = values_[VideoProcAmp_Contrast];
    levels.saturation = values_[VideoProcAmp_Saturation];
    levels.sharpness = values_[VideoProcAmp_Sharpness];
    levels.gamma = values_[VideoProcAmp_Gamma];
    return levels;
}

} // namespace platform::devices
