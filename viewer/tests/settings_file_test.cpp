// End-to-end: the settings file read at start-up, brought into range, and written back at exit.
#include "program_fixture.h"

namespace {

struct SettingsCase {
    const char* name;
    std::string file;                // contents after "[Orvanel]"
    std::vector<std::string> stored; // the ten values after exit, in key order
    int renderMode;
};

const char* const kKeys[] = {"nBrightness", "nContrast",   "nSaturation", "nSharpness", "nGamma",
                             "strSavePath", "nSaveFormat", "nCapFormat",  "bQuality",   "bShow"};

} // namespace

// Every key is written back after a run, with what was read (defaults for missing keys) or, for values
// the controls cannot take, the value brought into range; a save path naming nothing becomes "C:\".
TEST_F(ProgramTest, SettingsAreReadAndWrittenBack) {
    const std::string folder = File("snapshots").string();
    std::filesystem::create_directory(folder);
    const std::vector<SettingsCase> cases = {
        {"empty", "", {"80", "36", "36", "10", "15", "C:\\", "0", "0", "1", "0"}, KZ_RENDER_DS},
        {"in range",
         "nBrightness=100\nnContrast=20\nnSaturation=40\nnSharpness=5\nnGamma=30\nstrSavePath=" + folder +
             "\nnSaveFormat=1\nnCapFormat=1\nbQuality=0\nbShow=1\n",
         {"100", "20", "40", "5", "30", folder, "1", "1", "0", "1"},
         KZ_RENDER_GDI},
        {"out of range",
         "nBrightness=300\nnContrast=-5\nnSaturation=64\nnSharpness=16\nnGamma=99\nstrSavePath=" + folder +
             "/deleted\nnSaveFormat=5\nnCapFormat=-1\nbQuality=7\nbShow=2\n",
         {"255", "0", "63", "15", "63", "C:\\", "1", "0", "1", "0"},
         KZ_RENDER_DS},
    };
    for (const SettingsCase& c : cases) {
        SCOPED_TRACE(c.name);
        WriteSettings("[Orvanel]\n" + c.file);
        int renderMode = -1;
        int sentBrightness = -1;
        RunDialog([&](COrvanelDlg& dlg) {
            renderMode = dlg.m_nRenderMode;
            KZ_GetParam(dlg.m_hCamera, KZ_PARAM_BRIGHTNESS, &sentBrightness);
            dlg.SendMessage(WM_CLOSE);
        });
        EXPECT_EQ(renderMode, c.renderMode);
        EXPECT_EQ(std::to_string(sentBrightness), c.stored[0]);
        for (size_t i = 0; i < c.stored.size(); ++i)
            EXPECT_EQ(SettingsValue(kKeys[i]), c.stored[i]) << kKeys[i];
    }
}

// The resolution is not stored: a run that switched to 640 x 480 starts the next one at 1280 x 1024.
TEST_F(ProgramTest, ResolutionDoesNotSurviveARestart) {
    RunDialog([&](COrvanelDlg& dlg) {
        Click(dlg, IDC_BUTTON_RES_DOWN);
        EXPECT_EQ(dlg.m_nResolution, 0);
        dlg.SendMessage(WM_CLOSE);
    });
    int resolution = -1;
    RunDialog([&](COrvanelDlg& dlg) {
        resolution = dlg.m_nResolution;
        dlg.SendMessage(WM_CLOSE);
    });
    EXPECT_EQ(resolution, 1);
}
