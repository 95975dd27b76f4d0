// The program on a V4L2 camera that is pulled out while it streams: a snap ends at once without a box and
// the program stays usable.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "fake_v4l2_device.h"
#include "program_fixture.h"

namespace {

using namespace std::chrono_literals;

class LostCameraProgram : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        camera_.formats = {{V4L2_PIX_FMT_YUYV, {{640, 480}, {1280, 1024}}}};
        platform::devices::SimulatedCamera::setV4l2Camera(&camera_);
        // A frame every 30 ms while the camera is plugged in, as a live camera sends them.
        feeder_ = std::thread([this] {
            while (!unplugged_) {
                camera_.deliverFrame(0x80);
                std::this_thread::sleep_for(30ms);
            }
        });
    }
    void TearDown() override {
        Unplug();
        feeder_.join();
        ProgramTest::TearDown();
    }
    void Unplug() {
        unplugged_ = true;
        camera_.unplug();
    }

    platform::devices::testing::FakeV4l2Device camera_;
    std::atomic<bool> unplugged_{false};
    std::thread feeder_;
};

TEST_F(LostCameraProgram, ASnapEndsAtOnceAndTheProgramStaysUsable) {
    std::size_t boxesBefore = 0;
    RunDialog([&](COrvanelDlg& dlg) {
        const std::filesystem::path saveRoot = File("snaps");
        std::filesystem::create_directories(saveRoot);
        dlg.m_strSavePath = CString((saveRoot.string() + "/").c_str());
        Click(dlg, IDC_BUTTON_SNAP);
        ASSERT_EQ(dlg.m_nThumbCount, 1) << "the camera works before it is pulled out";
        boxesBefore = Boxes().calls().size();

        Unplug();
        ASSERT_TRUE(camera_.waitForFailedCall());
        const auto before = std::chrono::steady_clock::now();
        Click(dlg, IDC_BUTTON_SNAP);
        EXPECT_LT(std::chrono::steady_clock::now() - before, 2s) << "the snap waits out its 5 s time-out";
        EXPECT_EQ(dlg.m_nThumbCount, 1) << "a thumbnail without a frame";

        // Resolution and full screen restart the preview on the lost camera; the dialog goes on answering.
        Click(dlg, IDC_BUTTON_RES_DOWN);
        Click(dlg, IDC_BUTTON_RES_UP);
        Click(dlg, IDC_BUTTON_FULLSCREEN);
        Click(dlg, IDC_BUTTON_FULLSCREEN);
        Click(dlg, IDC_BUTTON_SNAP);
        EXPECT_EQ(dlg.m_nThumbCount, 1);
        dlg.SendMessage(WM_CLOSE);
    });
    EXPECT_EQ(Boxes().calls().size(), boxesBefore);
}

} // namespace
