// End-to-end: the Edit mode's picture commands on the real dialog: each button's kernel, the step limits,
// the eleven-step history at its edges, Reset, zoom and Fit.
#include <functional>
#include <vector>

#include "program_fixture.h"

namespace {

constexpr int kWidth = 61; // odd, so the rows carry padding
constexpr int kHeight = 40;

// A picture with edges and gradients in every channel, bottom-up 24-bit rows.
std::vector<BYTE> TestPicture()
{
    const int stride = DibStride(kWidth, 24);
    std::vector<BYTE> rows(static_cast<size_t>(stride) * kHeight, 0);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            BYTE* p = &rows[static_cast<size_t>(y) * stride + 3 * x];
            p[0] = static_cast<BYTE>((x * 37 + y * 11) & 0xFF);
            p[1] = static_cast<BYTE>(((x / 8 + y / 8) % 2) ? 200 : 40);
            p[2] = static_cast<BYTE>(x * 4 + y);
        }
    return rows;
}

// Loads the test picture into the Edit view the way Open and a thumbnail click do.
void LoadTestPicture(COrvanelDlg& dlg)
{
    std::vector<BYTE> rows = TestPicture();
    dlg.m_EditView.LoadBuffer(rows.data(), kWidth, kHeight, 24, 0, 0, 1);
    dlg.TakeEditPicture();
}

// The Edit view's picture: bit depth and its pixel bytes.
struct Picture {
    int bits = 0;
    std::vector<BYTE> bytes;
    bool operator==(const Picture&) const = default;
};

Picture Shown(COrvanelDlg& dlg)
{
    CBmpStatic& view = dlg.m_EditView;
    const BYTE* pixels = view.GetBmpPixel();
    return pixels ? Picture{view.GetBitCount(), std::vector<BYTE>(pixels, pixels + view.GetBmpSize())} : Picture{};
}

// The test picture after `command` has run `times` times on a bitmap object of its own.
Picture Reference(const std::function<int(CRastel&)>& command, int times = 1)
{
    std::vector<BYTE> rows = TestPicture();
    CRastel bmp;
    bmp.ReadBitmap(rows.data(), kWidth, kHeight, 24);
    for (int i = 0; i < times; ++i)
        command(bmp);
    return Picture{bmp.GetBitCount(), std::vector<BYTE>(bmp.GetBmpPixel(), bmp.GetBmpPixel() + bmp.GetBmpSize())};
}

void ClickTimes(COrvanelDlg& dlg, int id, int times)
{
    for (int i = 0; i < times; ++i)
        Click(dlg, id);
}

// The step counters at 0 and zoom 1, as after start-up and Reset.
void ExpectCountersAtStart(COrvanelDlg& dlg)
{
    EXPECT_EQ(dlg.m_nLightStep, 0);
    EXPECT_EQ(dlg.m_nContrastStep, 0);
    EXPECT_EQ(dlg.m_nSharpStep, 0);
    EXPECT_EQ(dlg.m_nZoomStep, 0);
    EXPECT_EQ(dlg.m_nZoom, 1);
}

struct CommandCase {
    const char* name;
    int id;
    std::function<int(CRastel&)> kernel;
    int bits; // of the result
};

// Each button runs its own kernel with the dialog's arguments, pushes one history step and keeps the
// dialog's bit depth in step with the picture.
TEST_F(ProgramTest, EveryCommandAppliesItsKernel)
{
    const CommandCase cases[] = {
        {"light up", IDC_BUTTON_LIGHT_UP, [](CRastel& b) { return b.Contrast(20, 0); }, 24},
        {"light down", IDC_BUTTON_LIGHT_DOWN, [](CRastel& b) { return b.Contrast(-20, 0); }, 24},
        {"contrast up", IDC_BUTTON_EDIT_CONTRAST_UP, [](CRastel& b) { return b.Contrast(0, 20); }, 24},
        {"contrast down", IDC_BUTTON_EDIT_CONTRAST_DOWN, [](CRastel& b) { return b.Contrast(0, -20); }, 24},
        {"to eight bits", IDC_BUTTON_EIGHT, [](CRastel& b) { return b.ConvertToBW(); }, 8},
        {"binary", IDC_BUTTON_THRESHOLD, [](CRastel& b) { return b.Threshold(128); }, 1},
        {"emboss", IDC_BUTTON_EMBOSS, [](CRastel& b) { return b.Emboss(); }, 24},
        {"negative", IDC_BUTTON_NEGATIVE, [](CRastel& b) { return b.Negative(); }, 24},
        {"sharpen", IDC_BUTTON_SHARPEN, [](CRastel& b) { return b.Sharpen(); }, 24},
        {"smooth", IDC_BUTTON_SMOOTH, [](CRastel& b) { return b.Smooth(); }, 24},
        {"edge", IDC_BUTTON_EDGE, [](CRastel& b) { return b.Edge(); }, 24},
        {"histogram equalize", IDC_BUTTON_HIST_EQUALIZE, [](CRastel& b) { return b.HistogramEqualize(); }, 24},
        {"histogram stretch", IDC_BUTTON_HIST_STRETCH, [](CRastel& b) { return b.HistogramStretch(0, 70, 0, 255); },
         24},
    };
    RunDialog([&](COrvanelDlg& dlg) {
        const Picture loaded = Reference([](CRastel&) { return 1; });
        for (const CommandCase& c : cases) {
            LoadTestPicture(dlg);
            Click(dlg, IDC_BUTTON_RESET);
            Click(dlg, c.id);
            const Picture expected = Reference(c.kernel);
            EXPECT_NE(expected, loaded) << c.name << ": the test picture shows the command";
            EXPECT_EQ(Shown(dlg), expected) << c.name;
            EXPECT_EQ(dlg.m_nImageBits, c.bits) << c.name;
            EXPECT_EQ(dlg.m_EditView.m_nHistoryCount, 2) << c.name;
        }
        dlg.SendMessage(WM_CLOSE);
    });
}

