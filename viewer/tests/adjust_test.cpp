// End-to-end: the camera adjustments: plus and minus steps, a held button's repeat, level-bar presses and
// drags.
#include <functional>
#include <map>

#include <win32/message_loop.h>

#include "program_fixture.h"

namespace {

constexpr BYTE kSensor = 0xBA;
constexpr BYTE kExposureRegister = 0x09;

// Runs every message waiting, through the dialog's pre-translation as the modal loop does.
void Pump() {
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE))
        platform::user::pumpMessage();
}

std::string Text(COrvanelDlg& dlg, int id) {
    CString text;
    dlg.GetDlgItemText(id, text);
    return text.str();
}

// What the camera holds for an adjustment: its parameter, or the sensor's exposure register.
int CameraValue(COrvanelDlg& dlg, int param) {
    int value = -1;
    if (param < 0)
        KZ_RegOperation(dlg.m_hCamera, KZ_REG_EXPOSURE, &value, 0);
    else
        KZ_GetParam(dlg.m_hCamera, param, &value);
    return value;
}

struct Adjust {
    const char* name;
    int plus, minus, bar, text;
    int param; // -1: the exposure register
    int max;
    int COrvanelDlg::*member;
};

const Adjust kAdjusts[] = {
    {"brightness", 1015, 1017, 1016, 1073, KZ_PARAM_BRIGHTNESS, 255, &COrvanelDlg::m_nBrightness},
    {"contrast", 1018, 1020, 1019, 1074, KZ_PARAM_CONTRAST, 63, &COrvanelDlg::m_nContrast},
    {"saturation", 1021, 1023, 1022, 1075, KZ_PARAM_SATURATION, 63, &COrvanelDlg::m_nSaturation},
    {"sharpness", 1024, 1026, 1025, 1076, KZ_PARAM_SHARPNESS, 15, &COrvanelDlg::m_nSharpness},
    {"gamma", 1027, 1029, 1028, 1077, KZ_PARAM_GAMMA, 63, &COrvanelDlg::m_nGamma},
    {"exposure", 1102, 1103, 1101, 1104, -1, 2000, &COrvanelDlg::m_nExposure},
};

CBmpStatic& Bar(COrvanelDlg& dlg, int id) {
    return *static_cast<CBmpStatic*>(dlg.GetDlgItem(id));
}

} // namespace

// Each plus stops at the top of its range and each minus at 0 (exposure: the sensor's lower bound); a step
// inside the range reaches the camera, the bar and the value text.
TEST_F(ProgramTest, StepsStayInTheirRangesAndReachTheCamera) {
    RunDialog([&](COrvanelDlg& dlg) {
        for (const Adjust& a : kAdjusts) {
            SCOPED_TRACE(a.name);
            const int min = a.param < 0 ? dlg.m_nExposureMin : 0;
            dlg.*a.member = a.max;
            Click(dlg, a.plus);
            EXPECT_EQ(dlg.*a.member, a.max);
            Click(dlg, a.minus);
            EXPECT_EQ(dlg.*a.member, a.max - 1);
            EXPECT_EQ(CameraValue(dlg, a.param), a.max - 1);
            EXPECT_EQ(Bar(dlg, a.bar).m_nPos, a.max - 1);
            EXPECT_EQ(Text(dlg, a.text), std::to_string(a.max - 1));

            dlg.*a.member = min;
            Click(dlg, a.minus);
            EXPECT_EQ(dlg.*a.member, min);
            EXPECT_EQ(CameraValue(dlg, a.param), a.max - 1) << "nothing sent at the bottom";
            Click(dlg, a.plus);
            EXPECT_EQ(CameraValue(dlg, a.param), min + 1);
        }
        dlg.SendMessage(WM_CLOSE);
    });
}

