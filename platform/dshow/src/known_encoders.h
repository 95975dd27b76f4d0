// The GStreamer video encoders that record the capture formats into AVI files, with their settings.
#pragma once

#include <string>
#include <vector>

namespace platform::dshow {

// A compressor's own settings; -1 leaves the encoder's default.
struct CompressorSettings {
    int quality = -1;          // 0..100
    int keyFrameInterval = -1; // frames from one key frame to the next
    int bitRateKbps = -1;      // kbit/s
};

// An encoder known to record 640x480 and 1280x1024 frames at the camera's rates into avimux.
struct KnownEncoder {
    const char* element;
    const char* options;   // fixed properties for recording live frames, may be empty
    const char* quality;   // property taking quality 0..100; null: none
    const char* keyFrames; // property taking the key-frame interval; null: none
    const char* bitRate;   // property taking the bit rate; null: none
    int bitsPerUnit;       // of the bit-rate property: 1 for bit/s, 1000 for kbit/s

    bool configurable() const { return quality || keyFrames || bitRate; }
    // The launch description of the encoder with `settings` applied. Throws std::bad_alloc.
    std::string description(const CompressorSettings& settings) const;
    // The element's own defaults of the settings it has (-1 for those it lacks). GStreamer ready.
    CompressorSettings defaults() const;
};

// The known encoders that are installed, in table order. Empty without GStreamer. Any thread.
std::vector<const KnownEncoder*> installedEncoders();

} // namespace platform::dshow
