// The auto loops on the simulated camera's frames: a clipped highlight, a black scene, both loops at once,
// and a loop finishing while the caller's thread waits for the frame in progress.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "auto_loop_fixture.h"
#include "auto_loop_steps.h"

namespace {

using korvib::AutoLoops;

// The exposure values written to the sensor, in order.
std::vector<unsigned> ExposureWrites(const platform::devices::SimulatedCamera& camera) {
    std::vector<unsigned> values;
    for (const auto& write : camera.registerWrites()) {
        if (write.reg == 0x09) {
            values.push_back(write.value);
        }
    }
    return values;
}

// A light so strong that every pixel clips at any exposure and gain: the steps drive the gains down into
// the too-dark correction again and again. The loop ends by its bound, the exposure stops at 1 on its way
// down, and the result is what the sensor holds.
TEST_F(AutoLoopTest, ClippedHighlightEndsByTheBound) {
    ASSERT_NE(OpenAt(640, 480), nullptr);
    ASSERT_TRUE(Camera().setLightLevel(1e6));
    const int frames = RunLive(true, 200);
    EXPECT_EQ(frames, 84) << "the 21st run ends the loop";
    const std::vector<unsigned> exposures = ExposureWrites(Camera());
    ASSERT_FALSE(exposures.empty());
    for (std::size_t i = 1; i < exposures.size(); ++i) {
        EXPECT_LE(exposures[i], exposures[i - 1]) << "write " << i << ": the exposure only halves";
    }
    EXPECT_EQ(exposures.back(), 1u);
    const auto results = TakeResults();
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].second, Sensor(0x2D) | Sensor(0x2B) << 8 | Sensor(0x2C) << 16);
    EXPECT_EQ(results[1].second, Sensor(0x09));
}

struct FrameCopy {
    std::vector<std::vector<BYTE>> frames;
};

void __stdcall CopyFrame(void* user, BYTE* frame) {
    static_cast<FrameCopy*>(user)->frames.emplace_back(frame, frame + 640 * 480 * 3);
}

// In a black scene the marked region stays black in the frames handed on (it never wraps to near white).
TEST_F(AutoLoopTest, BlackSceneKeepsTheMarkedRegionBlack) {
    ASSERT_NE(OpenAt(640, 480), nullptr);
    ASSERT_TRUE(Camera().setLightLevel(0));
    FrameCopy copy;
    ASSERT_EQ(KZ_SetFrameCallBack(handle_, CopyFrame, &copy), KZ_OK);
    ASSERT_EQ(KZ_Start(handle_, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK);
    AutoLoops().SwitchWhiteBalance(true);
    AutoLoops().SwitchExposure(true);
    Camera().deliverFrames(4);
    ASSERT_EQ(copy.frames.size(), 4u);
    for (const auto& frame : copy.frames) {
        EXPECT_EQ(*std::max_element(frame.begin(), frame.end()), 0);
    }
}

// Both loops from a short exposure in bright light, the exposure climbing a few levels per run: exposure
// measures the frame before white balance marks it, so it finishes on the first frame whose region mean
// reaches the target's band from below, not ten levels higher.
TEST_F(AutoLoopTest, BothLoopsLeaveExposureAtTheTarget) {
    ASSERT_NE(OpenAt(640, 480), nullptr);
    ASSERT_EQ(KZ_SetParam(handle_, KZ_PARAM_FORMAT, 4), KZ_OK); // RGB24: the kept frames are the DIB rows
    ASSERT_TRUE(Camera().setLightLevel(20));
    SetSensor(31, 21, 40, 30);
    ASSERT_EQ(KZ_Start(handle_, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK);
    AutoLoops().SwitchWhiteBalance(true);
    AutoLoops().SwitchExposure(true);
    for (int frame = 0; frame < 200 && AutoLoops().ExposureOn(); ++frame) {
        Camera().deliverFrames(1);
    }
    ASSERT_FALSE(AutoLoops().ExposureOn());
    EXPECT_TRUE(AutoLoops().WhiteBalanceOn()) << "white balance marked every frame exposure measured";
    // The finishing frame as the camera delivered it, before any marking.
    const auto delivered = Camera().lastFrames();
    ASSERT_EQ(delivered.size(), 1u);
    korvib::Region region{};
    ASSERT_TRUE(korvib::RegionOf(640, 480, 4, false, &region));
    const korvib::RegionSums sums = korvib::SumRegion(delivered.back().bytes.data(), 640, region);
    const auto mean = static_cast<int>((sums.red + sums.green + sums.blue) / (sums.pixels * 3));
    RecordProperty("mean", mean);
    EXPECT_GE(mean, 171);
    EXPECT_LE(mean, 180);
}

// Ends the process when the two threads wait for each other, rather than hanging the run.
class Deadline {
public:
    explicit Deadline(const char* what)
        : thread_([this, what] {
              std::unique_lock<std::mutex> hold(lock_);
              if (!met_.wait_for(hold, std::chrono::seconds(10), [this] { return done_; })) {
                  std::fprintf(stderr, "%s\n", what);
                  std::abort();
              }
          }) {}
    ~Deadline() {
        {
            std::lock_guard<std::mutex> hold(lock_);
            done_ = true;
        }
        met_.notify_one();
        thread_.join();
    }
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

private:
    std::mutex lock_; // guards done_
    std::condition_variable met_;
    bool done_ = false;
    std::thread thread_;
};

// KZ_Stop waits for the frame in which white balance finishes, on another thread: the result is posted, so
// that frame ends and the stop returns; the result arrives afterwards.
TEST_F(AutoLoopTest, StopWhileALoopFinishes) {
    ASSERT_NE(OpenAt(640, 480), nullptr);
    ASSERT_EQ(KZ_Start(handle_, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK);
    korvib::AutoParameters settled;
    settled.awbDiff = 1000; // every step 0: the first run finishes
    AutoLoops().SetParameters(settled);
    AutoLoops().SetResultWindow(Window());
    AutoLoops().SwitchWhiteBalance(true);
    Camera().deliverFrames(3);
    {
        Deadline deadline("the stop and the finishing frame wait for each other");
        std::thread streaming([this] { Camera().deliverFrames(1); });
        while (AutoLoops().WhiteBalanceOn()) {
            std::this_thread::yield();
        }
        EXPECT_EQ(KZ_Stop(handle_), KZ_OK);
        streaming.join();
    }
    const auto results = TakeResults();
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].first, korvib::WM_AWB_RESULT);
}

} // namespace
