// The settings chosen in each compressor's configuration dialog, kept for the recordings that follow.
#pragma once

#include <string>

#include "known_encoders.h"

namespace platform::dshow {

// The settings kept for the compressor of that FriendlyName (UTF-8); all -1 (encoder defaults) when none were
// kept. Any thread.
CompressorSettings keptSettings(const std::string& compressor);
// Keeps `settings` for the compressor of that FriendlyName. Throws std::bad_alloc. Any thread.
void keepSettings(const std::string& compressor, const CompressorSettings& settings);

} // namespace platform::dshow
