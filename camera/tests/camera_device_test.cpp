// The device object on the simulated camera: opening, defaults, result codes, parameters, the settings key.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include <dshow/dshow.h>
#include <win32/registry.h>

#include "camera_device.h"
#include "camera_fixture.h"
#include "driver_page_answer.h"
#include "graph_helpers.h"

namespace {

using DeviceObject = CameraTest;

TEST_F(DeviceObject, OpensWithDefaultsAndClosesOnce) {
    KZ_HANDLE h = Open();
    ASSERT_NE(h, nullptr);
    const int expected[][2] = {{KZ_PARAM_FORMAT, 6}, {KZ_PARAM_HEIGHT, 1024}, {KZ_PARAM_WIDTH, 1280},
                               {KZ_PARAM_VIEW_HEIGHT, 0}, {KZ_PARAM_VIEW_WIDTH, 0}, {15, -1}, {-1, -1}};
    for (const auto& [id, value] : expected) {
        int got = 12345;
        EXPECT_EQ(KZ_GetParam(h, id, &got), KZ_OK);
        EXPECT_EQ(got, value) << "id " << id;
    }
    EXPECT_EQ(KZ_SetParam(h, 15, 7), KZ_OK);
    // Ids 10 to 14 are stored as given, without a range check.
    for (int id = KZ_PARAM_FORMAT; id <= KZ_PARAM_VIEW_WIDTH; ++id) {
        ASSERT_EQ(KZ_SetParam(h, id, 100 + id), KZ_OK);
        int got = 0;
        KZ_GetParam(h, id, &got);
        EXPECT_EQ(got, 100 + id) << "id " << id;
    }
    EXPECT_EQ(KZ_GetFrameRate(h), 0.0f);
    EXPECT_TRUE(Boxes().calls().empty());

    EXPECT_EQ(korvib::CameraDevice::Current(), h);
    EXPECT_EQ(KZ_UnInitial(&handle_), KZ_OK);
    EXPECT_EQ(handle_, nullptr);
    EXPECT_EQ(korvib::CameraDevice::Current(), nullptr) << "the destroyed device is no longer current";
    EXPECT_EQ(KZ_UnInitial(&handle_), KZ_ERR_NULL_HANDLE);
}

struct ResultCase {
    const char* name;
    std::function<int(KZ_HANDLE)> call;
    int expected;
};

// Result codes of every export on an open device whose preview is stopped.
TEST_F(DeviceObject, ExportsAnswerWhileStopped) {
    KZ_HANDLE h = Open();
    ASSERT_NE(h, nullptr);
    static BYTE buffer[16];
    static int value = 0;
    static unsigned gpio = 0;
    static const int rect[4] = {10, 20, 300, 200};
    LONG keyFrames = 0;
    LONG pFrames = 0;
    double quality = 0;
    const ResultCase cases[] = {
        {"KZ_Stop", [](KZ_HANDLE d) { return KZ_Stop(d); }, KZ_OK},
        {"KZ_GetParam(null value)", [](KZ_HANDLE d) { return KZ_GetParam(d, KZ_PARAM_WIDTH, nullptr); },
         KZ_OK},
        {"KZ_SetParam(hue, not offered)", [](KZ_HANDLE d) { return KZ_SetParam(d, KZ_PARAM_HUE, 0); },
         KZ_ERR_FAILED},
        {"KZ_CaptureToBuf(null)", [](KZ_HANDLE d) { return KZ_CaptureToBuf(d, nullptr); }, KZ_ERR_MISSING},
        {"KZ_CaptureToBuf", [](KZ_HANDLE d) { return KZ_CaptureToBuf(d, buffer); }, KZ_ERR_FAILED},
        {"KZ_CaptureToBmp", [](KZ_HANDLE d) { return KZ_CaptureToBmp(d, "/tmp/x.bmp"); }, KZ_ERR_FAILED},
        {"KZ_CaptureToJpg", [](KZ_HANDLE d) { return KZ_CaptureToJpg(d, "/tmp/x.jpg", 70); },
         KZ_ERR_NOT_PREVIEWING},
        {"KZ_CaptureToJpg(null)", [](KZ_HANDLE d) { return KZ_CaptureToJpg(d, nullptr, 70); },
         KZ_ERR_NOT_PREVIEWING},
        {"KZ_ShowPropertyPage(0)", [](KZ_HANDLE d) { return KZ_ShowPropertyPage(d, 0); }, KZ_ERR_NOT_RUNNING},
        {"KZ_ShowPropertyPage(1)", [](KZ_HANDLE d) { return KZ_ShowPropertyPage(d, 1); }, KZ_ERR_NOT_RUNNING},
        {"KZ_RegOperation", [](KZ_HANDLE d) { return KZ_RegOperation(d, 0, &value, 0); }, KZ_OK},
        {"KZ_GetRegRange", [](KZ_HANDLE d) { return KZ_GetRegRange(d, 0, &value, &value); }, KZ_OK},
        {"KZ_FocusOperation", [](KZ_HANDLE d) { return KZ_FocusOperation(d, 1, 10); }, KZ_OK},
        {"KZ_GPIOOperation", [](KZ_HANDLE d) { return KZ_GPIOOperation(d, &gpio, 0); }, KZ_OK},
        {"KZ_StopCapture", [](KZ_HANDLE d) { return KZ_StopCapture(d); }, KZ_OK},
        {"KZ_DeviceCompressor",
         [&](KZ_HANDLE d) { return KZ_DeviceCompressor(d, &keyFrames, &pFrames, &quality, 0); }, KZ_OK},
        {"KZ_LoadMaskBmp", [](KZ_HANDLE d) { return KZ_LoadMaskBmp(d, "/tmp/none.bmp", 0xFFFFFF, 0); },
         KZ_ERR_FAILED},
        {"KZ_Calibration(\"\")", [](KZ_HANDLE d) { return KZ_Calibration(d, "", 1, 0); }, KZ_OK},
        {"KZ_Calibration", [](KZ_HANDLE d) { return KZ_Calibration(d, "/tmp/none.bmp", 1, 0); },
         KZ_ERR_FAILED},
        {"KZ_SetFrameCallBack(null)", [](KZ_HANDLE d) { return KZ_SetFrameCallBack(d, nullptr, nullptr); },
         KZ_OK},
        {"KZ_SetFrameCallBackEx(null)",
         [](KZ_HANDLE d) { return KZ_SetFrameCallBackEx(d, nullptr, nullptr); }, KZ_OK},
        {"KZ_SetMaskCallBack(null)", [](KZ_HANDLE d) { return KZ_SetMaskCallBack(d, nullptr, nullptr); },
         KZ_OK},
        {"KZ_SetGreenGamma", [](KZ_HANDLE d) { return KZ_SetGreenGamma(d, 2.2f, 0); }, KZ_OK},
        {"KZ_SetDoSubAF", [](KZ_HANDLE d) { return KZ_SetDoSubAF(d, 0); }, KZ_OK},
        {"KZ_SetDoAF", [](KZ_HANDLE d) { return KZ_SetDoAF(d, 0); }, KZ_OK},
        {"KZ_SetViewWin", [](KZ_HANDLE d) { return KZ_SetViewWin(d, rect); }, KZ_OK},
        {"KZ_SetViewWin(null)", [](KZ_HANDLE d) { return KZ_SetViewWin(d, nullptr); }, KZ_ERR_FAILED},
    };
    for (const ResultCase& c : cases) {
        EXPECT_EQ(c.call(h), c.expected) << c.name;
    }
    int viewWidth = 0;
    int viewHeight = 0;
    KZ_GetParam(h, KZ_PARAM_VIEW_WIDTH, &viewWidth);
    KZ_GetParam(h, KZ_PARAM_VIEW_HEIGHT, &viewHeight);
    EXPECT_EQ(viewWidth, 300) << "KZ_SetViewWin stores the rectangle while stopped";
    EXPECT_EQ(viewHeight, 200);
    // The one box is the dark frame's that could not be loaded.
    ASSERT_EQ(Boxes().calls().size(), 1u);
    EXPECT_EQ(Boxes().calls()[0].text, "黑平衡操作失败!");
}

// While the preview runs, the property pages get past their running check.
TEST_F(DeviceObject, ExportsAnswerWhileRunning) {
    KZ_HANDLE h = Open();
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(KZ_Start(h, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK);
    EXPECT_EQ(KZ_ShowPropertyPage(h, 0), KZ_OK);
    PageAnswer answer([](HWND page) { PressFrameButton(page, IDCANCEL); });
    EXPECT_EQ(KZ_ShowPropertyPage(h, 1), KZ_OK);
    EXPECT_TRUE(answer.Answered());
    EXPECT_EQ(KZ_Stop(h), KZ_OK);
    EXPECT_EQ(KZ_ShowPropertyPage(h, 0), KZ_ERR_NOT_RUNNING);
}

// Without a camera of the model name, opening fails with the register object's box and one COM error box
// and leaves the handle null.
TEST_F(DeviceObject, MissingCameraFailsWithTwoBoxes) {
    platform::devices::SimulatedCamera::setNoDevice(true);
    handle_ = reinterpret_cast<KZ_HANDLE>(8);
    EXPECT_EQ(KZ_Initial(&handle_, nullptr, 1), KZ_ERR_FAILED);
    EXPECT_EQ(handle_, nullptr);
    const auto boxes = Boxes().calls();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "OpenInterface Fail!");
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[1].caption, "Veltrane");
    EXPECT_EQ(boxes[1].style, static_cast<UINT>(MB_OK));
}

