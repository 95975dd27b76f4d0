// Small media files made with ffmpeg for the tests, and their lengths as ffprobe reads them.
#pragma once

#include <string>

#include <win32/types.h>

namespace vidora_test {

// TwoColourAvi: raw video, the colour below for its first second, then kLaterRed, kLaterGreen, kLaterBlue.
// ChineseName: an MJPEG AVI whose file name is Chinese (UTF-8). Corrupt: an MJPEG AVI whose header lists
// were overwritten with zeros, so no player can read it.
enum class Media { MjpegAvi, H264Mp4, RawAvi, Mpeg, Wav, Mp3, ShortAvi, TwoColourAvi, ChineseName, Corrupt };

struct MediaFile {
    std::string path;     // empty when ffmpeg could not make it (missing encoder)
    double seconds = 0.0; // length by ffprobe; 0 for the corrupt file
};

// The file of that kind, made once per test program in a temporary folder.
const MediaFile& mediaFile(Media kind);
// A folder for files a test makes itself.
const std::string& scratchFolder();

// System language ids for the language seam.
constexpr WORD kEnglish = 0x0409, kChinese = 0x0804;

// The colour of the solid-colour AVI files (their every pixel).
constexpr int kRed = 0x20, kGreen = 0x60, kBlue = 0xC0;
constexpr int kLaterRed = 0xC0, kLaterGreen = 0x60, kLaterBlue = 0x20;

} // namespace vidora_test
