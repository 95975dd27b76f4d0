// End-to-end start-up and shutdown of the main dialog on the simulated camera.
#include <fstream>
#include <vector>

#include "program_fixture.h"

#include "orvanel_app.h"
#include "test_dib.h"

namespace {

const char kFileMissing[] = "The necessary file has been remove,Program can not continue! ";

// True when the client area of `window` shows many colours along its middle row.
bool ShowsPicture(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    if (client.right <= 1 || client.bottom <= 0)
        return false;
    TestDib copy(client.right, client.bottom);
    HDC source = ::GetDC(window);
    ::BitBlt(copy.dc(), 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
    ::ReleaseDC(window, source);
    const int y = client.bottom / 2;
    int changes = 0;
    for (int x = 1; x < client.right; ++x)
        if (copy.Pixel(x, y) != copy.Pixel(x - 1, y))
            ++changes;
    return changes > client.right / 20;
}

// The picture area, when it goes, asks the camera for a frame: the answer tells whether the preview still
// ran while the child windows were being destroyed.
WNDPROC g_videoProc = nullptr;
KZ_HANDLE g_camera = nullptr;
int g_captureWhileDestroyed = -1;

LRESULT CALLBACK VideoDestroyProbe(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        std::vector<BYTE> frame(1280 * 1024 * 3);
        g_captureWhileDestroyed = KZ_CaptureToBuf(g_camera, frame.data());
    }
    return ::CallWindowProc(g_videoProc, hwnd, message, wParam, lParam);
}

} // namespace

