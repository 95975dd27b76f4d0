// What the AVI multiplexer did with the frames of the file it closed last.
#pragma once

#include <cstdint>

namespace platform::dshow {

struct RecordingCounts {
    std::uint64_t written = 0; // frames taken into the file
    std::uint64_t dropped = 0; // frames lost because the encoder fell behind or the pipeline failed
};

// The counts of the file the AVI multiplexer closed most recently; zero before the first. Any thread.
RecordingCounts lastRecordingCounts();

} // namespace platform::dshow
