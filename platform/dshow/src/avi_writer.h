// AviWriter: a GStreamer pipeline writing raw video frames, optionally encoded, into an AVI file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <dshow/com.h>

#include "raw_video_caps.h"

namespace platform::dshow {

class AviWriter {
public:
    // Frames of one file: taken into the file, and dropped because the encoder fell a full queue behind
    // or the pipeline had failed.
    struct Counts {
        std::uint64_t written = 0;
        std::uint64_t dropped = 0;
    };

    AviWriter();
    ~AviWriter();
    AviWriter(const AviWriter&) = delete;
    AviWriter& operator=(const AviWriter&) = delete;

    // Whether avimux takes `caps` as they are (an uncompressed recording).
    static bool muxAccepts(const RawVideoCaps& caps);

    // Starts writing `path` (a native path): frames of `caps`, through the GStreamer launch description
    // `encoder` when it is not empty, and waits (bounded) until the pipeline plays. A file that cannot be
    // made gives HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND) without its folder, else E_ACCESSDENIED; E_FAIL
    // when GStreamer or the element is missing, refuses the frames or does not play in time. The graph's
    // thread.
    HRESULT open(const RawVideoCaps& caps, const std::string& encoder, const std::string& path);
    // Queues one frame of caps.frameBytes bytes (more are cut, fewer refused with E_INVALIDARG) captured
    // at `time` (100 ns units from the stream start, negative: one frame after the last; frames are
    // placed by it, repeated or dropped so the file keeps its constant rate). While the queue is full it waits a bounded time, then drops the
    // frame and counts it (S_FALSE). E_FAIL once the pipeline has failed. Streaming thread.
    HRESULT write(const BYTE* data, std::size_t size, LONGLONG time);
    // Ends the stream so the multiplexer writes its index, waits (bounded) for the file to be complete
    // and closes it; does nothing when not open. E_FAIL when the pipeline reported an error. `counts`,
    // when given, receives the file's counts. The graph's thread, never while write runs.
    HRESULT close(Counts* counts = nullptr);

private:
    struct Pipeline;
    std::unique_ptr<Pipeline> pipeline_;
};

} // namespace platform::dshow
