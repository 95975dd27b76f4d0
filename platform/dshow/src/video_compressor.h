// Video compressors: the known GStreamer encoders that are installed, listed as the compressor category.
#pragma once

#include <string>
#include <vector>

#include <dshow/capture.h>
#include <dshow/device_catalog.h>

#include "known_encoders.h"
#include "transform_filter.h"

namespace platform::dshow {

// A compressor stands between a capture pin and the AVI multiplexer: it passes the raw frames on and
// names its GStreamer encoder, which the multiplexer runs in its own pipeline ahead of avimux, so frames
// are encoded once, in stream order, and the encoder is flushed with the file. An encoder with settings
// offers its configuration dialog; the settings chosen there are kept by name for the next recording.
class VideoCompressor final : public WithInterfaces<TransformFilter, IAMVfwCompressDialogs> {
public:
    VideoCompressor(std::string name, const KnownEncoder& encoder);

    // The encoder's launch description with the settings kept for this compressor's name now.
    std::string encoderDescription() const;

    HRESULT checkInputType(const AM_MEDIA_TYPE& type) override;
    HRESULT getOutputType(int index, AM_MEDIA_TYPE* type) override;
    HRESULT transform(IMediaSample* sample) override;

    // VfwCompressDialog_Config shows the dialog (S_OK also on Cancel), VfwCompressDialog_QueryConfig
    // answers S_OK; the About forms are not offered (E_NOTIMPL). GUI thread.
    HRESULT STDMETHODCALLTYPE ShowDialog(int dialog, HWND owner) override;

protected:
    // IAMVfwCompressDialogs only for an encoder that has settings.
    void* queryInterface(REFIID riid) override;

private:
    std::string name_; // FriendlyName, UTF-8
    const KnownEncoder& encoder_;
};

// The compressor category: one entry per installed known encoder, named by the encoder's long name and
// sorted by it. Empty without GStreamer. Throws std::bad_alloc. Any thread.
std::vector<DeviceEntry> videoCompressorDevices();

} // namespace platform::dshow
