// The preview on the simulated camera: each render mode, restarts, limits, frame rate, stops while streaming.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include <dshow/class_table.h>
#include <dshow/dshow.h>
#include <win32/gdi.h>
#include <win32/registry.h>

#include "camera_fixture.h"
#include "registry_settings.h"

namespace {

using Preview = CameraTest;

struct FrameCounter {
    std::atomic<int> frames{0};
    std::atomic<int> width{0};
    std::atomic<int> height{0};
};

void __stdcall CountFrames(FrameInfo* info) {
    auto* counter = static_cast<FrameCounter*>(info->user);
    counter->width = info->width;
    counter->height = info->height;
    counter->frames.fetch_add(1);
}

// Delivers stepped frames on its own thread until stopped, as a live stream would.
class FrameFeeder {
public:
    explicit FrameFeeder(platform::devices::SimulatedCamera& camera)
        : thread_([this, &camera] {
              while (!stop_.load()) {
                  camera.deliverFrames(1);
                  delivered_.fetch_add(1);
              }
          }) {}
    ~FrameFeeder() {
        stop_ = true;
        thread_.join();
    }
    FrameFeeder(const FrameFeeder&) = delete;
    FrameFeeder& operator=(const FrameFeeder&) = delete;
    void WaitForFrames(int count) const {
        const int until = delivered_.load() + count;
        while (delivered_.load() < until) {
            std::this_thread::yield();
        }
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<int> delivered_{0};
    std::thread thread_;
};

class PreviewModes : public Preview, public ::testing::WithParamInterface<int> {};

// Every render mode runs every frame through the pipeline; a second start restarts it, a stop ends it.
TEST_P(PreviewModes, StartRestartStop) {
    KZ_HANDLE h = OpenAt(640, 480);
    ASSERT_NE(h, nullptr);
    FrameCounter counter;
    ASSERT_EQ(KZ_SetFrameCallBackEx(h, CountFrames, &counter), KZ_OK);
    const int mode = GetParam();
    HWND owner = mode == KZ_RENDER_NONE ? nullptr : Window();

    ASSERT_EQ(KZ_Start(h, WS_CHILD | WS_VISIBLE, 0, 0, 320, 240, owner, mode), KZ_OK);
    Camera().deliverFrames(2);
    EXPECT_EQ(counter.frames.load(), 2);
    EXPECT_EQ(counter.width.load(), 640);
    EXPECT_EQ(counter.height.load(), 480);

    ASSERT_EQ(KZ_Start(h, WS_CHILD | WS_VISIBLE, 0, 0, 640, 480, owner, mode), KZ_OK);
    Camera().deliverFrames(1);
    EXPECT_EQ(counter.frames.load(), 3);
    const int rect[4] = {8, 8, 200, 150};
    EXPECT_EQ(KZ_SetViewWin(h, rect), KZ_OK) << "the running view moves";
    int viewWidth = 0;
    KZ_GetParam(h, KZ_PARAM_VIEW_WIDTH, &viewWidth);
    EXPECT_EQ(viewWidth, 200);

    EXPECT_EQ(KZ_Stop(h), KZ_OK);
    Camera().deliverFrames(2);
    EXPECT_EQ(counter.frames.load(), 3) << "no frame reaches the pipeline after the stop";
    EXPECT_EQ(KZ_Stop(h), KZ_OK);
    EXPECT_TRUE(Boxes().calls().empty());
}

std::string ModeName(const ::testing::TestParamInfo<int>& info) {
    static const char* const names[] = {"DirectShow", "Gdi", "None"};
    return names[info.param];
}

INSTANTIATE_TEST_SUITE_P(RenderModes, PreviewModes, ::testing::Values(KZ_RENDER_DS, KZ_RENDER_GDI, KZ_RENDER_NONE),
                         ModeName);

// Reads one pixel of a window's client area as blue, green, red.
std::array<BYTE, 3> WindowPixel(HWND window, int x, int y) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 1;
    info.bmiHeader.biHeight = 1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HDC windowDc = GetDC(window);
    HDC memory = CreateCompatibleDC(windowDc);
    HBITMAP pixel = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, pixel);
    BitBlt(memory, 0, 0, 1, 1, windowDc, x, y, SRCCOPY);
    std::array<BYTE, 3> bgr{};
    std::memcpy(bgr.data(), bits, 3);
    SelectObject(memory, old);
    DeleteObject(pixel);
    DeleteDC(memory);
    ReleaseDC(window, windowDc);
    return bgr;
}

