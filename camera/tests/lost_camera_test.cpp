// A V4L2 camera pulled out while it streams: the next call that needs the stream answers the API's code
// for a stream that is not running, the preview or recording is stopped, and the camera can be closed and
// opened again.
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <future>
#include <thread>
#include <vector>

#include "fake_v4l2_device.h"
#include "recording_fixture.h"

namespace {

using namespace std::chrono_literals;
using platform::devices::SimulatedCamera;

class LostCamera : public Recording {
protected:
    void SetUp() override {
        Recording::SetUp();
        // The scripted camera streams in real time, so the library's waits run on the real clock.
        Camera().setSteppedMode(false);
        scripted_.formats = {{V4L2_PIX_FMT_YUYV, {{640, 480}, {1280, 1024}}}};
        SimulatedCamera::setV4l2Camera(&scripted_);
    }
    void TearDown() override {
        Recording::TearDown();
        SimulatedCamera::setV4l2Camera(nullptr);
    }

    // Opens the scripted camera at 640 x 480; the test fails when it does not open.
    KZ_HANDLE OpenScripted() {
        KZ_HANDLE h = OpenAt(640, 480);
        EXPECT_EQ(KZ_SetFrameCallBackEx(h, CountFrames, &frames_), KZ_OK);
        return h;
    }
    // Starts the preview and waits until a frame has come through the library's pipeline.
    void StartStreaming(KZ_HANDLE h) {
        ASSERT_EQ(KZ_Start(h, WS_CHILD, 0, 0, 640, 480, Window(), KZ_RENDER_NONE), KZ_OK);
        const int before = frames_.load();
        DeliverFrame();
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (frames_.load() == before && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(1ms);
        }
        ASSERT_GT(frames_.load(), before);
    }
    // Hands the stream a frame as soon as it has a buffer queued.
    void DeliverFrame() {
        while (!scripted_.deliverFrame(0x80)) {
            std::this_thread::sleep_for(1ms);
        }
    }
    // Pulls the camera out and waits until the streaming thread has met the failure. The thread tells the
    // graph just after the failed call returns, so the wait leaves it time to do so on a loaded machine.
    void Unplug() {
        scripted_.unplug();
        ASSERT_TRUE(scripted_.waitForFailedCall());
        std::this_thread::sleep_for(200ms);
    }

    // The recording's stop neither touches the lost camera nor brings the preview back.
    void ExpectStopCaptureLeavesThePreviewStopped(KZ_HANDLE h) {
        const long calls = scripted_.calls();
        EXPECT_EQ(KZ_StopCapture(h), KZ_OK);
        EXPECT_EQ(scripted_.calls(), calls) << "the stop tries to restart the preview on the lost camera";
        EXPECT_EQ(KZ_CaptureToJpg(h, File("lost.jpg").c_str(), 80), KZ_ERR_NOT_PREVIEWING);
    }

