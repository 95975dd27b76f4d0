// Recording on the simulated camera: the AVI file as ffprobe reads it, the preview handed back, misuse.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "recording_fixture.h"

namespace {

struct CompressorCase {
    const char* name;
    const char* compressor;
    const char* codec;
    const char* pixelFormat; // of the decoded frames; null: not checked
};

class RecordingCompressors : public Recording, public ::testing::WithParamInterface<CompressorCase> {};

// The file holds every delivered frame at the capture size, encoded by the chosen compressor; a name no
// compressor bears records the capture format (YUY2) uncompressed.
TEST_P(RecordingCompressors, FileHoldsTheDeliveredFrames) {
    const CompressorCase& c = GetParam();
    StoreSetting("Compressor", std::string(c.compressor));
    KZ_HANDLE h = OpenAt(640, 480);
    ASSERT_NE(h, nullptr);
    const auto file = File("clip.avi");
    ASSERT_EQ(KZ_StartCapture(h, file.c_str()), KZ_OK);
    Camera().deliverFrames(12);
    EXPECT_EQ(KZ_StopCapture(h), KZ_OK);
    EXPECT_TRUE(Boxes().calls().empty());

    auto probe = ProbeVideo(file);
    EXPECT_EQ(probe["codec_name"], c.codec);
    EXPECT_EQ(probe["width"], "640");
    EXPECT_EQ(probe["height"], "480");
    if (c.pixelFormat != nullptr) {
        EXPECT_EQ(probe["pix_fmt"], c.pixelFormat);
    }
    ASSERT_FALSE(probe["nb_read_frames"].empty()) << "ffprobe reads the frames through the index";
    EXPECT_NEAR(std::stoi(probe["nb_read_frames"]), 12, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Names, RecordingCompressors,
    ::testing::Values(CompressorCase{"Empty", "", "rawvideo", "yuyv422"},
                      CompressorCase{"NoCompressor", "No Compressor", "rawvideo", "yuyv422"},
                      CompressorCase{"NotInstalled", "Nonexistent Codec 9", "rawvideo", "yuyv422"},
                      CompressorCase{"JpegOtherCase", "jpeg IMAGE encoder", "mjpeg", nullptr}),
    [](const ::testing::TestParamInfo<CompressorCase>& info) { return std::string(info.param.name); });

// A recording started from a running preview takes its frames over and shows them in a video window;
// its stop hands the frames back to the preview in the stored render mode.
TEST_F(Recording, PreviewResumesAfterTheStop) {
    KZ_HANDLE h = OpenAt(1280, 1024);
    ASSERT_NE(h, nullptr);
    std::atomic<int> frames{0};
    ASSERT_EQ(KZ_SetFrameCallBackEx(h, CountFrames, &frames), KZ_OK);
    ASSERT_EQ(KZ_Start(h, WS_CHILD | WS_VISIBLE, 0, 0, 320, 256, Window(), KZ_RENDER_GDI), KZ_OK);
    Camera().deliverFrames(2);
    ASSERT_EQ(frames.load(), 2);

    const auto file = File("live.avi");
    ASSERT_EQ(KZ_StartCapture(h, file.c_str()), KZ_OK);
    Camera().deliverFrames(5);
    EXPECT_EQ(frames.load(), 2) << "no frame reaches the pipeline while recording";
    EXPECT_EQ(KZ_StopCapture(h), KZ_OK);

    Camera().deliverFrames(3);
    EXPECT_EQ(frames.load(), 5) << "the preview runs again";

    auto probe = ProbeVideo(file);
    EXPECT_EQ(probe["width"], "1280");
    EXPECT_EQ(probe["height"], "1024");
    EXPECT_EQ(probe["nb_read_frames"], "5");
    EXPECT_TRUE(Boxes().calls().empty());
}

// Each misuse answers its code: a start while recording is refused and leaves the running file alone; a
// file that cannot be written fails with one box and gives the preview back; snapshots refuse while
// recording; a stop without a recording changes nothing.
TEST_F(Recording, MisuseAnswersItsCode) {
    KZ_HANDLE h = OpenAt(640, 480);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(KZ_StopCapture(h), KZ_OK) << "no recording, no preview";
    std::atomic<int> frames{0};
    ASSERT_EQ(KZ_SetFrameCallBackEx(h, CountFrames, &frames), KZ_OK);
    ASSERT_EQ(KZ_Start(h, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK);

    EXPECT_EQ(KZ_StartCapture(h, (File("missing") / "clip.avi").c_str()), KZ_ERR_FAILED);
    EXPECT_EQ(KZ_StartCapture(h, nullptr), KZ_ERR_FAILED);
    ASSERT_EQ(Boxes().calls().size(), 2u);
    EXPECT_EQ(Boxes().calls()[0].caption, "Veltrane");
    Camera().deliverFrames(1);
    EXPECT_EQ(frames.load(), 1) << "a failed start gives the preview back";

    const auto file = File("first.avi");
    ASSERT_EQ(KZ_StartCapture(h, file.c_str()), KZ_OK);
    Camera().deliverFrames(2);
    EXPECT_EQ(KZ_StartCapture(h, File("second.avi").c_str()), KZ_ERR_FAILED);
    EXPECT_FALSE(std::filesystem::exists(File("second.avi")));
    const int snapshotCodes[] = {KZ_CaptureToJpg(h, File("s.jpg").c_str(), 70),
                                 KZ_CaptureToBmp(h, File("s.bmp").c_str()), KZ_ShowPropertyPage(h, 0)};
    EXPECT_EQ(snapshotCodes[0], KZ_ERR_NOT_PREVIEWING);
    EXPECT_EQ(snapshotCodes[1], KZ_ERR_FAILED);
    EXPECT_EQ(snapshotCodes[2], KZ_OK) << "the property dialog opens on a running recording";
    Camera().deliverFrames(2);
    EXPECT_EQ(KZ_StopCapture(h), KZ_OK);
    EXPECT_EQ(Boxes().calls().size(), 2u) << "the refused second start shows nothing";
    EXPECT_EQ(ProbeVideo(file)["nb_read_frames"], "4") << "the first recording ran on";

    Camera().deliverFrames(1);
    EXPECT_EQ(frames.load(), 2);
    EXPECT_EQ(KZ_StopCapture(h), KZ_OK);
    Camera().deliverFrames(1);
    EXPECT_EQ(frames.load(), 3) << "a second stop restarts the preview the last start found running";
}

// Closing the camera, or starting the preview, while recording ends the recording with a complete file.
TEST_F(Recording, EndsCompleteWhenTheCameraCloses) {
    KZ_HANDLE h = OpenAt(640, 480);
    ASSERT_NE(h, nullptr);
    const auto byPreview = File("preview.avi");
    ASSERT_EQ(KZ_StartCapture(h, byPreview.c_str()), KZ_OK);
    Camera().deliverFrames(3);
    std::atomic<int> frames{0};
    ASSERT_EQ(KZ_SetFrameCallBackEx(h, CountFrames, &frames), KZ_OK);
    ASSERT_EQ(KZ_Start(h, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK);
    Camera().deliverFrames(1);
    EXPECT_EQ(frames.load(), 1) << "the preview took the frames over";

    const auto byClose = File("close.avi");
    ASSERT_EQ(KZ_StartCapture(h, byClose.c_str()), KZ_OK);
    Camera().deliverFrames(2);
    EXPECT_EQ(KZ_UnInitial(&handle_), KZ_OK);
    EXPECT_EQ(ProbeVideo(byPreview)["nb_read_frames"], "3");
    EXPECT_EQ(ProbeVideo(byClose)["nb_read_frames"], "2");
}

// Closing the camera mid-recording restarts no preview into a window that is going away: a preview start
// with bCustomProp 0 would send the stored gains to the sensor, and none are sent.
TEST_F(Recording, ClosingMidRecordingRestartsNoPreview) {
    StoreSetting("bCustomProp", DWORD{0});
    KZ_HANDLE h = OpenAt(640, 480);
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(KZ_Start(h, WS_CHILD | WS_VISIBLE, 0, 0, 320, 240, Window(), KZ_RENDER_GDI), KZ_OK);
    ASSERT_EQ(KZ_StartCapture(h, File("closing.avi").c_str()), KZ_OK);
    Camera().deliverFrames(2);
    Camera().clearLogs();
    EXPECT_EQ(KZ_UnInitial(&handle_), KZ_OK);
    EXPECT_TRUE(Camera().registerWrites().empty());
    EXPECT_EQ(ProbeVideo(File("closing.avi"))["nb_read_frames"], "2");
}

// With bCustomProp 0 the start sends the stored gains and exposure to the sensor.
TEST_F(Recording, CustomPropWritesStoredSensorValues) {
    StoreSetting("bCustomProp", DWORD{0});
    StoreSetting("RGain", DWORD{50});
    StoreSetting("GGain1", DWORD{0});
    StoreSetting("BGain", DWORD{70});
    StoreSetting("Exposure", DWORD{1200});
    KZ_HANDLE h = OpenAt(640, 480);
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(KZ_StartCapture(h, File("gains.avi").c_str()), KZ_OK);
    const int expected[][2] = {{KZ_REG_GAIN_RED, 50},
                               {KZ_REG_GAIN_GREEN1, 21},
                               {KZ_REG_GAIN_GREEN2, 21},
                               {KZ_REG_GAIN_BLUE, 63},
                               {KZ_REG_EXPOSURE, 1200}};
    for (const auto& [index, value] : expected) {
        int got = -1;
        EXPECT_EQ(KZ_RegOperation(h, index, &got, 0), KZ_OK);
        EXPECT_EQ(got, value) << "register " << index;
    }
    EXPECT_EQ(KZ_StopCapture(h), KZ_OK);
}

struct OrientationCase {
    const char* name;
    const char* compressor;
    double tolerance; // mean difference per byte allowed between a decoded row and its frame row
};

class RecordingOrientation : public Recording, public ::testing::WithParamInterface<OrientationCase> {};

// RGB frames are bottom-up rows in memory; the file shows them the right way up, raw or encoded.
TEST_P(RecordingOrientation, RgbFramesShowUpright) {
    StoreSetting("Compressor", std::string(GetParam().compressor));
    KZ_HANDLE h = OpenAt(640, 480);
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(KZ_SetParam(h, KZ_PARAM_FORMAT, 4), KZ_OK);
    Camera().setScene(platform::devices::Scene::Natural);
    Camera().keepFrames(1);
    const auto file = File("rgb.avi");
    ASSERT_EQ(KZ_StartCapture(h, file.c_str()), KZ_OK);
    Camera().deliverFrames(1);
    ASSERT_EQ(KZ_StopCapture(h), KZ_OK);

    const auto frames = Camera().lastFrames();
    ASSERT_EQ(frames.size(), 1u);
    const std::vector<BYTE>& dib = frames[0].bytes;
    const std::vector<BYTE> decoded = DecodeFirstFrame(file);
    constexpr std::size_t kRow = 640 * 3;
    ASSERT_EQ(decoded.size(), kRow * 480);
    ASSERT_EQ(dib.size(), decoded.size());
    for (std::size_t row : {std::size_t{0}, std::size_t{100}, std::size_t{479}}) {
        double difference = 0;
        for (std::size_t i = 0; i < kRow; ++i) {
            difference += std::abs(decoded[row * kRow + i] - dib[(479 - row) * kRow + i]);
        }
        EXPECT_LE(difference / kRow, GetParam().tolerance) << "top-down row " << row;
    }
}

INSTANTIATE_TEST_SUITE_P(Compressors, RecordingOrientation,
                         ::testing::Values(OrientationCase{"Raw", "", 0.0},
                                           OrientationCase{"Jpeg", "JPEG image encoder", 8.0}),
                         [](const ::testing::TestParamInfo<OrientationCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
