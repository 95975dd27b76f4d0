// CBmpButton: frame choice of the strip, tool tip, and the held-button repeat on a virtual clock.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>
#include <fstream>
#include <vector>

#include <win32/clock.h>

#include "bmp_button.h"
#include "orvanel_app.h"
#include "program_fixture.h"
#include "test_dib.h"

namespace {

// A 24-bit BMP strip of `frames` equal frames of one colour each.
void WriteStrip(const std::filesystem::path& path, int width, int height,
                const std::vector<COLORREF>& frames) {
    const int stride = DibStride(width, 24);
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = frames[static_cast<size_t>(x * static_cast<int>(frames.size()) / width)];
            BYTE* p = &pixels[static_cast<size_t>(y) * stride + 3 * x];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = 14 + 40;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    info.biSize = 40;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), 40);
    out.write(reinterpret_cast<const char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
}

// Runs DrawItem into a fresh 24-bit picture of the item's size and returns its middle pixel.
COLORREF DrawnColour(CBmpButton& button, UINT state, int width, int height) {
    TestDib target(width, height);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = state;
    item.hDC = target.dc();
    item.rcItem = {0, 0, width, height};
    button.DrawItem(&item);
    return target.Pixel(width / 2, height / 2);
}

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr int kStripId = 9001;

class BmpButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = std::filesystem::temp_directory_path() / ("orvanel_strip_test_" + std::to_string(getpid()) + ".bmp");
        WriteStrip(path_, 300, 20, {kRed, kGreen, kBlue});
        platform::gdi::registerResourceBitmap(kStripId, path_.string().c_str());
    }
    void TearDown() override { std::filesystem::remove(path_); }

    std::filesystem::path path_;
};

// Messages the main window received from the button.
struct Received {
    int repeats = 0;
    std::vector<std::pair<WPARAM, LPARAM>> releases;
};
Received g_received;

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_BUTTON_REPEAT)
        ++g_received.repeats;
    if (message == WM_LBUTTONUP)
        g_received.releases.emplace_back(wParam, lParam);
    return ::DefWindowProc(hwnd, message, wParam, lParam);
}

// A main window holding one bitmap button, on a stepped clock.
class HeldButtonTest : public BmpButtonTest {
protected:
    void SetUp() override {
        BmpButtonTest::SetUp();
        platform::installClock(&clock_);
        static const ATOM registered = [] {
            WNDCLASS cls{};
            cls.lpfnWndProc = MainWindowProc;
            cls.lpszClassName = "OrvanelTestMain";
            return ::RegisterClass(&cls);
        }();
        ASSERT_NE(registered, 0);
        main_.Attach(::CreateWindowEx(0, "OrvanelTestMain", "main", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100,
                                      nullptr, nullptr, nullptr, nullptr));
        HWND button = ::CreateWindowEx(0, WC_BUTTON, "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10, 10, 20, 20,
                                       main_.m_hWnd, reinterpret_cast<HMENU>(1015), nullptr, nullptr);
        ASSERT_TRUE(button_.SubclassWindow(button));
        button_.SetBitmap(kStripId);
        theApp.m_pMainWnd = &main_;
        g_received = {};
    }
    void TearDown() override {
        theApp.m_pMainWnd = nullptr;
        main_.DestroyWindow();
        Pump();
        platform::installClock(nullptr);
        BmpButtonTest::TearDown();
    }
    static void Pump() {
        MSG msg;
        while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessage(&msg);
    }
    // Moves the virtual clock in 10 ms steps, handling what comes due after each.
    void Advance(int ms) {
        for (int t = 0; t < ms; t += 10) {
            clock_.advance(10);
            Pump();
        }
    }
    void Press() { button_.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); }

    platform::SteppedClock clock_;
    CWnd main_;
    CBmpButton button_;
};

} // namespace

// The frame follows the look: normal, under the mouse, and pressed, which wins over the mouse.
TEST_F(BmpButtonTest, DrawsTheFrameOfItsLook) {
    CBmpButton button;
    button.SetBitmap(kStripId);
    EXPECT_EQ(DrawnColour(button, 0, 100, 20), kRed);
    button.m_bHover = TRUE;
    EXPECT_EQ(DrawnColour(button, 0, 100, 20), kGreen);
    EXPECT_EQ(DrawnColour(button, ODS_SELECTED, 100, 20), kBlue);
    EXPECT_EQ(DrawnColour(button, ODS_SELECTED | ODS_FOCUS, 100, 20), kBlue);
    // Frames are stretched onto buttons of another size.
    button.m_bHover = FALSE;
    EXPECT_EQ(DrawnColour(button, ODS_SELECTED, 40, 40), kBlue);
}

