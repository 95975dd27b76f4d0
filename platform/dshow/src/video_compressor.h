// Video compressors: the GStreamer video encoders that avimux takes, listed as the compressor category.
#pragma once

#include <string>
#include <vector>

#include <dshow/device_catalog.h>

#include "transform_filter.h"

namespace platform::dshow {

// A compressor stands between a capture pin and the AVI multiplexer: it passes the raw frames on and
// names its GStreamer encoder, which the multiplexer runs in its own pipeline ahead of avimux, so frames
// are encoded once, in stream order, and the encoder is flushed with the file.
class VideoCompressor final : public TransformFilter {
public:
    explicit VideoCompressor(std::string element);

    // The GStreamer element factory name of the encoder.
    const std::string& element() const { return element_; }

    HRESULT checkInputType(const AM_MEDIA_TYPE& type) override;
    HRESULT getOutputType(int index, AM_MEDIA_TYPE* type) override;
    HRESULT transform(IMediaSample* sample) override;

private:
    std::string element_;
};

// The compressor category: one entry per GStreamer video encoder whose output avimux takes, named by the
// encoder's long name and sorted by it. Empty without GStreamer. Throws std::bad_alloc. Any thread.
std::vector<DeviceEntry> videoCompressorDevices();

} // namespace platform::dshow