    platform::devices::testing::FakeV4l2Device scripted_;
    std::atomic<int> frames_{0};
};

// Each call that needs the stream, made first after the loss, answers as for a stopped preview and stops
// it (the driver's buffers are given back), at once rather than after the 5 s snapshot wait and without a
// box; stop and close succeed afterwards.
TEST_F(LostCamera, TheNextCallThatNeedsTheStreamFindsThePreviewStopped) {
    KZ_HANDLE h = OpenScripted();
    ASSERT_NE(h, nullptr);
    const std::size_t boxes = Boxes().calls().size();
    std::vector<BYTE> buffer(640 * 480 * 3);
    const std::string jpg = File("lost.jpg").string(), bmp = File("lost.bmp").string();
    const struct {
        const char* name;
        std::function<int()> call;
        int result;
    } cases[] = {
        {"KZ_CaptureToBuf", [&] { return KZ_CaptureToBuf(h, buffer.data()); }, KZ_ERR_FAILED},
        {"KZ_CaptureToJpg", [&] { return KZ_CaptureToJpg(h, jpg.c_str(), 80); }, KZ_ERR_NOT_PREVIEWING},
        {"KZ_CaptureToBmp", [&] { return KZ_CaptureToBmp(h, bmp.c_str()); }, KZ_ERR_FAILED},
        {"KZ_ShowPropertyPage", [&] { return KZ_ShowPropertyPage(h, 0); }, KZ_ERR_NOT_RUNNING},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scripted_.plugIn();
        StartStreaming(h);
        Unplug();
        EXPECT_EQ(c.call(), c.result);
        EXPECT_EQ(scripted_.mappedBuffers(), 0u) << "the preview still holds the driver's buffers";
    }
    EXPECT_FALSE(std::filesystem::exists(jpg));
    EXPECT_FALSE(std::filesystem::exists(bmp));
    EXPECT_EQ(Boxes().calls().size(), boxes);
    EXPECT_EQ(KZ_Stop(h), KZ_OK);
    EXPECT_EQ(KZ_UnInitial(&handle_), KZ_OK);
}

// A snapshot already waiting for its frame when the camera goes returns as soon as the loss is known.
TEST_F(LostCamera, ASnapshotWaitingForItsFrameEndsWithTheStream) {
    KZ_HANDLE h = OpenScripted();
    ASSERT_NE(h, nullptr);
    StartStreaming(h);
    std::vector<BYTE> buffer(640 * 480 * 3);
    auto snapshot = std::async(std::launch::async, [&] { return KZ_CaptureToBuf(h, buffer.data()); });
    std::this_thread::sleep_for(50ms); // the snapshot is waiting by now
    Unplug();
    ASSERT_EQ(snapshot.wait_for(2s), std::future_status::ready) << "the snapshot waits out its time-out";
    EXPECT_EQ(snapshot.get(), KZ_ERR_FAILED);
    EXPECT_EQ(KZ_CaptureToJpg(h, File("lost.jpg").c_str(), 80), KZ_ERR_NOT_PREVIEWING);
}

// A recording whose camera goes is stopped by the next call that needs the stream: its file is complete at
// once, and its stop does not restart the preview.
TEST_F(LostCamera, ARecordingEndsWithItsFileComplete) {
    KZ_HANDLE h = OpenScripted();
    ASSERT_NE(h, nullptr);
    StartStreaming(h);
    const auto file = File("lost.avi");
    ASSERT_EQ(KZ_StartCapture(h, file.c_str()), KZ_OK);
    // Three frames a camera period apart, each taken up before the next comes.
    for (int i = 0; i < 3; ++i) {
        DeliverFrame();
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (scripted_.queuedBuffers() < 3 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(1ms);
        }
        std::this_thread::sleep_for(40ms);
    }
    Unplug();

    EXPECT_EQ(KZ_ShowPropertyPage(h, 0), KZ_ERR_NOT_RUNNING);
    EXPECT_EQ(KZ_ShowPropertyPage(h, 0), KZ_ERR_NOT_RUNNING) << "the recording stays stopped";
    auto probe = ProbeVideo(file);
    EXPECT_EQ(probe["width"], "640");
    // The file's frames follow the clock: a slow run repeats a frame to fill its gap.
    EXPECT_GE(std::atoi(probe["nb_read_frames"].c_str()), 3);
    EXPECT_EQ(DecodeReport(file), "exit=0\n");
    ExpectStopCaptureLeavesThePreviewStopped(h);
}

// A recording started on the lost camera ends as a recording of nothing, and its stop does not try to
// bring the preview back.
TEST_F(LostCamera, ARecordingStartedAfterTheLossLeavesThePreviewStopped) {
    KZ_HANDLE h = OpenScripted();
    ASSERT_NE(h, nullptr);
    StartStreaming(h);
    Unplug();
    EXPECT_EQ(KZ_StartCapture(h, File("late.avi").c_str()), KZ_OK);
    ExpectStopCaptureLeavesThePreviewStopped(h);
}

// A loss that no call read before the preview was stopped does not end the next preview: the camera
// plugged back in streams on the same handle.
TEST_F(LostCamera, ALossNotReadBeforeTheStopDoesNotEndTheNextPreview) {
    KZ_HANDLE h = OpenScripted();
    ASSERT_NE(h, nullptr);
    StartStreaming(h);
    Unplug();
    EXPECT_EQ(KZ_Stop(h), KZ_OK);
    scripted_.plugIn();
    StartStreaming(h);

    std::vector<BYTE> buffer(640 * 480 * 3);
    auto snapshot = std::async(std::launch::async, [&] { return KZ_CaptureToBuf(h, buffer.data()); });
    while (snapshot.wait_for(5ms) != std::future_status::ready) {
        scripted_.deliverFrame(0x80);
    }
    EXPECT_EQ(snapshot.get(), KZ_OK);
    EXPECT_EQ(KZ_ShowPropertyPage(h, 0), KZ_OK) << "the preview runs";
}

// Closed after the loss, the camera opens again only once it is plugged back in, and then streams.
TEST_F(LostCamera, OpensAgainOnceItIsPluggedBackIn) {
    ASSERT_NE(OpenScripted(), nullptr);
    StartStreaming(handle_);
    Unplug();
    ASSERT_EQ(KZ_UnInitial(&handle_), KZ_OK);

    EXPECT_EQ(KZ_Initial(&handle_, nullptr, 1), KZ_ERR_FAILED);
    EXPECT_EQ(handle_, nullptr);
    scripted_.plugIn();
    KZ_HANDLE h = OpenScripted();
    ASSERT_NE(h, nullptr);
    StartStreaming(h);
}

} // namespace