// Without a strip (missing resource) the button reports success and paints nothing.
TEST_F(BmpButtonTest, MissingStripPaintsNothing) {
    CBmpButton button;
    EXPECT_TRUE(button.SetBitmap(4242));
    EXPECT_EQ(button.m_hBitmap, nullptr);
    EXPECT_EQ(DrawnColour(button, 0, 20, 20), RGB(0, 0, 0));
}

// A second text changes the one tool of the tip instead of adding another.
TEST_F(HeldButtonTest, ToolTipTextIsReplaced) {
    button_.SetToolTipText("Snap");
    button_.SetToolTipText("Capture");
    ASSERT_NE(button_.m_ToolTip.GetSafeHwnd(), nullptr);
    EXPECT_EQ(button_.m_ToolTip.GetToolCount(), 1);
}

// Held down, the button answers 108 and posts a repeat every 50 ms; the release posts WM_LBUTTONUP (0, 0)
// to the main window and ends the repeat.
TEST_F(HeldButtonTest, HeldButtonRepeatsEveryFiftyMilliseconds) {
    Press();
    EXPECT_EQ(button_.GetState(), 108u);
    Advance(500);
    EXPECT_EQ(g_received.repeats, 10);
    EXPECT_TRUE(g_received.releases.empty());

    button_.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump();
    ASSERT_EQ(g_received.releases.size(), 1u);
    EXPECT_EQ(g_received.releases[0], std::make_pair(WPARAM(0), LPARAM(0)));
    Advance(200);
    EXPECT_EQ(g_received.repeats, 10);
}

// The repeat ends with the hold however it ends: the capture taken away, the button hidden or disabled.
TEST_F(HeldButtonTest, RepeatStopsWhenTheHoldEnds) {
    struct Case {
        const char* name;
        std::function<void(CBmpButton&)> end;
    };
    const Case cases[] = {
        {"capture lost", [](CBmpButton&) { ::ReleaseCapture(); }},
        {"hidden", [](CBmpButton& b) { b.ShowWindow(SW_HIDE); }},
        {"disabled", [](CBmpButton& b) { b.EnableWindow(FALSE); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_received = {};
        button_.ShowWindow(SW_SHOW);
        button_.EnableWindow(TRUE);
        Press();
        Advance(100);
        EXPECT_EQ(g_received.repeats, 2);
        c.end(button_);
        Advance(200);
        EXPECT_EQ(g_received.repeats, 2);
        button_.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        Pump();
    }
}

// On the real main window, held by the mouse: the plus button answers 108, posts WM_BUTTON_REPEAT to the
// dialog at every 50 ms step of the virtual clock, and on release one WM_LBUTTONUP (0, 0), then no more.
TEST_F(ProgramTest, HeldButtonOfTheMainWindowRepeatsEveryFiftyMilliseconds) {
    platform::SteppedClock& clock = UseSteppedClock();
    UINT state = 0;
    std::vector<uint64_t> repeats; // virtual times after the press
    std::vector<std::pair<WPARAM, LPARAM>> releases;
    RunDialog([&](COrvanelDlg& dlg) {
        CBmpButton& plus = *dlg.Button(IDC_BUTTON_BRIGHT_UP);
        const uint64_t pressed = clock.nowMs();
        auto pump = [&] {
            MSG msg;
            while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.hwnd == dlg.m_hWnd && msg.message == WM_BUTTON_REPEAT)
                    repeats.push_back(clock.nowMs() - pressed);
                if (msg.hwnd == dlg.m_hWnd && msg.message == WM_LBUTTONUP)
                    releases.emplace_back(msg.wParam, msg.lParam);
                ::DispatchMessage(&msg);
            }
        };
        plus.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        state = plus.GetState();
        for (int t = 0; t < 500; t += 10) {
            clock.advance(10);
            pump();
        }
        plus.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        clock.advance(200);
        pump();
        dlg.SendMessage(WM_CLOSE);
    });
    EXPECT_EQ(state, 108u);
    EXPECT_EQ(repeats, (std::vector<uint64_t>{50, 100, 150, 200, 250, 300, 350, 400, 450, 500}));
    ASSERT_EQ(releases.size(), 1u);
    EXPECT_EQ(releases[0], std::make_pair(WPARAM(0), LPARAM(0)));
}