// The exposure bar runs from the sensor's lower bound to 2000, whatever larger maximum the sensor reports,
// and starts at the sensor's exposure.
TEST_F(ProgramTest, ExposureRangeIsCappedAt2000) {
    RunDialog([&](COrvanelDlg& dlg) {
        int min = 0, max = 0;
        KZ_GetRegRange(dlg.m_hCamera, KZ_REG_EXPOSURE, &min, &max);
        EXPECT_GT(max, 2000);
        EXPECT_EQ(dlg.m_nExposureMin, min);
        EXPECT_EQ(dlg.m_nExposureMax, 2000);
        EXPECT_EQ(dlg.m_barExposure.m_nMax, 2000);
        EXPECT_EQ(dlg.m_nExposure, 660);
        EXPECT_EQ(dlg.m_barExposure.m_nPos, 660);
        EXPECT_EQ(Text(dlg, IDC_STATIC_EXPOSURE_VALUE), "660");
        dlg.SendMessage(WM_CLOSE);
    });
}

// Holding plus steps every 50 ms through the dialog's repeat handling and stops at the top: exposure from
// 1997 is written as 1998, 1999 and 2000 once each; a release's click adds its own step; contrast stays
// at 63.
TEST_F(ProgramTest, HeldPlusRepeatsUpToTheTop) {
    platform::SteppedClock& clock = UseSteppedClock();
    std::vector<unsigned> exposures;
    RunDialog([&](COrvanelDlg& dlg) {
        auto hold = [&](int id, int ms) {
            CBmpButton& plus = *dlg.Button(id);
            plus.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
            for (int t = 0; t < ms; t += 10) {
                clock.advance(10);
                Pump();
            }
            plus.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
            Pump();
        };
        dlg.m_nExposure = 1997;
        Camera().clearLogs();
        hold(IDC_BUTTON_EXPOSURE_UP, 400);
        EXPECT_EQ(dlg.m_nExposure, 2000);
        for (const auto& w : Camera().registerWrites())
            if (w.address == kSensor && w.reg == kExposureRegister)
                exposures.push_back(w.value);

        dlg.m_nContrast = 58;
        hold(IDC_BUTTON_CONTRAST_UP, 100);
        EXPECT_EQ(dlg.m_nContrast, 61) << "two repeats in 100 ms and the release's click";
        hold(IDC_BUTTON_CONTRAST_UP, 300);
        EXPECT_EQ(dlg.m_nContrast, 63);
        EXPECT_EQ(CameraValue(dlg, KZ_PARAM_CONTRAST), 63);
        dlg.SendMessage(WM_CLOSE);
    });
    EXPECT_EQ(exposures, (std::vector<unsigned>{1998, 1999, 2000}));
}

// A press on a bar sets the value from the press position, a drag follows the mouse, and each value reaches
// the camera, the bar and the text; a release over the window outside the bar ends the drag.
TEST_F(ProgramTest, BarPressAndDragSetTheValue) {
    RunDialog([&](COrvanelDlg& dlg) {
        CBmpStatic& bar = dlg.m_barContrast;
        CRect client;
        bar.GetClientRect(client);
        auto valueAt = [&](int x) { return 63 * x / (client.Width() - 1); };
        const int x1 = client.Width() / 3;
        const int x2 = client.Width() - 1;
        bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x1, 2));
        Pump();
        EXPECT_EQ(dlg.m_nContrast, valueAt(x1));
        EXPECT_EQ(CameraValue(dlg, KZ_PARAM_CONTRAST), valueAt(x1));
        EXPECT_EQ(Text(dlg, IDC_STATIC_CONTRAST_VALUE), std::to_string(valueAt(x1)));
        bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x2, 2));
        Pump();
        EXPECT_EQ(dlg.m_nContrast, valueAt(x2));
        EXPECT_EQ(CameraValue(dlg, KZ_PARAM_CONTRAST), valueAt(x2));
        EXPECT_EQ(dlg.m_bDragging, 1);

        // The mouse comes up over the dialog, away from the bar.
        dlg.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(0, 0));
        EXPECT_EQ(bar.m_bButtonDown, 0);
        EXPECT_EQ(dlg.m_nBrightness, 80) << "no other adjustment moved";
        dlg.SendMessage(WM_CLOSE);
    });
}

// The exposures the sensor's exposure register was written with, oldest first.
std::vector<unsigned> ExposureWrites(platform::devices::SimulatedCamera camera) {
    std::vector<unsigned> values;
    for (const auto& w : camera.registerWrites())
        if (w.address == kSensor && w.reg == kExposureRegister)
            values.push_back(w.value);
    return values;
}

