// Image sensor registers, power-on values and the frame latency of writes.
#include "image_sensor.h"

#include <algorithm>

namespace platform::devices {

ImageSensor::ImageSensor()
{
    stored_[kExposure] = 660;
    stored_[kGainRed] = 31;
    stored_[kGainGreen1] = 21;
    stored_[kGainGreen2] = 21;
    stored_[kGainBlue] = 40;
    effective_ = stored_;
}

HRESULT ImageSensor::write(BYTE reg, const BYTE* data, BYTE count, uint64_t effectiveFrame)
{
    if (count != 2)
        return E_INVALIDARG;
    const WORD value = static_cast<WORD>(data[0] << 8 | data[1]);
    stored_[reg] = value;
    // Between frames a register keeps one pending value per effective frame.
    for (Pending& p : pending_)
        if (p.reg == reg && p.frame == effectiveFrame) {
            p.value = value;
            return S_OK;
        }
    pending_.push_back({effectiveFrame, reg, value});
    return S_OK;
}

HRESULT ImageSensor::read(BYTE reg, BYTE* data, BYTE count) const
{
    if (count != 2)
        return E_INVALIDARG;
    data[0] = static_cast<BYTE>(stored_[reg] >> 8);
    data[1] = static_cast<BYTE>(stored_[reg]);
    return S_OK;
}

SensorExposure ImageSensor::exposureFor(uint64_t frame)
{
    // Pending writes are kept in write order, so a later write to the same register wins.
    auto due = [frame](const Pending& p) { return p.frame <= frame; };
    for (const Pending& p : pending_)
        if (due(p))
            effective_[p.reg] = p.value;
    std::erase_if(pending_, due);

    auto gain = [this](BYTE reg) { return std::min<double>(effective_[reg], 63); };
    SensorExposure out;
    out.exposure = std::clamp<double>(effective_[kExposure], 1, 16383);
    out.gainBlue = gain(kGainBlue);
    out.gainRed = gain(kGainRed);
    out.gainGreen = (gain(kGainGreen1) + gain(kGainGreen2)) / 2;
    return out;
}

} // namespace platform::devices