// The first device creates the settings key with an empty "Compressor" value.
TEST_F(DeviceObject, OpeningCreatesTheSettingsKey) {
    ASSERT_NE(Open(), nullptr);
    DWORD type = 0;
    DWORD size = 0;
    ASSERT_TRUE(ReadCameraValue("Compressor", &type, nullptr, &size));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 1u);
}

// A settings key that cannot be opened is reported in an information box; the camera opens all the same.
TEST_F(DeviceObject, UnavailableSettingsKeyStillOpens) {
    platform::seams::setRegistryFile("/dev/null/registry.ini");
    EXPECT_EQ(KZ_Initial(&handle_, nullptr, 1), KZ_OK);
    EXPECT_NE(handle_, nullptr);
    ExpectOneVeltraneBox(MB_ICONINFORMATION);
    EXPECT_EQ(KZ_Start(handle_, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK) << "settings fall back to defaults";
}

// Ids 0 to 9 reach the camera's video processing amplifier: a value inside the range reads back, a value
// the driver refuses fails.
TEST_F(DeviceObject, AmplifierParametersReadBack) {
    KZ_HANDLE h = Open();
    ASSERT_NE(h, nullptr);
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    IBaseFilter* source = nullptr;
    ASSERT_EQ(korvib::FindFilterByName(CLSID_VideoInputDeviceCategory, "USB 2820 Video", &source), S_OK);
    ASSERT_NE(source, nullptr);
    IAMVideoProcAmp* amp = nullptr;
    ASSERT_EQ(source->QueryInterface(IID_IAMVideoProcAmp, reinterpret_cast<void**>(&amp)), S_OK);
    int withRange = 0;
    for (int id = KZ_PARAM_BRIGHTNESS; id <= KZ_PARAM_GAIN; ++id) {
        LONG min = 0, max = 0, step = 0, def = 0, flags = 0;
        if (FAILED(amp->GetRange(id, &min, &max, &step, &def, &flags)) || min >= max) {
            EXPECT_EQ(KZ_SetParam(h, id, def), KZ_ERR_FAILED) << "id " << id << " has no usable range";
            int got = 0;
            KZ_GetParam(h, id, &got);
            EXPECT_EQ(got, -1);
            continue;
        }
        ++withRange;
        const int target = def == max ? min : max;
        EXPECT_EQ(KZ_SetParam(h, id, target), KZ_OK) << "id " << id;
        int got = 0;
        EXPECT_EQ(KZ_GetParam(h, id, &got), KZ_OK);
        EXPECT_EQ(got, target) << "id " << id;
        EXPECT_EQ(KZ_SetParam(h, id, max + 1000), KZ_ERR_FAILED) << "id " << id << ": the driver's refusal";
    }
    EXPECT_GT(withRange, 0) << "the camera offers amplifier properties";
    amp->Release();
    source->Release();
    CoUninitialize();
}

} // namespace