// The exposure bar reaches its whole range: a press at the left end writes the sensor's lower bound 1 to
// the exposure register, the right end exactly 2000, and a drag past either end holds that end's value.
TEST_F(ProgramTest, ExposureBarWritesTheSensorFromItsMinimumTo2000) {
    RunDialog([&](COrvanelDlg& dlg) {
        CBmpStatic& bar = dlg.m_barExposure;
        ASSERT_EQ(dlg.m_nExposureMin, 1);
        CRect client;
        bar.GetClientRect(client);
        Camera().clearLogs();
        bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, 2));
        Pump();
        EXPECT_EQ(dlg.m_nExposure, 1);
        EXPECT_EQ(Text(dlg, IDC_STATIC_EXPOSURE_VALUE), "1");
        for (const int x : {client.Width() - 1, -30, client.Width() + 30}) {
            bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, 2));
            Pump();
        }
        EXPECT_EQ(ExposureWrites(Camera()), (std::vector<unsigned>{1, 2000, 1, 2000}));
        EXPECT_EQ(dlg.m_nExposure, 2000);
        EXPECT_EQ(CameraValue(dlg, -1), 2000);
        EXPECT_EQ(bar.m_nPos, 2000) << "the bar keeps a value it can paint";
        EXPECT_EQ(Text(dlg, IDC_STATIC_EXPOSURE_VALUE), "2000");
        bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(client.Width() + 30, 2));
        Pump();
        dlg.SendMessage(WM_CLOSE);
    });
}

// A pressed bar's position outside the adjustment's range changes nothing: below the sensor's bound 1 or
// above 2000, member, text and sensor keep the value of the press.
TEST_F(ProgramTest, BarValueOutsideTheRangeIsIgnored) {
    RunDialog([&](COrvanelDlg& dlg) {
        CBmpStatic& bar = dlg.m_barExposure;
        CRect client;
        bar.GetClientRect(client);
        bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.Width() / 2, 2));
        Pump();
        const int pressed = dlg.m_nExposure;
        EXPECT_EQ(CameraValue(dlg, -1), pressed);
        for (const int outside : {0, 2001}) {
            bar.m_nPos = outside;
            dlg.PostMessage(WM_LEVEL_CHANGED);
            Pump();
            EXPECT_EQ(dlg.m_nExposure, pressed) << outside;
            EXPECT_EQ(CameraValue(dlg, -1), pressed) << outside;
            EXPECT_EQ(Text(dlg, IDC_STATIC_EXPOSURE_VALUE), std::to_string(pressed)) << outside;
        }
        bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(client.Width() / 2, 2));
        Pump();
        dlg.SendMessage(WM_CLOSE);
    });
}

// WM_LEVEL_CHANGED with no bar pressed sends nothing and moves no value, but shows the value texts.
TEST_F(ProgramTest, LevelChangedWithoutPressedBarOnlyShowsTheTexts) {
    RunDialog([&](COrvanelDlg& dlg) {
        const int gamma = dlg.m_nGamma;
        const int exposure = dlg.m_nExposure;
        dlg.m_barGamma.m_nPos = gamma + 3;
        dlg.m_barExposure.m_nPos = exposure + 3;
        dlg.m_strContrast = "17";
        Camera().clearLogs();
        dlg.PostMessage(WM_LEVEL_CHANGED);
        Pump();
        EXPECT_EQ(dlg.m_nGamma, gamma);
        EXPECT_EQ(CameraValue(dlg, KZ_PARAM_GAMMA), gamma);
        EXPECT_EQ(dlg.m_nExposure, exposure);
        EXPECT_TRUE(ExposureWrites(Camera()).empty());
        EXPECT_EQ(Text(dlg, IDC_STATIC_CONTRAST_VALUE), "17") << "the texts were shown";
        dlg.SendMessage(WM_CLOSE);
    });
}

// Answers BM_GETSTATE of the buttons in g_states with their given state; the rest goes to the button.
std::map<HWND, std::pair<WNDPROC, LRESULT>> g_states;

