// What a capture filter needs from the device behind it: formats, a frame stream, processing
// amplifier values and the chip's private properties.
#pragma once

#include "proc_amp.h"

#include <devices/simulated_camera.h>

#include <functional>
#include <optional>
#include <vector>

namespace platform::devices {

// Receives each frame on the streaming thread (or the stepped caller); the view is borrowed for the call.
using FrameSink = std::function<void(const FrameView&)>;
// Asked on the same thread just before a frame of `size` bytes is made: where to put it, so that it needs no
// copy on its way to the sink, or null for the source's own buffer.
using FrameTarget = std::function<BYTE*(DWORD size)>;
// How a stream ended without stopStream.
enum class StreamFailure { DeviceLost, Aborted };
// Told at most once per stream, on the streaming thread or inside startStream, that the stream ended
// without stopStream: nothing more is delivered.
using StreamFailed = std::function<void(StreamFailure)>;

// Every member may be called from any thread.
class CaptureSource {
public:
    virtual ~CaptureSource() = default;

    virtual VideoFormat format() const = 0;
    // Switches to `format`; false (format unchanged) when it is not offered.
    virtual bool setFormat(const VideoFormat& format) = 0;
    // The formats the capture pin lists, in order.
    virtual std::vector<VideoFormat> capabilities() const = 0;
    virtual double frameRate() const = 0;
    // The capture pin's compression settings; a driver's own ones by default.
    virtual CompressionKnobs compression() const { return {}; }

    // Frames go to `sink` from now on, made where `target` says when the source makes its frames itself
    // (an empty target: always in its own buffer); a stream that cannot start or ends on its own tells
    // `failed` (may be empty). stopStream ends the stream; afterwards none of the three runs or is called
    // again. Never from inside one of them.
    virtual void startStream(FrameSink sink, FrameTarget target, StreamFailed failed) = 0;
    virtual void stopStream() = 0;

    // Video processing amplifier: the property's range, or nothing when unsupported.
    virtual std::optional<ProcAmpRange> procAmpRange(LONG property) const = 0;
    // False when unsupported or refused.
    virtual bool setProcAmp(LONG property, LONG value) = 0;
    virtual std::optional<LONG> procAmp(LONG property) const = 0;

    // The private property interface (meaningful only where the filter exposes it).
    virtual HRESULT propertySet(ULONG id, const void* data) = 0;
    virtual HRESULT propertyGet(ULONG id, void* data) = 0;
};

} // namespace platform::devices
