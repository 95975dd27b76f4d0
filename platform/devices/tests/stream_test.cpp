// Tests of frame timing: stepped frames on the virtual clock, register latency, and the live thread's stop.
#include "sim_fixture.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace platform::devices::testing {
namespace {

class StreamTest : public SimFixture {};

TEST_F(StreamTest, SteppedFramesAdvanceTheClockByOnePeriodEach)
{
    std::vector<uint64_t> times, indexes;
    cam.device().startStream([&](const FrameView& f) {
        times.push_back(f.timeMs);
        indexes.push_back(f.index);
        EXPECT_EQ(f.size, frameBytes(f.format));
    });
    const uint64_t start = clock.nowMs();
    ASSERT_TRUE(cam.deliverFrames(3));
    EXPECT_EQ(clock.nowMs() - start, 200u) << "15 fps: 67 + 66 + 67 ms";
    EXPECT_EQ(indexes, (std::vector<uint64_t>{1, 2, 3}));
    EXPECT_EQ(times[0] - start, 67u);
    cam.device().stopStream();
    ASSERT_TRUE(cam.deliverFrames(1));
    EXPECT_EQ(indexes.size(), 3u) << "no sink after the stop";
    EXPECT_EQ(cam.frameCount(), 4u);
    cam.setSteppedMode(false);
    EXPECT_FALSE(cam.deliverFrames(1));
}

TEST_F(StreamTest, SensorWriteTakesEffectAfterTheLatencyAndIsLoggedWithThatFrame)
{
    ASSERT_TRUE(cam.device().setFormat({PixelFormat::Rgb24, 640, 480}));
    cam.setUniformFrames(true);
    cam.keepFrames(8);
    // Written from inside frame 2's callback: frame 3 is the first with the new exposure.
    cam.device().startStream([&](const FrameView& f) {
        if (f.index == 2) {
            EXPECT_EQ(sensorWrite(0x09, 1320), S_OK);
        }
    });
    ASSERT_TRUE(cam.deliverFrames(3));
    ASSERT_TRUE(cam.setSensorLatency(3));
    EXPECT_FALSE(cam.setSensorLatency(4));
    ASSERT_EQ(sensorWrite(0x09, 660), S_OK); // after frame 3: from frame 6
    ASSERT_TRUE(cam.deliverFrames(3));
    cam.device().stopStream();

    std::vector<int> green;
    for (const CapturedFrame& f : cam.lastFrames())
        green.push_back(bgrAt(f, 0, 0, 1));
    EXPECT_EQ(green, (std::vector<int>{84, 84, 167, 167, 167, 84}));
    const auto writes = cam.registerWrites();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].frameWritten, 2u);
    EXPECT_EQ(writes[0].effectiveFrame, 3u);
    EXPECT_EQ(writes[1].effectiveFrame, 6u);
    EXPECT_EQ(cam.i2cRegister(kSensorAddress, 0x09), 660u) << "reads back at once";
}

TEST_F(StreamTest, LastOfSeveralWritesBetweenFramesShapesTheNextFrame)
{
    ASSERT_TRUE(cam.device().setFormat({PixelFormat::Rgb24, 640, 480}));
    cam.setUniformFrames(true);
    for (unsigned exposure : {1320u, 100u, 990u})
        ASSERT_EQ(sensorWrite(0x09, exposure), S_OK);
    ASSERT_TRUE(cam.deliverFrames(1));
    EXPECT_EQ(bgrAt(cam.lastFrames().back(), 0, 0, 1), 126) << "E 990: 255 * 1.5 * 21/32 * 0.5 = 125.5";
    EXPECT_EQ(cam.registerWrites().size(), 3u);
}

// Live mode on the steady clock: frames arrive on their own thread, and once stopStream returns
// no callback is running or starts.
TEST(LiveStream, StopJoinsTheStreamingThread)
{
    SimulatedCamera cam{std::make_shared<SimulatedDevice>()};
    ASSERT_TRUE(cam.setFrameRate(60));
    ASSERT_TRUE(cam.device().setFormat({PixelFormat::Rgb24, 640, 480}));
    std::mutex m;
    std::condition_variable cv;
    int frames = 0;
    std::atomic<bool> inside{false};
    std::thread::id streamThread;
    cam.device().startStream([&](const FrameView&) {
        inside = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        {
            std::lock_guard g(m);
            ++frames;
            streamThread = std::this_thread::get_id();
        }
        cv.notify_all();
        inside = false;
    });
    {
        std::unique_lock g(m);
        ASSERT_TRUE(cv.wait_for(g, std::chrono::seconds(10), [&] { return frames >= 3; }));
        EXPECT_NE(streamThread, std::this_thread::get_id());
    }
    cam.device().stopStream();
    EXPECT_FALSE(inside);
    const int after = frames;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(frames, after);
}

} // namespace
} // namespace platform::devices::testing