LRESULT CALLBACK StateProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto& [proc, state] = g_states.at(hwnd);
    if (message == BM_GETSTATE)
        return state;
    return ::CallWindowProc(proc, hwnd, message, wParam, lParam);
}

struct RepeatCase {
    const char* name;
    std::vector<std::pair<int, LRESULT>> states; // button, the state it reports
    int brightness, contrast, gamma;             // the steps each value takes
};

// A repeat steps only the first button, in the dialog's order, that reads exactly 108: a button held by
// the mouse but moved off (0x68) or pushed by the keyboard (0x0C) steps nothing.
TEST_F(ProgramTest, RepeatStepsTheFirstButtonHeldByTheMouse) {
    const RepeatCase cases[] = {
        {"two held", {{IDC_BUTTON_CONTRAST_DOWN, 108}, {IDC_BUTTON_BRIGHT_UP, 108}}, 1, 0, 0},
        {"held after a moved-off one", {{IDC_BUTTON_BRIGHT_UP, 0x68}, {IDC_BUTTON_GAMMA_DOWN, 108}}, 0, 0, -1},
        {"moved off", {{IDC_BUTTON_CONTRAST_UP, 0x68}}, 0, 0, 0},
        {"pushed by the keyboard", {{IDC_BUTTON_CONTRAST_UP, 0x0C}}, 0, 0, 0},
    };
    RunDialog([&](COrvanelDlg& dlg) {
        for (const RepeatCase& c : cases) {
            SCOPED_TRACE(c.name);
            for (const auto& [id, state] : c.states) {
                HWND button = dlg.Button(id)->GetSafeHwnd();
                auto proc = reinterpret_cast<WNDPROC>(::GetWindowLongPtr(button, GWLP_WNDPROC));
                g_states[button] = {proc, state};
                ::SetWindowLongPtr(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StateProc));
            }
            const int brightness = dlg.m_nBrightness, contrast = dlg.m_nContrast, gamma = dlg.m_nGamma;
            dlg.PostMessage(WM_BUTTON_REPEAT);
            Pump();
            EXPECT_EQ(dlg.m_nBrightness - brightness, c.brightness);
            EXPECT_EQ(dlg.m_nContrast - contrast, c.contrast);
            EXPECT_EQ(dlg.m_nGamma - gamma, c.gamma);
            for (const auto& [button, entry] : g_states)
                ::SetWindowLongPtr(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry.first));
            g_states.clear();
        }
        dlg.SendMessage(WM_CLOSE);
    });
}

struct StartCase {
    const char* name;
    std::function<void()> arrange;
};

// Without an exposure read from the sensor (no register object, or a silent sensor) the exposure starts
// inside its range: its bar paints bands, its text agrees, and plus steps it.
TEST_F(ProgramTest, ExposureStartsInsideItsRangeWithoutASensorReading) {
    const StartCase cases[] = {
        {"sensor absent", [this] { Camera().setSensorPresent(false); }},
        {"no register object",
         [] {
             platform::devices::SimulatedCamera::setNoDevice(true);
             platform::devices::SimulatedCamera::setDecoys({{"USB 2820 Video", false}});
         }},
    };
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.name);
        platform::devices::SimulatedCamera::resetAll();
        c.arrange();
        RunDialog([&](COrvanelDlg& dlg) {
            ASSERT_NE(dlg.m_hCamera, nullptr);
            const int start = dlg.m_nExposure;
            EXPECT_GE(start, dlg.m_nExposureMin);
            EXPECT_LE(start, dlg.m_nExposureMax);
            EXPECT_EQ(dlg.m_barExposure.m_nPos, start);
            EXPECT_EQ(Text(dlg, IDC_STATIC_EXPOSURE_VALUE), std::to_string(start));
            Click(dlg, IDC_BUTTON_EXPOSURE_UP);
            EXPECT_EQ(dlg.m_nExposure, start + 1);
            EXPECT_EQ(dlg.m_barExposure.m_nPos, start + 1);
            dlg.SendMessage(WM_CLOSE);
        });
    }
}