// In KZ_RENDER_GDI mode each frame is drawn into the owner's display rectangle.
TEST_F(Preview, GdiModeDrawsFramesIntoTheOwner) {
    KZ_HANDLE h = OpenAt(640, 480);
    ASSERT_NE(h, nullptr);
    KZ_SetParam(h, KZ_PARAM_FORMAT, 4);
    Camera().setUniformFrames(true);
    Camera().keepFrames(1);
    ASSERT_EQ(KZ_Start(h, 0, 10, 10, 100, 80, Window(), KZ_RENDER_GDI), KZ_OK);
    const std::array<BYTE, 3> before = WindowPixel(Window(), 50, 50);
    Camera().deliverFrames(1);
    const std::vector<BYTE> frame = Camera().lastFrames().at(0).bytes;
    const std::array<BYTE, 3> expected = {frame[0], frame[1], frame[2]};
    ASSERT_NE(before, expected) << "the frame's colour must differ from the empty window";
    EXPECT_EQ(WindowPixel(Window(), 50, 50), expected) << "inside the display rectangle";
    EXPECT_EQ(WindowPixel(Window(), 5, 5), before) << "outside the display rectangle";
}

struct FirstBytes {
    std::atomic<int> blue{-1};
};

void __stdcall KeepFirstByte(void* user, BYTE* frame) {
    static_cast<FirstBytes*>(user)->blue = frame[0];
}

