// FilePipeline: one media file decoded by GStreamer.
//
// Video comes out as RGB24 frames; audio plays on the default audio device, or silently in real time
// when there is none.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include <dshow/media_type.h>

namespace platform::dshow {

// One decoded picture: top-down rows of B, G, R bytes, `stride` bytes apart.
struct VideoFrame {
    const BYTE* bits;
    std::size_t stride;
    LONG width;
    LONG height;
};

class FilePipeline {
public:
    // A frame from a streaming thread: every frame while playing, and the frame shown after a preroll.
    using FrameHandler = std::function<void(const VideoFrame&)>;
    // The end of the stream (EC_COMPLETE) or a failure while streaming (EC_ERRORABORT), from any thread.
    using EventHandler = std::function<void(LONG code)>;

    // Opens `path` (a native path) and prerolls it paused on its first frame. VFW_E_NOT_FOUND for a
    // missing file, VFW_E_CANNOT_RENDER for one GStreamer cannot play or that holds neither video nor
    // audio, E_OUTOFMEMORY. Any thread.
    static HRESULT open(const std::string& path, FrameHandler onFrame, EventHandler onEvent,
                        std::unique_ptr<FilePipeline>& pipeline);
    ~FilePipeline();
    FilePipeline(const FilePipeline&) = delete;
    FilePipeline& operator=(const FilePipeline&) = delete;

    bool hasVideo() const { return width_ > 0; }
    bool hasAudio() const { return hasAudio_; }
    LONG width() const { return width_; }
    LONG height() const { return height_; }

    // Playing and paused (the stream keeps its place while paused). E_FAIL when GStreamer refuses.
    // The thread that runs the graph.
    HRESULT play();
    HRESULT pause();
    // Hands the frame the paused pipeline shows to onFrame, on the calling thread; nothing without one.
    void showCurrentFrame();

    // Times in 100-nanosecond units from the start of the file (streams whose time starts later, as in
    // MPEG program streams, count from their first frame). E_FAIL when GStreamer cannot tell. Any thread.
    HRESULT duration(LONGLONG* units) const;
    HRESULT position(LONGLONG* units) const;
    // Moves to `units` (clamped to the stream), to the key frame there when `keyFrame`; returns once the
    // new position has prerolled. E_FAIL when the seek is refused. Any thread but a streaming one.
    HRESULT seek(LONGLONG units, bool keyFrame);
    // Linear volume 0 to 1 of the audio. Any thread.
    void setVolume(double linear);
    double volume() const;

private:
    struct Native;
    explicit FilePipeline(std::unique_ptr<Native> native);

    std::unique_ptr<Native> native_;
    LONG width_ = 0;
    LONG height_ = 0;
    bool hasAudio_ = false;
    LONGLONG start_ = 0; // stream time of the first frame
};

} // namespace platform::dshow
