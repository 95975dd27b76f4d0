// The GStreamer AVI writer: a failing pipeline never blocks a writer, frames sit by their capture time.
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include <testing/picture_tools.h>

#include "avi_writer.h"

namespace {

using platform::dshow::AviWriter;
using platform::dshow::RawVideoCaps;

constexpr LONGLONG kFrameTime = 666666; // 15 frames a second in 100 ns units

RawVideoCaps SmallFrames() {
    return {"video/x-raw,format=YUY2,width=64,height=48,framerate=10000000/666666", false, 64 * 48 * 2, 48};
}

std::filesystem::path Scratch(const char* name) {
    return std::filesystem::temp_directory_path() / ("avi_writer_" + std::to_string(getpid()) + "_" + name);
}

int FramesIn(const std::filesystem::path& file) {
    const std::string count = platform::testing::toolOutput(
        "ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames -of csv=p=0 '" +
        file.string() + "'");
    return count.empty() ? -1 : std::stoi(count);
}

// An encoder that fails on the frames fails the pipeline: every later write returns at once, far more
// frames than the queue holds never block, and the close reports the failure.
TEST(AviWriterTest, FailedPipelineNeverBlocksWrites) {
    const auto file = Scratch("failed.avi");
    AviWriter writer;
    ASSERT_EQ(writer.open(SmallFrames(), "identity error-after=2", file.string()), S_OK);
    const std::vector<BYTE> frame(SmallFrames().frameBytes, 0x80);
    HRESULT last = S_OK;
    for (int i = 0; i < 100; ++i)
        last = writer.write(frame.data(), frame.size(), i * kFrameTime);
    EXPECT_EQ(last, E_FAIL);
    AviWriter::Counts counts;
    EXPECT_EQ(writer.close(&counts), E_FAIL);
    EXPECT_GT(counts.dropped, 0u);
    EXPECT_EQ(counts.written + counts.dropped, 100u);
    std::filesystem::remove(file);
}

// A file that cannot be made, or an encoder that refuses the frame format, fails the open itself, each
// with its code.
TEST(AviWriterTest, OpenFailsForWhatCannotRecord) {
    AviWriter writer;
    EXPECT_EQ(writer.open(SmallFrames(), "", (Scratch("missing") / "x.avi").string()),
              HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(writer.open(SmallFrames(), "", "/sys/x.avi"), E_ACCESSDENIED) << "no file can be made there";
    EXPECT_EQ(writer.open(SmallFrames(), "capsfilter caps=video/x-raw,width=17", Scratch("x.avi").string()),
              E_FAIL);
    const std::vector<BYTE> frame(SmallFrames().frameBytes, 0);
    EXPECT_EQ(writer.write(frame.data(), frame.size(), 0), E_UNEXPECTED);
}

// Frames are placed by capture time at the file's constant rate: close frames merge, a gap repeats the
// frame before it, a missing time follows the last frame by one period.
TEST(AviWriterTest, FramesSitByCaptureTime) {
    const auto file = Scratch("times.avi");
    AviWriter writer;
    ASSERT_EQ(writer.open(SmallFrames(), "", file.string()), S_OK);
    const std::vector<BYTE> frame(SmallFrames().frameBytes, 0x40);
    const LONGLONG times[] = {5 * kFrameTime, 6 * kFrameTime, 6 * kFrameTime + 10, 12 * kFrameTime, -1};
    for (LONGLONG time : times)
        EXPECT_EQ(writer.write(frame.data(), frame.size(), time), S_OK);
    AviWriter::Counts counts;
    ASSERT_EQ(writer.close(&counts), S_OK);
    EXPECT_EQ(counts.written, 5u);
    EXPECT_EQ(counts.dropped, 0u);
    // From the first frame at 5 to the last at 13, each period held by one frame.
    EXPECT_NEAR(FramesIn(file), 9, 1);
    std::filesystem::remove(file);
}

} // namespace
