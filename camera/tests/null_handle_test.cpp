// Every KZ_* export refuses a null handle before it reads any other argument.
#include <gtest/gtest.h>

#include <functional>

#include <camera/korvib.h>

namespace {

struct NullHandleCase {
    const char* name;
    std::function<int()> call;
};

// Arguments other than the handle are deliberately invalid pointers: they must not be touched.
TEST(NullHandle, EveryExportReturnsTheNullHandleCode) {
    auto* bad = reinterpret_cast<BYTE*>(8);
    auto* badInt = reinterpret_cast<int*>(8);
    auto* badPath = reinterpret_cast<const char*>(8);
    const NullHandleCase cases[] = {
        {"KZ_Initial", [] { return KZ_Initial(nullptr, nullptr, 1); }},
        {"KZ_UnInitial(null)", [] { return KZ_UnInitial(nullptr); }},
        {"KZ_UnInitial(&null)", [] { KZ_HANDLE h = nullptr; return KZ_UnInitial(&h); }},
        {"KZ_Start", [] { return KZ_Start(nullptr, 0, 0, 0, 640, 480, nullptr, 0); }},
        {"KZ_Stop", [] { return KZ_Stop(nullptr); }},
        {"KZ_SetParam", [] { return KZ_SetParam(nullptr, 0, 1); }},
        {"KZ_GetParam", [=] { return KZ_GetParam(nullptr, 0, badInt); }},
        {"KZ_CaptureToBmp", [=] { return KZ_CaptureToBmp(nullptr, badPath); }},
        {"KZ_StartCapture", [=] { return KZ_StartCapture(nullptr, badPath); }},
        {"KZ_StopCapture", [] { return KZ_StopCapture(nullptr); }},
        {"KZ_ShowPropertyPage", [] { return KZ_ShowPropertyPage(nullptr, 0); }},
        {"KZ_LoadMaskBmp", [=] { return KZ_LoadMaskBmp(nullptr, badPath, 0, 0); }},
        {"KZ_Calibration", [=] { return KZ_Calibration(nullptr, badPath, 1, 1); }},
        {"KZ_CaptureToBuf", [=] { return KZ_CaptureToBuf(nullptr, bad); }},
        {"KZ_SetFrameCallBack", [] { return KZ_SetFrameCallBack(nullptr, nullptr, nullptr); }},
        {"KZ_SetFrameCallBackEx", [] { return KZ_SetFrameCallBackEx(nullptr, nullptr, nullptr); }},
        {"KZ_SetGreenGamma", [] { return KZ_SetGreenGamma(nullptr, 2.2f, 1); }},
        {"KZ_RegOperation", [=] { return KZ_RegOperation(nullptr, 0, badInt, 1); }},
        {"KZ_GetRegRange", [=] { return KZ_GetRegRange(nullptr, 0, badInt, badInt); }},
        {"KZ_FocusOperation", [] { return KZ_FocusOperation(nullptr, 1, 10); }},
        {"KZ_SetMaskCallBack", [] { return KZ_SetMaskCallBack(nullptr, nullptr, nullptr); }},
        {"KZ_SetDoSubAF", [] { return KZ_SetDoSubAF(nullptr, 1); }},
        {"KZ_SetDoAF", [] { return KZ_SetDoAF(nullptr, 1); }},
        {"KZ_SelectCompressor", [] { return KZ_SelectCompressor(nullptr); }},
        {"KZ_DeviceCompressor",
         [] {
             return KZ_DeviceCompressor(nullptr, reinterpret_cast<LONG*>(8), reinterpret_cast<LONG*>(8),
                                        reinterpret_cast<double*>(8), 1);
         }},
        {"KZ_CaptureToJpg", [=] { return KZ_CaptureToJpg(nullptr, badPath, 70); }},
        {"KZ_GPIOOperation", [] { return KZ_GPIOOperation(nullptr, reinterpret_cast<unsigned*>(8), 1); }},
        {"KZ_SetViewWin", [=] { return KZ_SetViewWin(nullptr, badInt); }},
    };
    for (const NullHandleCase& c : cases) {
        EXPECT_EQ(c.call(), KZ_ERR_NULL_HANDLE) << c.name;
    }
    EXPECT_EQ(KZ_GetFrameRate(nullptr), 2.0f);
}

} // namespace
