// Making the test media files with ffmpeg and measuring them with ffprobe.
#include "media_files.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>

#include <gtest/gtest.h>

#include <testing/picture_tools.h>

namespace vidora_test {
namespace {

struct Recipe {
    const char* name;
    const char* arguments; // ffmpeg inputs and codec options
};

Recipe recipe(Media kind) {
    switch (kind) {
    case Media::MjpegAvi:
        return {
            "clip_mjpeg.avi",
            "-f lavfi -i color=c=0x2060C0:s=160x120:r=25:d=3.5 -f lavfi -i sine=frequency=440:duration=3.5 "
            "-c:v mjpeg -q:v 2 -pix_fmt yuvj420p -c:a pcm_s16le"};
    case Media::H264Mp4:
        return {"clip_h264.mp4",
                "-f lavfi -i testsrc=s=160x120:r=25:d=3.5 -f lavfi -i sine=frequency=440:duration=3.5 "
                "-c:v libx264 -pix_fmt yuv420p -g 25 -c:a aac"};
    case Media::RawAvi:
        return {
            "clip_raw.avi",
            "-f lavfi -i color=c=0x2060C0:s=161x121:r=25:d=3.5,format=bgr24 -c:v rawvideo -pix_fmt bgr24"};
    case Media::Mpeg:
        return {"clip.mpg",
                "-f lavfi -i testsrc=s=160x120:r=25:d=3.5 -f lavfi -i sine=duration=3.5 -c:v mpeg1video -g 5 "
                "-c:a mp2 -f mpeg"};
    case Media::Wav:
        return {"tone.wav", "-f lavfi -i sine=frequency=440:duration=3.5 -c:a pcm_s16le"};
    case Media::Mp3:
        return {"tone.mp3", "-f lavfi -i sine=frequency=440:duration=3.5 -c:a libmp3lame"};
    case Media::ShortAvi:
        return {"short.avi", "-f lavfi -i color=c=0x2060C0:s=64x48:r=25:d=0.6 -c:v mjpeg -pix_fmt yuvj420p"};
    case Media::TwoColourAvi:
        return {"two_colours.avi",
                "-filter_complex 'color=c=0x2060C0:s=64x48:r=25:d=1[a];color=c=0xC06020:s=64x48:r=25:d=2[b];"
                "[a][b]concat=n=2:v=1:a=0,format=bgr24' -c:v rawvideo -pix_fmt bgr24"};
    case Media::ChineseName:
        return {
            "视频 片段.avi",
            "-f lavfi -i color=c=0x2060C0:s=160x120:r=25:d=3.5 -f lavfi -i sine=frequency=440:duration=3.5 "
            "-c:v mjpeg -pix_fmt yuvj420p -c:a pcm_s16le"};
    case Media::Corrupt:
        break; // made from MjpegAvi
    }
    return {};
}

// The MJPEG AVI with everything from its header lists to its 4096th byte zeroed; the RIFF tag stays.
MediaFile makeCorrupt() {
    MediaFile file;
    const MediaFile& clip = mediaFile(Media::MjpegAvi);
    if (clip.path.empty())
        return file;
    std::string bytes;
    {
        std::ifstream in(clip.path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    constexpr std::size_t kRiffHeader = 12;
    constexpr std::size_t kZeroedEnd = 4096;
    if (bytes.size() <= kZeroedEnd)
        return file;
    std::fill(bytes.begin() + kRiffHeader, bytes.begin() + kZeroedEnd, '\0');
    const std::string path = scratchFolder() + "/corrupt.avi";
    std::ofstream(path, std::ios::binary) << bytes;
    file.path = path;
    return file;
}

MediaFile make(Media kind) {
    if (kind == Media::Corrupt)
        return makeCorrupt();
    Recipe r = recipe(kind);
    MediaFile file;
    std::string path = scratchFolder() + "/" + r.name;
    if (platform::testing::toolOutput("ffmpeg -hide_banner -loglevel error -y " + std::string(r.arguments) +
                                      " '" + path + "' && echo ok")
            .empty())
        return file;
    std::string length = platform::testing::toolOutput(
        "ffprobe -v error -show_entries format=duration -of csv=p=0 '" + path + "'");
    if (length.empty())
        return file;
    file.path = path;
    file.seconds = std::stod(length);
    return file;
}

} // namespace

const std::string& scratchFolder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/vidora-test-XXXXXX";
        const char* made = mkdtemp(pattern);
        return std::string(made ? made : "/tmp");
    }();
    return folder;
}

const MediaFile& mediaFile(Media kind) {
    static std::recursive_mutex lock; // the corrupt file is made from another file
    static std::map<Media, MediaFile> files;
    std::lock_guard guard(lock);
    auto found = files.find(kind);
    if (found == files.end())
        found = files.emplace(kind, make(kind)).first;
    return found->second;
}

namespace {

// Removes the scratch folder when the program ends.
class ScratchCleanup : public ::testing::Environment {
public:
    void TearDown() override {
        std::error_code ignored;
        if (scratchFolder() != "/tmp")
            std::filesystem::remove_all(scratchFolder(), ignored);
    }
};

const auto* const cleanup = ::testing::AddGlobalTestEnvironment(new ScratchCleanup);

} // namespace

} // namespace vidora_test