// With every file present the window is centred at 1024 x 768, the preview runs and frames are drawn into
// the picture area (GDI display type).
TEST_F(ProgramTest, StartupReachesThePreview) {
    WriteSettings("[Orvanel]\nbShow=1\n");
    bool running = false;
    bool drawn = false;
    CRect window;
    const INT_PTR result = RunDialog([&](COrvanelDlg& dlg) {
        running = dlg.m_hCamera != nullptr && dlg.m_bPreview == 1;
        const uint64_t first = Camera().frameCount();
        drawn = WaitFor([&] { return Camera().frameCount() > first + 3 && ShowsPicture(dlg.m_Video); });
        dlg.GetWindowRect(window);
        EXPECT_EQ(dlg.m_nRenderMode, KZ_RENDER_GDI);
        dlg.SendMessage(WM_CLOSE);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(running);
    EXPECT_TRUE(drawn);
    EXPECT_EQ(window, CRect(128, 128, 1152, 896));
    EXPECT_TRUE(Boxes().calls().empty());
}

// Each required file, missing alone, ends the program with the one message before anything else happens;
// two missing files give a single message.
TEST_F(ProgramTest, MissingFileEndsWithItsMessage) {
    const std::vector<std::vector<const char*>> cases = {
        {"main.bmp"},   {"image.bmp"},  {"1280.bmp"},    {"640.bmp"},
        {"readme.txt"}, {"folder.wav"}, {"Orvanel.ini"}, {"main.bmp", "Orvanel.ini"},
    };
    for (const auto& missing : cases) {
        SCOPED_TRACE(missing.front());
        platform::seams::MessageBoxRecorder boxes(IDOK);
        WriteSettings("[Orvanel]\nnBrightness=99\n");
        for (const char* file : missing)
            std::filesystem::rename(File(file), File((std::string(file) + ".moved").c_str()));
        bool ran = false;
        const INT_PTR result = RunDialog([&](COrvanelDlg&) { ran = true; });
        const bool iniCreated = std::filesystem::exists(File("Orvanel.ini"));
        for (const char* file : missing)
            std::filesystem::rename(File((std::string(file) + ".moved").c_str()), File(file));

        EXPECT_EQ(result, -1);
        EXPECT_FALSE(ran);
        ASSERT_EQ(boxes.calls().size(), 1u);
        EXPECT_EQ(boxes.calls()[0].text, kFileMissing);
        EXPECT_EQ(boxes.calls()[0].caption, theApp.m_pszAppName);
        EXPECT_EQ(boxes.calls()[0].style & MB_TYPEMASK, static_cast<UINT>(MB_OK));
        EXPECT_EQ(Camera().frameCount(), 0u);
        // Nothing was read, so nothing is written: the file keeps its one key and is never created.
        EXPECT_EQ(SettingsValue("nContrast"), "");
        if (std::string(missing.back()) == "Orvanel.ini") {
            EXPECT_FALSE(iniCreated);
        }
    }
}

// Without a camera the user is told, start-up completes with every camera step skipped, the program ends
// by itself and the settings read are written back.
TEST_F(ProgramTest, NoCameraShowsInitialErrorAndEnds) {
    platform::devices::SimulatedCamera::setNoDevice(true);
    WriteSettings("[Orvanel]\nnBrightness=120\n");
    bool ran = false;
    const INT_PTR result = RunDialog([&](COrvanelDlg&) { ran = true; });
    EXPECT_EQ(result, -1);
    EXPECT_FALSE(ran);
    // The camera library reports its own failure first; the program's box comes last.
    ASSERT_FALSE(Boxes().calls().empty());
    const platform::seams::MessageBoxCall box = Boxes().calls().back();
    EXPECT_EQ(box.text, "Initial Error");
    EXPECT_EQ(box.caption, "Warning");
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(SettingsValue("nBrightness"), "120");
    EXPECT_EQ(SettingsValue("bShow"), "0");
}

// Esc outside full screen cancels the dialog: the preview stops before the windows go (the picture area
// can no longer get a frame when it is destroyed), and the settings are written back.
TEST_F(ProgramTest, EscapeEndsTheProgramThroughTheNormalShutdown) {
    g_captureWhileDestroyed = -1;
    uint64_t framesAtClose = 0;
    const INT_PTR result = RunDialog([&](COrvanelDlg& dlg) {
        const uint64_t first = Camera().frameCount();
        WaitFor([&] { return Camera().frameCount() > first; });
        dlg.m_nBrightness = 90;
        g_camera = dlg.m_hCamera;
        g_videoProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtr(
            dlg.m_Video.m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(VideoDestroyProbe)));
        ::PostMessage(dlg.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    framesAtClose = Camera().frameCount();
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(g_captureWhileDestroyed, KZ_ERR_FAILED);
    EXPECT_EQ(SettingsValue("nBrightness"), "90");
    // The stream is stopped: no frame arrives after the dialog is gone.
    WaitFor([] { return false; }, 200);
    EXPECT_EQ(Camera().frameCount(), framesAtClose);
}

// A screen of exactly 1024 x 768 takes the window at (0, 0); a smaller one stops start-up silently: no
// camera is opened and no settings are read, so none are written back either.
TEST_F(ProgramTest, SmallScreenStopsStartupSilently) {
    struct Case {
        LONG width, height;
        bool starts;
    };
    for (const Case& c : {Case{1024, 768, true}, Case{1023, 768, false}, Case{1024, 767, false}}) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        platform::seams::setScreenSize(c.width, c.height);
        WriteSettings("[Orvanel]\nnBrightness=99\n");
        bool cameraOpen = false;
        CRect window;
        const INT_PTR result = RunDialog([&](COrvanelDlg& dlg) {
            cameraOpen = dlg.m_hCamera != nullptr;
            dlg.GetWindowRect(window);
            dlg.SendMessage(WM_CLOSE);
        });
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_EQ(cameraOpen, c.starts);
        EXPECT_EQ(SettingsValue("nContrast"), c.starts ? "36" : "");
        if (c.starts) {
            EXPECT_EQ(window, CRect(0, 0, 1024, 768));
        }
        EXPECT_TRUE(Boxes().calls().empty());
    }
}

// A background picture that is there but does not load ends the program like a missing one.
TEST_F(ProgramTest, UnreadableBackgroundEndsWithTheMessage) {
    for (const char* file : {"main.bmp", "image.bmp"}) {
        SCOPED_TRACE(file);
        platform::seams::MessageBoxRecorder boxes(IDOK);
        std::filesystem::copy_file(File(file), File("saved.bmp"),
                                   std::filesystem::copy_options::overwrite_existing);
        std::ofstream(File(file), std::ios::binary | std::ios::trunc) << "BM not a picture";
        bool ran = false;
        const INT_PTR result = RunDialog([&](COrvanelDlg&) { ran = true; });
        std::filesystem::rename(File("saved.bmp"), File(file));
        EXPECT_EQ(result, -1);
        EXPECT_FALSE(ran);
        ASSERT_EQ(boxes.calls().size(), 1u);
        EXPECT_EQ(boxes.calls()[0].text, kFileMissing);
        EXPECT_EQ(Camera().frameCount(), 0u);
    }
}