// A picture parameter set through the library reaches the camera and shows in the next frames.
TEST_F(Preview, BrightnessShowsInTheFrames) {
    KZ_HANDLE h = OpenAt(640, 480);
    ASSERT_NE(h, nullptr);
    KZ_SetParam(h, KZ_PARAM_FORMAT, 4);
    Camera().setUniformFrames(true);
    Camera().setAmplifierApplied(true);
    FirstBytes seen;
    ASSERT_EQ(KZ_SetFrameCallBack(h, KeepFirstByte, &seen), KZ_OK);
    ASSERT_EQ(KZ_Start(h, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK);
    Camera().deliverFrames(1);
    const int before = seen.blue.load();
    ASSERT_GT(before, 0);
    int brightness = 0;
    KZ_GetParam(h, KZ_PARAM_BRIGHTNESS, &brightness);
    ASSERT_EQ(KZ_SetParam(h, KZ_PARAM_BRIGHTNESS, brightness - 20), KZ_OK);
    Camera().deliverFrames(1);
    EXPECT_EQ(seen.blue.load(), before - 20);
}

// The rate is 0.0 until the first 5000 ms tick, then frames over the period.
TEST_F(Preview, FrameRateAfterTheFirstTick) {
    KZ_HANDLE h = OpenAt(640, 480);
    ASSERT_NE(h, nullptr);
    ASSERT_TRUE(Camera().setFrameRate(15));
    ASSERT_EQ(KZ_Start(h, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK);
    Camera().deliverFrames(70);
    EXPECT_EQ(KZ_GetFrameRate(h), 0.0f);
    Camera().deliverFrames(10);
    EXPECT_NEAR(KZ_GetFrameRate(h), 15.0f, 0.5f);
}

struct LimitCase {
    const char* name;
    int format;
    int width;
    int height;
};

// Settings the frame-copy buffers or the format table cannot serve make the next start fail.
TEST_F(Preview, StartRefusesFormatsOutsideTheLimits) {
    KZ_HANDLE h = Open();
    ASSERT_NE(h, nullptr);
    const LimitCase cases[] = {
        {"format index 9", 9, 1280, 1024}, {"format index -1", -1, 1280, 1024}, {"width 2048", 6, 2048, 1536},
        {"height 1025", 6, 1280, 1025},    {"width 0", 6, 0, 480},
    };
    for (const LimitCase& c : cases) {
        KZ_SetParam(h, KZ_PARAM_FORMAT, c.format);
        KZ_SetParam(h, KZ_PARAM_WIDTH, c.width);
        KZ_SetParam(h, KZ_PARAM_HEIGHT, c.height);
        EXPECT_EQ(KZ_Start(h, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_ERR_FAILED) << c.name;
    }
    KZ_SetParam(h, KZ_PARAM_FORMAT, 4);
    KZ_SetParam(h, KZ_PARAM_WIDTH, 1280);
    KZ_SetParam(h, KZ_PARAM_HEIGHT, 1024);
    EXPECT_EQ(KZ_Start(h, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK);
}

struct MissingFilterCase {
    const char* name;
    const CLSID* clsid;
    int expected;
};

// Filters the preview cannot be built without fail the start after their error box; a missing renderer is
// shown and the start goes on.
TEST_F(Preview, StartReportsFiltersThatCannotBeCreated) {
    KZ_HANDLE h = OpenAt(640, 480);
    ASSERT_NE(h, nullptr);
    const MissingFilterCase cases[] = {
        {"sample grabber", &CLSID_SampleGrabber, KZ_ERR_FAILED},
        {"decoder", &CLSID_AVIDec, KZ_ERR_FAILED},
        {"null renderer", &CLSID_NullRenderer, KZ_OK},
    };
    int shown = 0;
    for (const MissingFilterCase& c : cases) {
        const int token = platform::dshow::registerClass(*c.clsid, [](REFIID, void** object) {
            *object = nullptr;
            return E_OUTOFMEMORY;
        });
        EXPECT_EQ(KZ_Start(h, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), c.expected) << c.name;
        platform::dshow::unregisterClass(token);
        EXPECT_EQ(Boxes().calls().size(), static_cast<std::size_t>(++shown)) << c.name << " shows one box";
        EXPECT_EQ(KZ_Start(h, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK) << "after " << c.name;
    }
}

// A start reads bCustomProp and stores its default; with the value 1 no gains are sent.
TEST_F(Preview, StartStoresCustomPropDefault) {
    KZ_HANDLE h = Open();
    ASSERT_NE(h, nullptr);
    Camera().clearLogs();
    ASSERT_EQ(KZ_Start(h, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK);
    DWORD value = 0;
    DWORD size = sizeof(value);
    ASSERT_TRUE(ReadCameraValue("bCustomProp", nullptr, &value, &size));
    EXPECT_EQ(value, 1u);
    EXPECT_TRUE(Camera().registerWrites().empty());
}

// With bCustomProp 0 a start sends the stored gains and exposure, corrected (0 gives the default, values
// above the maximum the maximum), to the sensor in the order red, green1, green2, blue, exposure; the
// sensor's registers hold them afterwards and the missing values are stored with their defaults.
TEST_F(Preview, StartWithCustomPropPushesCorrectedGains) {
    KZ_HANDLE h = Open();
    ASSERT_NE(h, nullptr);
    HKEY key = korvib::OpenCameraKey(3);
    ASSERT_NE(key, nullptr);
    korvib::WriteRegDword(key, "bCustomProp", 0);
    korvib::WriteRegDword(key, "RGain", 100);
    korvib::WriteRegDword(key, "BGain", 7);
    korvib::WriteRegDword(key, "Exposure", 20000);
    RegCloseKey(key);
    Camera().clearLogs();
    ASSERT_EQ(KZ_Start(h, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK);
    DWORD stored = 0;
    DWORD size = sizeof(stored);
    EXPECT_TRUE(ReadCameraValue("GGain1", nullptr, &stored, &size)) << "GGain1 was read and stored";
    const std::pair<BYTE, unsigned> expected[] = {{0x2D, 63}, {0x2B, 21}, {0x2E, 21}, {0x2C, 7}, {0x09, 16383}};
    const auto writes = Camera().registerWrites();
    ASSERT_EQ(writes.size(), std::size(expected));
    for (std::size_t i = 0; i < writes.size(); ++i) {
        EXPECT_EQ(writes[i].address, 0xBA);
        EXPECT_EQ(writes[i].reg, expected[i].first) << i;
        EXPECT_EQ(writes[i].value, expected[i].second) << i;
        EXPECT_EQ(Camera().i2cRegister(0xBA, expected[i].first), expected[i].second) << i;
    }
}

struct SlowCounter {
    std::atomic<int> frames{0};
};

void __stdcall SlowFrame(void* user, BYTE* /*frame*/) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    static_cast<SlowCounter*>(user)->frames.fetch_add(1);
}

// KZ_Stop while frames stream, in each render mode (frames drawn into the owner or the renderer's window
// on the streaming thread): once it returns, no callback runs any more.
TEST_F(Preview, StopWhileFramesStream) {
    KZ_HANDLE h = OpenAt(640, 480);
    ASSERT_NE(h, nullptr);
    SlowCounter counter;
    ASSERT_EQ(KZ_SetFrameCallBack(h, SlowFrame, &counter), KZ_OK);
    for (int mode : {KZ_RENDER_DS, KZ_RENDER_GDI, KZ_RENDER_NONE, KZ_RENDER_DS}) {
        ASSERT_EQ(KZ_Start(h, WS_CHILD | WS_VISIBLE, 0, 0, 320, 240, Window(), mode), KZ_OK);
        FrameFeeder feeder(Camera());
        feeder.WaitForFrames(3);
        EXPECT_EQ(KZ_Stop(h), KZ_OK);
        const int afterStop = counter.frames.load();
        feeder.WaitForFrames(3);
        EXPECT_EQ(counter.frames.load(), afterStop) << "mode " << mode;
    }
    // Closing while frames stream stops the preview before the callbacks and buffers go.
    ASSERT_EQ(KZ_Start(h, WS_CHILD | WS_VISIBLE, 0, 0, 320, 240, Window(), KZ_RENDER_GDI), KZ_OK);
    FrameFeeder feeder(Camera());
    feeder.WaitForFrames(3);
    EXPECT_EQ(KZ_UnInitial(&handle_), KZ_OK);
    const int afterClose = counter.frames.load();
    feeder.WaitForFrames(3);
    EXPECT_EQ(counter.frames.load(), afterClose);
}

struct Reentry {
    KZ_HANDLE handle = nullptr;
    std::atomic<int> stopResult{-1};
    std::atomic<int> startResult{-1};
    std::atomic<int> closeResult{-1};
};

void __stdcall StopFromCallback(void* user, BYTE* /*frame*/) {
    auto* reentry = static_cast<Reentry*>(user);
    reentry->stopResult = KZ_Stop(reentry->handle);
    reentry->startResult = KZ_Start(reentry->handle, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE);
    KZ_HANDLE copy = reentry->handle;
    reentry->closeResult = KZ_UnInitial(&copy);
}

// A callback cannot stop, restart or close its own device: the calls fail instead of waiting for ever.
TEST_F(Preview, CallbacksCannotStopTheirOwnGraph) {
    KZ_HANDLE h = Open();
    ASSERT_NE(h, nullptr);
    Reentry reentry;
    reentry.handle = h;
    ASSERT_EQ(KZ_SetFrameCallBack(h, StopFromCallback, &reentry), KZ_OK);
    ASSERT_EQ(KZ_Start(h, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK);
    Camera().deliverFrames(1);
    EXPECT_EQ(reentry.stopResult.load(), KZ_ERR_FAILED);
    EXPECT_EQ(reentry.startResult.load(), KZ_ERR_FAILED);
    EXPECT_EQ(reentry.closeResult.load(), KZ_ERR_FAILED);
    EXPECT_EQ(KZ_Stop(h), KZ_OK);
}

// KZ_CaptureToBuf copies the next frame as the pipeline has it (RGB24, no processing switched on). The
// camera streams live here: the snapshot's 200 ms polls sleep on the real clock.
TEST_F(Preview, CaptureToBufCopiesTheNextFrame) {
    Camera().setSteppedMode(false);
    KZ_HANDLE h = OpenAt(640, 480);
    ASSERT_NE(h, nullptr);
    KZ_SetParam(h, KZ_PARAM_FORMAT, 4);
    Camera().keepFrames(8);
    ASSERT_EQ(KZ_Start(h, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK);
    std::vector<BYTE> buffer(640 * 480 * 3, 0);
    EXPECT_EQ(KZ_CaptureToBuf(h, buffer.data()), KZ_OK);
    EXPECT_EQ(KZ_Stop(h), KZ_OK);
    bool matched = false;
    for (const auto& frame : Camera().lastFrames()) {
        matched = matched || (frame.bytes.size() == buffer.size() &&
                              std::memcmp(frame.bytes.data(), buffer.data(), buffer.size()) == 0);
    }
    EXPECT_TRUE(matched) << "the copy is one of the delivered frames";
}

} // namespace
