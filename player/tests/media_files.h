// Small media files made with ffmpeg for the tests, and their lengths as ffprobe reads them.
#pragma once

#include <string>

namespace vidora_test {

// TwoColourAvi: raw video, the colour below for its first second, then kLaterRed, kLaterGreen, kLaterBlue.
enum class Media { MjpegAvi, RawAvi, Mpeg, Wav, Mp3, ShortAvi, TwoColourAvi };

struct MediaFile {
    std::string path;     // empty when ffmpeg could not make it (missing encoder)
    double seconds = 0.0; // length by ffprobe
};

// The file of that kind, made once per test program in a temporary folder.
const MediaFile& mediaFile(Media kind);
// A folder for files a test makes itself.
const std::string& scratchFolder();

// The colour of the solid-colour AVI files (their every pixel).
constexpr int kRed = 0x20, kGreen = 0x60, kBlue = 0xC0;
constexpr int kLaterRed = 0xC0, kLaterGreen = 0x60, kLaterBlue = 0x20;

} // namespace vidora_test