struct StepCase {
    const char* name;
    int id;
    int COrvanelDlg::*counter;
    int limit;
    std::function<int(CRastel&)> kernel;
};

// Six presses from 0 apply a stepped command five times; the sixth does nothing, the counter stays at
// its limit. Sharpen and Smooth share one counter, so after five Sharpen steps Smooth works ten times.
TEST_F(ProgramTest, StepCountersLimitEachDirection)
{
    const StepCase cases[] = {
        {"light up", IDC_BUTTON_LIGHT_UP, &COrvanelDlg::m_nLightStep, 5, [](CRastel& b) { return b.Contrast(20, 0); }},
        {"light down", IDC_BUTTON_LIGHT_DOWN, &COrvanelDlg::m_nLightStep, -5,
         [](CRastel& b) { return b.Contrast(-20, 0); }},
        {"contrast up", IDC_BUTTON_EDIT_CONTRAST_UP, &COrvanelDlg::m_nContrastStep, 5,
         [](CRastel& b) { return b.Contrast(0, 20); }},
        {"contrast down", IDC_BUTTON_EDIT_CONTRAST_DOWN, &COrvanelDlg::m_nContrastStep, -5,
         [](CRastel& b) { return b.Contrast(0, -20); }},
        {"sharpen", IDC_BUTTON_SHARPEN, &COrvanelDlg::m_nSharpStep, -5, [](CRastel& b) { return b.Sharpen(); }},
        {"smooth", IDC_BUTTON_SMOOTH, &COrvanelDlg::m_nSharpStep, 5, [](CRastel& b) { return b.Smooth(); }},
    };
    RunDialog([&](COrvanelDlg& dlg) {
        for (const StepCase& c : cases) {
            LoadTestPicture(dlg);
            Click(dlg, IDC_BUTTON_RESET);
            ClickTimes(dlg, c.id, 6);
            EXPECT_EQ(dlg.*c.counter, c.limit) << c.name;
            EXPECT_EQ(Shown(dlg), Reference(c.kernel, 5)) << c.name;
        }
        LoadTestPicture(dlg);
        Click(dlg, IDC_BUTTON_RESET);
        ClickTimes(dlg, IDC_BUTTON_SHARPEN, 5);
        ClickTimes(dlg, IDC_BUTTON_SMOOTH, 10);
        EXPECT_EQ(dlg.m_nSharpStep, 5);
        EXPECT_EQ(Shown(dlg), Reference([](CRastel& b) {
                      for (int i = 0; i < 5; ++i)
                          b.Sharpen();
                      for (int i = 0; i < 10; ++i)
                          b.Smooth();
                      return 1;
                  }));
        dlg.SendMessage(WM_CLOSE);
    });
}

