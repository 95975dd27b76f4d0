// Every compressor the selection list offers records both capture sizes into a file that ffprobe and
// ffmpeg read cleanly, with as many frames as the recorded time holds; frames sit by capture time.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include <dshow/device_enum.h>
#include <dshow/recording_counts.h>
#include <win32/local_memory.h>
#include <win32/timing.h>

#include "graph_helpers.h"
#include "recording_fixture.h"

namespace {

constexpr int kFramesPerSecond = 15;
constexpr int kSeconds = 1;

// The codec ffprobe names for the stream of each compressor the list may offer.
const std::map<std::string, std::string> kCodecs = {
    {"", "rawvideo"},
    {"JPEG image encoder", "mjpeg"},
    {"libav MJPEG (Motion JPEG) encoder", "mjpeg"},
    {"x264 H.264 Encoder", "h264"},
    {"OpenH264 video encoder", "h264"},
    {"On2 VP8 Encoder", "vp8"},
    {"libav MPEG-4 part 2 encoder", "mpeg4"},
    {"libav MPEG-4 part 2 Microsoft variant version 3 encoder", "msmpeg4v3"},
    {"libav MPEG-4 part 2 Microsoft variant version 2 encoder", "msmpeg4v2"},
    {"libav Windows Media Video 7 encoder", "wmv1"},
    {"libav Windows Media Video 8 encoder", "wmv2"},
    {"libav H.263+ / H.263-1998 / H.263 version 2 encoder", "h263"},
    {"libav Huffyuv / HuffYUV encoder", "huffyuv"},
    {"PNG image encoder", "png"},
    {"libav PNG (Portable Network Graphics) image encoder", "png"},
};

// The compressor category's names in the order the selection dialog lists them.
std::vector<std::string> ListedCompressors() {
    std::vector<std::string> names;
    CoInitialize(nullptr);
    ICreateDevEnum* devices = nullptr;
    IEnumMoniker* monikers = nullptr;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                reinterpret_cast<void**>(&devices)))) {
        CoUninitialize();
        return names;
    }
    if (devices->CreateClassEnumerator(CLSID_VideoCompressorCategory, &monikers, 0) == S_OK) {
        IMoniker* moniker = nullptr;
        while (monikers->Next(1, &moniker, nullptr) == S_OK) {
            char* name = nullptr;
            if (SUCCEEDED(korvib::ReadFriendlyName(moniker, &name)) && name != nullptr) {
                names.emplace_back(name);
                LocalFree(name);
            }
            moniker->Release();
        }
        monikers->Release();
    }
    devices->Release();
    CoUninitialize();
    return names;
}

struct SizeCase {
    const char* name;
    int width;
    int height;
};

class RecordingEveryCompressor : public Recording, public ::testing::WithParamInterface<SizeCase> {};

// Each listed compressor, and none, records a second of frames from a GDI preview: the file has the
// compressor's codec, the capture size and a second's frames, decodes without an error, lost no frame,
// and the preview draws into its window again after the stop.
TEST_P(RecordingEveryCompressor, RecordsTheCaptureSize) {
    const SizeCase& size = GetParam();
    std::vector<std::string> compressors = ListedCompressors();
    ASSERT_FALSE(compressors.empty()) << "GStreamer offers no encoder";
    compressors.insert(compressors.begin(), "");
    for (const std::string& compressor : compressors) {
        SCOPED_TRACE(compressor.empty() ? "uncompressed" : compressor);
        const auto codec = kCodecs.find(compressor);
        ASSERT_NE(codec, kCodecs.end()) << "a listed compressor without its codec here";
        StoreSetting("Compressor", compressor);
        KZ_HANDLE h = OpenAt(size.width, size.height);
        ASSERT_NE(h, nullptr);
        std::atomic<int> frames{0};
        ASSERT_EQ(KZ_SetFrameCallBackEx(h, CountFrames, &frames), KZ_OK);
        ASSERT_EQ(KZ_Start(h, WS_CHILD | WS_VISIBLE, 0, 0, 320, 240, Window(), KZ_RENDER_GDI), KZ_OK);
        const auto file = File("clip.avi");
        ASSERT_EQ(KZ_StartCapture(h, file.c_str()), KZ_OK);
        Camera().deliverFrames(kSeconds * kFramesPerSecond);
        ASSERT_EQ(KZ_StopCapture(h), KZ_OK);
        EXPECT_EQ(platform::dshow::lastRecordingCounts().dropped, 0u);
        Camera().deliverFrames(2);
        EXPECT_EQ(frames.load(), 2) << "the GDI preview runs again";
        EXPECT_TRUE(Boxes().calls().empty());

        auto probe = ProbeVideo(file);
        EXPECT_EQ(probe["codec_name"], codec->second);
        EXPECT_EQ(probe["width"], std::to_string(size.width));
        EXPECT_EQ(probe["height"], std::to_string(size.height));
        ASSERT_FALSE(probe["nb_read_frames"].empty());
        EXPECT_NEAR(std::stoi(probe["nb_read_frames"]), kSeconds * kFramesPerSecond, 1);
        EXPECT_EQ(DecodeReport(file), "exit=0\n");
        KZ_UnInitial(&handle_);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, RecordingEveryCompressor,
                         ::testing::Values(SizeCase{"Vga", 640, 480}, SizeCase{"Sxga", 1280, 1024}),
                         [](const ::testing::TestParamInfo<SizeCase>& info) { return std::string(info.param.name); });

// Frames are placed by capture time: a second without frames in the middle is filled by repeating the
// last frame, so the file lasts as long as the recording did.
TEST_F(Recording, GapsKeepTheRecordedDuration) {
    KZ_HANDLE h = OpenAt(640, 480);
    ASSERT_NE(h, nullptr);
    const auto file = File("gap.avi");
    ASSERT_EQ(KZ_StartCapture(h, file.c_str()), KZ_OK);
    Camera().deliverFrames(5);
    Sleep(1000);
    Camera().deliverFrames(5);
    ASSERT_EQ(KZ_StopCapture(h), KZ_OK);
    const auto counts = platform::dshow::lastRecordingCounts();
    EXPECT_EQ(counts.written, 10u);
    EXPECT_EQ(counts.dropped, 0u);
    auto probe = ProbeVideo(file);
    ASSERT_FALSE(probe["nb_read_frames"].empty());
    EXPECT_NEAR(std::stoi(probe["nb_read_frames"]), 5 + kFramesPerSecond + 5, 1);
}

} // namespace
