// Fixture for mask and dark-frame tests: a running 640 x 480 RGB24 preview on stepped frames, the frame
// as the device delivered it and as the frame callback saw it, BMP files in a temporary folder.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <testing/stepped_frames.h>
#include <win32/clock.h>

#include "../../jpeg/tests/support/foreign_tools.h"
#include "bmp_files.h"
#include "camera_fixture.h"

class OverlayTest : public CameraTest {
public:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;

protected:
    void SetUp() override {
        CameraTest::SetUp();
        clock_ = dynamic_cast<platform::SteppedClock*>(&platform::activeClock());
        ASSERT_NE(clock_, nullptr);
        // A flat grey scene with noise, so that neighbouring pixels differ.
        Camera().setUniformFrames(true);
        ASSERT_TRUE(Camera().setNoise(8.0, 11));
        h_ = OpenAt(kWidth, kHeight);
        KZ_SetParam(h_, KZ_PARAM_FORMAT, 4); // RGB24
        ASSERT_EQ(KZ_Start(h_, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK);
        ASSERT_EQ(KZ_SetFrameCallBack(h_, &OverlayTest::KeepFrame, this), KZ_OK);
    }
    void TearDown() override {
        frames_.reset();
        CameraTest::TearDown();
    }

    // Delivers one frame; the frame as the device made it and as the frame callback saw it are kept.
    void Deliver() {
        seen_.clear();
        ASSERT_TRUE(Camera().deliverFrames(1));
        ASSERT_EQ(seen_.size(), Raw().size());
    }
    // The last frame as the device delivered it, before the library worked on it.
    std::vector<BYTE> Raw() {
        const auto frames = Camera().lastFrames();
        return frames.empty() ? std::vector<BYTE>{} : frames.back().bytes;
    }
    // The last frame as the frame callback received it.
    const std::vector<BYTE>& Seen() const { return seen_; }

    // From now on every 200 ms the caller sleeps brings one frame, so snapshot calls are served.
    void StreamWhileWaiting() {
        frames_ = std::make_unique<platform::testing::SteppedFrames>(*clock_, 200, [this] { Deliver(); });
    }

    // Writes `bytes` as a file of the temporary folder and returns its path.
    std::string File(const std::string& name, const std::vector<BYTE>& bytes) {
        const std::string path = folder_.file(name);
        testbmp::SaveFile(path, bytes);
        return path;
    }

    KZ_HANDLE h_ = nullptr;
    testsupport::TempFolder folder_;

private:
    static void __stdcall KeepFrame(void* user, BYTE* frame) {
        auto* self = static_cast<OverlayTest*>(user);
        self->seen_.assign(frame, frame + static_cast<std::size_t>(kWidth) * kHeight * 3);
    }

    platform::SteppedClock* clock_ = nullptr;
    std::unique_ptr<platform::testing::SteppedFrames> frames_;
    std::vector<BYTE> seen_;
};
