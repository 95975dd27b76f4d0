// Test tool: brings the real main dialog on the live simulated camera into the states a person checks by eye
// and takes the whole screen of each with ImageMagick's import. Run under a virtual X server:
//   ORVANEL_SHOTS=<folder> xvfb-run -a -s "-screen 0 1280x1024x24" orvanel_screenshots
// Pictures: preview_1280.png, preview_640.png, full_screen.png, adjusted.png, settings.png,
// settings_chinese.png, recording.png, playback_loaded.png, playback.png, playback_after_edit.png,
// playback_full_screen.png, strip.png, edit.png.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "program_fixture.h"
#include "setting_dlg.h"

namespace {

// Lets the live camera stream and the window paint for `ms` of real time.
void Settle(int ms) {
    ProgramTest::WaitFor([] { return false; }, ms);
}

// The whole screen as <ORVANEL_SHOTS>/<name>.png (the working folder without ORVANEL_SHOTS).
void Shoot(const char* name) {
    Settle(1500);
    const char* folder = std::getenv("ORVANEL_SHOTS");
    const std::string path = std::string(folder != nullptr ? folder : ".") + "/" + name + ".png";
    EXPECT_EQ(std::system(("import -window root '" + path + "'").c_str()), 0) << path;
}

LPARAM CentreOf(const CRect& rect) {
    return MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y);
}

} // namespace

TEST_F(ProgramTest, Screenshots) {
    RunDialog([&](COrvanelDlg& dlg) {
        std::filesystem::create_directories(File("snaps"));
        dlg.m_strSavePath = CString((File("snaps").string() + "/").c_str());
        Shoot("preview_1280");

        Click(dlg, IDC_BUTTON_RES_DOWN);
        Shoot("preview_640");
        Click(dlg, IDC_BUTTON_RES_UP);

        Click(dlg, IDC_BUTTON_FULLSCREEN);
        Shoot("full_screen");
        Click(dlg, IDC_BUTTON_FULLSCREEN);

        // Brightness and gamma by their buttons, contrast and exposure by a press on their bars.
        for (int i = 0; i < 40; ++i)
            Click(dlg, IDC_BUTTON_BRIGHT_UP);
        for (int i = 0; i < 10; ++i)
            Click(dlg, IDC_BUTTON_GAMMA_DOWN);
        for (CBmpStatic* bar : {&dlg.m_barContrast, &dlg.m_barExposure}) {
            CRect client;
            bar->GetClientRect(client);
            bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.Width() * 3 / 4, 2));
            Settle(100); // the dialog takes the value while the bar is held
            bar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(client.Width() * 3 / 4, 2));
        }
        Shoot("adjusted");

        // The settings dialog in English and in Chinese.
        for (int language : {0, 1}) {
            dlg.m_nLanguage = language;
            WithModalDialog(dlg, IDC_BUTTON_SETTING, IDC_BUTTON_DEFAULT, [language](HWND dialog) {
                Shoot(language == 0 ? "settings" : "settings_chinese");
                ::SendMessage(dialog, WM_COMMAND, IDCANCEL, 0);
            });
        }
        dlg.m_nLanguage = 0;

        // A recording's clock in the status line.
        const std::string recording = File("recording.avi").string();
        platform::seams::setFileDialogAnswer(
            [&](const platform::seams::FileDialogCall&) -> std::optional<std::string> {
                return recording;
            });
        Click(dlg, IDC_BUTTON_RECORD);
        platform::seams::setFileDialogAnswer(nullptr);
        Settle(2000);
        Shoot("recording");
        Click(dlg, IDC_BUTTON_RECORD);

        // A media file in the picture area: loaded on its first frame, played for a moment and paused, the
        // paused frame again after a visit to the Edit view, and in full screen.
        const std::string clip = File("clip.avi").string();
        if (std::system(("ffmpeg -hide_banner -loglevel error -y -f lavfi -i testsrc=s=320x240:r=25:d=5 -c:v "
                         "mjpeg '" +
                         clip + "'")
                            .c_str()) == 0) {
            platform::seams::setFileDialogAnswer(
                [&](const platform::seams::FileDialogCall&) -> std::optional<std::string> { return clip; });
            Click(dlg, IDC_BUTTON_LOAD_FILE);
            platform::seams::setFileDialogAnswer(nullptr);
            Shoot("playback_loaded");
            Click(dlg, IDC_BUTTON_PLAY);
            Settle(1500);
            Click(dlg, IDC_BUTTON_PAUSE);
            Shoot("playback");
            Click(dlg, IDC_BUTTON_PREVIEW_EDIT);
            Settle(300);
            Click(dlg, IDC_BUTTON_PREVIEW_EDIT);
            Shoot("playback_after_edit");
            Click(dlg, IDC_BUTTON_FULLSCREEN);
            Shoot("playback_full_screen");
            Click(dlg, IDC_BUTTON_FULLSCREEN);
            Click(dlg, IDC_BUTTON_CLOSE_FILE);
        }

        for (int i = 0; i < 7; ++i) {
            Click(dlg, IDC_BUTTON_SNAP);
            Settle(300);
        }
        Shoot("strip");

        dlg.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(dlg.m_rcThumb[2]));
        for (int id : {IDC_BUTTON_LIGHT_UP, IDC_BUTTON_EDIT_CONTRAST_UP, IDC_BUTTON_EDIT_CONTRAST_UP,
                       IDC_BUTTON_SHARPEN, IDC_BUTTON_ZOOM_IN})
            Click(dlg, id);
        Shoot("edit");
        dlg.SendMessage(WM_CLOSE);
    });
}
