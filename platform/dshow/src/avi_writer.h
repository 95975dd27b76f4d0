// AviWriter: a GStreamer pipeline writing raw video frames, optionally encoded, into an AVI file.
#pragma once

#include <memory>
#include <string>

#include <dshow/com.h>

#include "raw_video_caps.h"

namespace platform::dshow {

class AviWriter {
public:
    AviWriter();
    ~AviWriter();
    AviWriter(const AviWriter&) = delete;
    AviWriter& operator=(const AviWriter&) = delete;

    // Whether avimux takes `caps` as they are (an uncompressed recording).
    static bool muxAccepts(const RawVideoCaps& caps);

    // Starts writing `path` (a native path): frames of `caps`, through the GStreamer element `encoder`
    // when it is not empty. E_FAIL when GStreamer or the element is missing or the file cannot be
    // opened. The graph's thread.
    HRESULT open(const RawVideoCaps& caps, const std::string& encoder, const std::string& path);
    // Queues one frame of caps.frameBytes bytes (more are cut, fewer refused with E_INVALIDARG); E_FAIL
    // once the pipeline has failed. Streaming thread.
    HRESULT write(const BYTE* data, std::size_t size);
    // Ends the stream so the multiplexer writes its index, waits for the file to be complete and closes
    // it; does nothing when not open. E_FAIL when the pipeline reported an error. The graph's thread.
    HRESULT close();

private:
    struct Pipeline;
    std::unique_ptr<Pipeline> pipeline_;
};

} // namespace platform::dshow
