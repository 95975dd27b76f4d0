// End-to-end: the preview's geometry at each resolution, resolution switching and full screen.
#include <cstring>

#include "program_fixture.h"

namespace {

struct View {
    int width = -1;
    int height = -1;
    bool operator==(const View&) const = default;
};

View ViewSize(COrvanelDlg& dlg) {
    View view;
    KZ_GetParam(dlg.m_hCamera, KZ_PARAM_VIEW_WIDTH, &view.width);
    KZ_GetParam(dlg.m_hCamera, KZ_PARAM_VIEW_HEIGHT, &view.height);
    return view;
}

void PrintTo(const View& v, std::ostream* os) {
    *os << v.width << "x" << v.height;
}

// Whether the resolution picture (static 1014) shows the picture of `file`.
bool ShowsPicture(COrvanelDlg& dlg, const std::filesystem::path& file) {
    CRastel expected;
    CBmpStatic& shown = dlg.m_Resolution;
    return expected.ReadBitmap(file.string().c_str()) == 1 && shown.GetBmpPixel() != nullptr &&
           shown.GetBmpSize() == expected.GetBmpSize() &&
           std::memcmp(shown.GetBmpPixel(), expected.GetBmpPixel(), expected.GetBmpSize()) == 0;
}

} // namespace

// 1280 x 1024 fills the picture area; 640 x 480 is shown at its own size. Each switch restarts the capture at
// the new size; a second step beyond either end changes nothing.
TEST_F(ProgramTest, ResolutionSwitchRestartsThePreview) {
    RunDialog([&](COrvanelDlg& dlg) {
        EXPECT_EQ(ViewSize(dlg), (View{750, 600}));
        EXPECT_EQ(Camera().format().width, 1280);
        EXPECT_TRUE(ShowsPicture(dlg, File("1280.bmp")));

        Click(dlg, IDC_BUTTON_RES_DOWN);
        EXPECT_EQ(dlg.m_nResolution, 0);
        EXPECT_EQ(dlg.m_nCaptureWidth, 640);
        EXPECT_EQ(dlg.m_nCaptureHeight, 480);
        EXPECT_EQ(ViewSize(dlg), (View{640, 480}));
        EXPECT_EQ(Camera().format().width, 640);
        EXPECT_EQ(Camera().format().height, 480);
        EXPECT_TRUE(ShowsPicture(dlg, File("640.bmp")));
        const uint64_t frames = Camera().frameCount();
        EXPECT_TRUE(WaitFor([&] { return Camera().frameCount() > frames + 2; }));

        Click(dlg, IDC_BUTTON_RES_DOWN);
        EXPECT_EQ(dlg.m_nResolution, 0);

        Click(dlg, IDC_BUTTON_RES_UP);
        EXPECT_EQ(dlg.m_nResolution, 1);
        EXPECT_EQ(ViewSize(dlg), (View{750, 600}));
        EXPECT_EQ(Camera().format().width, 1280);
        EXPECT_TRUE(ShowsPicture(dlg, File("1280.bmp")));
        Click(dlg, IDC_BUTTON_RES_UP);
        EXPECT_EQ(dlg.m_nResolution, 1);
        dlg.SendMessage(WM_CLOSE);
    });
}

// A running recording would end unannounced by a restart, so resolution and full screen refuse then; with
// the preview stopped the camera is not started over the picture area either.
TEST_F(ProgramTest, ResolutionAndFullScreenRefusedWhileRecordingOrStopped) {
    RunDialog([&](COrvanelDlg& dlg) {
        dlg.m_bRecording = 1;
        Click(dlg, IDC_BUTTON_RES_DOWN);
        Click(dlg, IDC_BUTTON_FULLSCREEN);
        EXPECT_EQ(dlg.m_nResolution, 1);
        EXPECT_EQ(dlg.m_bFullScreen, 0);
        dlg.m_bRecording = 0;

        Click(dlg, IDC_BUTTON_RES_DOWN);
        dlg.EnablePreview(0);
        Click(dlg, IDC_BUTTON_RES_UP);
        EXPECT_EQ(dlg.m_nResolution, 0);
        EXPECT_EQ(dlg.m_bPreview, 0);
        dlg.SendMessage(WM_CLOSE);
    });
}

// Full screen covers the 1280 x 1024 screen with the preview scaled to it and every control hidden; Esc
// leaves it (and is consumed), centring the 1024 x 768 window with the preview back in its area and the
// controls of the mode it was entered from.
TEST_F(ProgramTest, FullScreenOnAndOff) {
    RunDialog([&](COrvanelDlg& dlg) {
        Click(dlg, IDC_BUTTON_PREVIEW_EDIT);
        ::PostMessage(dlg.m_hWnd, WM_KEYDOWN, VK_F11, 0);
        ASSERT_TRUE(WaitFor([&] { return dlg.m_bFullScreen == 1; }));
        CRect window;
        dlg.GetWindowRect(window);
        EXPECT_EQ(window, CRect(0, 0, 1280, 1024));
        EXPECT_EQ(ViewSize(dlg), (View{1280, 1024}));
        EXPECT_FALSE(dlg.GetDlgItem(IDC_BUTTON_PREVIEW_EDIT)->IsWindowVisible());
        EXPECT_FALSE(dlg.GetDlgItem(IDC_STATIC_EDIT_VIEW)->IsWindowVisible());
        // Keys reach the window as key presses only while it (or a child) has the focus.
        EXPECT_EQ(::GetFocus(), dlg.m_hWnd);
        const uint64_t frames = Camera().frameCount();
        EXPECT_TRUE(WaitFor([&] { return Camera().frameCount() > frames + 2; }));

        ::PostMessage(dlg.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
        ASSERT_TRUE(WaitFor([&] { return dlg.m_bFullScreen == 0; }));
        dlg.GetWindowRect(window);
        EXPECT_EQ(window, CRect(128, 128, 1152, 896));
        EXPECT_EQ(ViewSize(dlg), (View{750, 600}));
        EXPECT_EQ(dlg.m_nMode, 1);
        EXPECT_TRUE(dlg.GetDlgItem(IDC_STATIC_EDIT_VIEW)->IsWindowVisible());
        EXPECT_FALSE(dlg.GetDlgItem(IDC_STATIC_VIDEO)->IsWindowVisible());
        dlg.SendMessage(WM_CLOSE);
    });
}

// With a media file in the picture area (preview stopped) full screen only switches the player's window:
// the dialog keeps its place and controls, and the same flag makes Esc switch back (and be consumed).
TEST_F(ProgramTest, FullScreenWithMediaSwitchesOnlyThePlayer) {
    RunDialog([&](COrvanelDlg& dlg) {
        dlg.EnablePreview(0);
        Click(dlg, IDC_BUTTON_FULLSCREEN);
        EXPECT_EQ(dlg.m_bFullScreen, 1);
        CRect window;
        dlg.GetWindowRect(window);
        EXPECT_EQ(window, CRect(128, 128, 1152, 896));
        EXPECT_TRUE(dlg.GetDlgItem(IDC_BUTTON_FULLSCREEN)->IsWindowVisible());
        EXPECT_EQ(dlg.m_bPreview, 0);

        ::PostMessage(dlg.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(WaitFor([&] { return dlg.m_bFullScreen == 0; }));
        EXPECT_TRUE(::IsWindow(dlg.m_hWnd));
        EXPECT_EQ(dlg.m_bPreview, 0);
        dlg.SendMessage(WM_CLOSE);
    });
}