// Twelve commands: the history keeps the eleven newest pictures; ten Undo steps reach the picture after
// the second command and an eleventh changes nothing; Redo climbs back and stops at the newest. A command
// after two Undo steps drops the two newer entries. Reset brings back the loaded picture with one entry,
// the step counters at 0 and zoom 1.
TEST_F(ProgramTest, HistoryKeepsElevenStepsAndResetRestores)
{
    RunDialog([&](COrvanelDlg& dlg) {
        LoadTestPicture(dlg);
        CBmpStatic& view = dlg.m_EditView;
        std::vector<Picture> states{Shown(dlg)};
        const int commands[] = {IDC_BUTTON_LIGHT_UP,         IDC_BUTTON_LIGHT_UP,         IDC_BUTTON_LIGHT_UP,
                                IDC_BUTTON_LIGHT_UP,         IDC_BUTTON_LIGHT_UP,         IDC_BUTTON_EDIT_CONTRAST_UP,
                                IDC_BUTTON_EDIT_CONTRAST_UP, IDC_BUTTON_EDIT_CONTRAST_UP, IDC_BUTTON_EDIT_CONTRAST_UP,
                                IDC_BUTTON_EDIT_CONTRAST_UP, IDC_BUTTON_NEGATIVE,         IDC_BUTTON_EMBOSS};
        for (int id : commands) {
            Click(dlg, id);
            states.push_back(Shown(dlg));
        }
        EXPECT_EQ(view.m_nHistoryCount, 11);
        EXPECT_EQ(view.m_nHistoryIndex, 10);

        ClickTimes(dlg, IDC_BUTTON_UNDO, 10);
        EXPECT_EQ(Shown(dlg), states[2]);
        Click(dlg, IDC_BUTTON_UNDO);
        EXPECT_EQ(view.m_nHistoryIndex, 0);
        EXPECT_EQ(Shown(dlg), states[2]);
        ClickTimes(dlg, IDC_BUTTON_REDO, 11);
        EXPECT_EQ(view.m_nHistoryIndex, 10);
        EXPECT_EQ(Shown(dlg), states[12]);

        ClickTimes(dlg, IDC_BUTTON_UNDO, 2);
        Click(dlg, IDC_BUTTON_NEGATIVE);
        EXPECT_EQ(view.m_nHistoryIndex, 9);
        EXPECT_EQ(view.m_nHistoryCount, 10);
        const Picture top = Shown(dlg);
        Click(dlg, IDC_BUTTON_REDO);
        EXPECT_EQ(Shown(dlg), top);

        ClickTimes(dlg, IDC_BUTTON_ZOOM_IN, 2);
        Click(dlg, IDC_BUTTON_RESET);
        EXPECT_EQ(Shown(dlg), states[0]);
        EXPECT_EQ(view.m_nHistoryCount, 1);
        ExpectCountersAtStart(dlg);
        EXPECT_EQ(view.m_nZoom, 1);
        dlg.SendMessage(WM_CLOSE);
    });
}

// Zoom goes 2, 3, 4 and no further, then back to 1; the view's zoom follows the dialog's through Undo and
// Redo, and a new picture starts at zoom 1. Fit switches the view's stretch.
TEST_F(ProgramTest, ZoomStepsAndFit)
{
    RunDialog([&](COrvanelDlg& dlg) {
        LoadTestPicture(dlg);
        CBmpStatic& view = dlg.m_EditView;
        const struct {
            int id;
            int zoom;
        } steps[] = {{IDC_BUTTON_ZOOM_IN, 2},  {IDC_BUTTON_ZOOM_IN, 3},  {IDC_BUTTON_ZOOM_IN, 4},  {IDC_BUTTON_ZOOM_IN, 4},
                     {IDC_BUTTON_ZOOM_OUT, 3}, {IDC_BUTTON_ZOOM_OUT, 2}, {IDC_BUTTON_ZOOM_OUT, 1}, {IDC_BUTTON_ZOOM_OUT, 1}};
        for (const auto& step : steps) {
            Click(dlg, step.id);
            EXPECT_EQ(dlg.m_nZoom, step.zoom);
            EXPECT_EQ(view.m_nZoom, step.zoom);
        }
        ClickTimes(dlg, IDC_BUTTON_ZOOM_IN, 2);
        Click(dlg, IDC_BUTTON_NEGATIVE);
        Click(dlg, IDC_BUTTON_UNDO);
        Click(dlg, IDC_BUTTON_REDO);
        EXPECT_EQ(view.m_nZoom, 3);
        EXPECT_EQ(dlg.m_nZoom, 3);

        LoadTestPicture(dlg);
        EXPECT_EQ(dlg.m_nZoom, 1);
        EXPECT_EQ(dlg.m_nZoomStep, 0);
        EXPECT_EQ(view.m_nZoom, 1);

        Click(dlg, IDC_BUTTON_FIT);
        EXPECT_EQ(dlg.m_bFit, 1);
        EXPECT_EQ(view.m_bStretch, 1);
        Click(dlg, IDC_BUTTON_FIT);
        EXPECT_EQ(view.m_bStretch, 0);
        dlg.SendMessage(WM_CLOSE);
    });
}

// Without a picture no button does anything, not even move a counter.
TEST_F(ProgramTest, EditButtonsWithoutPictureDoNothing)
{
    RunDialog([&](COrvanelDlg& dlg) {
        for (int id = IDC_BUTTON_UNDO; id <= IDC_BUTTON_RESET; ++id)
            if (dlg.GetDlgItem(id) != nullptr && id != IDC_BUTTON_OPEN && id != IDC_BUTTON_SAVE)
                Click(dlg, id);
        ExpectCountersAtStart(dlg);
        EXPECT_EQ(dlg.m_bFit, 0);
        EXPECT_EQ(dlg.m_EditView.GetBmpPixel(), nullptr);
        dlg.SendMessage(WM_CLOSE);
    });
}

} // namespace
