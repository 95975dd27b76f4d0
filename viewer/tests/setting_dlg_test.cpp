// End-to-end: the settings dialog of the Set button: its start values and languages, the folder browser,
// Default, the white-balance warning, More Property, and what OK and Cancel leave in the main window.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <seams/dialog_watch.h>
#include <seams/file_dialog.h>
#include <win32/native_path.h>

#include "media_files.h"
#include "program_fixture.h"
#include "setting_dlg.h"

namespace {

using platform::seams::FolderDialogCall;
using platform::seams::MessageBoxCall;

// Clicks Set and runs `act` on the dialog it opens; `act` ends the dialog. False when none opened.
bool WithSettingDialog(COrvanelDlg& dlg, std::function<void(HWND)> act) {
    return WithModalDialog(dlg, IDC_BUTTON_SETTING, IDC_BUTTON_DEFAULT, std::move(act));
}

// As WithSettingDialog, failing the test when no dialog opens.
void InSettingDialog(COrvanelDlg& dlg, std::function<void(HWND)> act) {
    EXPECT_TRUE(WithSettingDialog(dlg, std::move(act))) << "the settings dialog did not open";
}

// A mouse click on a control, which checks an automatic radio button or check box as the user's does.
void ClickItem(HWND dialog, int id) {
    HWND item = ::GetDlgItem(dialog, id);
    ::SendMessage(item, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessage(item, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

bool Checked(HWND dialog, int id) {
    return ::SendMessage(::GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Sensor register writes so far: every preview start writes the window's exposure back.
size_t RegisterWrites() {
    return platform::devices::SimulatedCamera::primary().registerWrites().size();
}

bool* g_frameClosed = nullptr;

// Cancels the driver's property frame once it holds the focus: a window with Cancel that is not the
// settings dialog.
void CALLBACK CancelPropertyFrame(HWND, UINT, UINT_PTR, DWORD) {
    HWND frame = ::GetFocus();
    while (frame != nullptr && ::GetParent(frame) != nullptr)
        frame = ::GetParent(frame);
    HWND cancel = frame != nullptr ? ::GetDlgItem(frame, IDCANCEL) : nullptr;
    if (cancel == nullptr || ::GetDlgItem(frame, IDC_BUTTON_DEFAULT) != nullptr || g_frameClosed == nullptr)
        return;
    *g_frameClosed = true;
    ::SendMessage(frame, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
}

double StoredQuality(COrvanelDlg& dlg) {
    LONG keyFrameRate = 0;
    LONG pFrames = 0;
    double quality = -1.0;
    KZ_DeviceCompressor(dlg.m_hCamera, &keyFrameRate, &pFrames, &quality, 0);
    return quality;
}

class SettingDlgTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        platform::seams::setFolderDialogAnswer([this](const FolderDialogCall& call) {
            folderCalls_.push_back(call);
            return folder_;
        });
        platform::seams::setDialogWatch([this](HWND dialog, const std::string& name) {
            watched_.push_back(name);
            ::DestroyWindow(dialog);
        });
    }
    void TearDown() override {
        platform::seams::setDialogWatch({});
        platform::seams::setFolderDialogAnswer(nullptr);
        platform::seams::setMessageBoxAnswer(nullptr);
        ProgramTest::TearDown();
    }
    // Answers the dialog's message boxes with `answer`, recording them.
    void AnswerBoxes(int answer) {
        platform::seams::setMessageBoxAnswer([this, answer](const MessageBoxCall& call) {
            boxes_.push_back(call);
            return answer;
        });
    }

    std::optional<std::string> folder_;
    std::vector<FolderDialogCall> folderCalls_;
    std::vector<MessageBoxCall> boxes_;
    std::vector<std::string> watched_;
};

// The dialog opens centred over the main window and shows the window's values, the save path with the day
// folder, and its texts in the window's language; Cancel after changing every control leaves the window's
// values as they were.
TEST_F(SettingDlgTest, OpensOnTheWindowsValuesAndCancelKeepsThem) {
    struct Case {
        int language;
        const char* title;
        const char* savePathButton;
        const char* manual;
    };
    const Case cases[] = {{0, "Setting", "Save   Path", "Manual White Balance"},
                          {1, "设置", "保 存 路 径", "手动白平衡"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        RunDialog([&](COrvanelDlg& dlg) {
            dlg.m_nLanguage = c.language;
            dlg.m_strSavePath = "D:\\pictures\\";
            dlg.m_strDayFolder = "2026-12-10";
            dlg.m_nSaveFormat = 1;
            dlg.m_nCapFormat = 0;
            dlg.m_bQuality = 1;
            dlg.m_bShow = 0;
            InSettingDialog(dlg, [&](HWND d) {
                EXPECT_EQ(ItemText(d, 0), c.title);
                CRect main;
                CRect shown;
                dlg.GetWindowRect(main);
                ::GetWindowRect(d, shown);
                // Within a frame's width: the window system places the frame.
                EXPECT_NEAR(shown.CenterPoint().x, main.CenterPoint().x, 4) << "centred over the main window";
                EXPECT_NEAR(shown.CenterPoint().y, main.CenterPoint().y, 4);
                EXPECT_EQ(ItemText(d, IDC_BUTTON_SAVE_PATH), c.savePathButton);
                EXPECT_EQ(ItemText(d, IDC_RADIO_MANUAL_WB), c.manual);
                EXPECT_EQ(ItemText(d, IDC_RADIO_JPEG), "JPEG");
                EXPECT_EQ(ItemText(d, IDC_EDIT_SAVE_PATH), platform::homeFolder() + "/pictures/2026-12-10/")
                    << "the folder the snapshots go to, in the file system's form";
                EXPECT_TRUE(Checked(d, IDC_RADIO_BMP));
                EXPECT_FALSE(Checked(d, IDC_RADIO_JPEG));
                EXPECT_TRUE(Checked(d, IDC_RADIO_SNAP_SAVE));
                EXPECT_TRUE(Checked(d, IDC_CHECK_QUALITY));
                EXPECT_TRUE(Checked(d, IDC_RADIO_AUTO_WB));
                EXPECT_TRUE(Checked(d, IDC_RADIO_DS));
                ClickItem(d, IDC_RADIO_JPEG);
                ClickItem(d, IDC_RADIO_SNAP);
                ClickItem(d, IDC_CHECK_QUALITY);
                ClickItem(d, IDC_RADIO_GDI);
                EXPECT_FALSE(Checked(d, IDC_RADIO_BMP)) << "a radio clears the others of its group";
                ClickItem(d, IDCANCEL);
            });
            EXPECT_EQ(dlg.m_nSaveFormat, 1);
            EXPECT_EQ(dlg.m_nCapFormat, 0);
            EXPECT_EQ(dlg.m_bQuality, 1);
            EXPECT_EQ(dlg.m_bShow, 0);
            EXPECT_EQ(dlg.m_strSavePath, "D:\\pictures\\");
            dlg.SendMessage(WM_CLOSE);
        });
    }
}

// Every text of the dialog in both languages, the blanks inside them included.
TEST_F(SettingDlgTest, TextsInBothLanguages) {
    struct Text {
        int id; // 0: the title
        const char* english;
        const char* chinese;
    };
    const Text texts[] = {
        {0, "Setting", "设置"},
        {IDC_BUTTON_SAVE_PATH, "Save   Path", "保 存 路 径"},
        {IDC_LABEL_SAVE_FORMAT, "Save   Format", "保 存 格 式"},
        {IDC_RADIO_JPEG, "JPEG", "JPEG"},
        {IDC_RADIO_BMP, "BMP", "BMP"},
        {IDC_LABEL_SNAP_FORMAT, "Snap   Format", "拍 照 格 式"},
        {IDC_RADIO_SNAP_SAVE, "Snap+Save", "拍照并保存"},
        {IDC_RADIO_SNAP, "Snap", "拍照"},
        {IDC_LABEL_QUALITY, "Video Quality", "图 像 质 量"},
        {IDC_CHECK_QUALITY, "High Quality", "高质量"},
        {IDC_LABEL_VIDEO_FORMAT, "Video Format", "视 频 格 式"},
        {IDC_BUTTON_SELECT_COMPRESSOR, "Select", "选择"},
        {IDC_BUTTON_MORE_PROPERTY, "More Property", "属 性 调 节"},
        {IDC_RADIO_AUTO_WB, "Auto White Balance", "自动白平衡"},
        {IDC_RADIO_MANUAL_WB, "Manual White Balance", "手动白平衡"},
        {IDC_LABEL_DISPLAY_TYPE, "Display-Type", "显示方式"},
        {IDC_RADIO_GDI, "GDI", "GDI"},
        {IDC_RADIO_DS, "DS", "DS"},
        {IDC_BUTTON_DEFAULT, "Default", "默认设置"},
        {IDOK, "OK", "确定"},
        {IDCANCEL, "Cancel", "取消"},
    };
    RunDialog([&](COrvanelDlg& dlg) {
        for (int language : {0, 1}) {
            dlg.m_nLanguage = language;
            InSettingDialog(dlg, [&](HWND d) {
                for (const Text& text : texts)
                    EXPECT_EQ(ItemText(d, text.id), language == 0 ? text.english : text.chinese)
                        << "item " << text.id << " in " << language;
                ClickItem(d, IDCANCEL);
            });
        }
        dlg.SendMessage(WM_CLOSE);
    });
}

// OK takes the formats and the quality; a new display type sets the render mode and restarts the preview,
// and a new quality is sent to the camera's compression settings. The settings file keeps them all.
TEST_F(SettingDlgTest, OkAppliesDisplayTypeAndQuality) {
    RunDialog([&](COrvanelDlg& dlg) {
        ASSERT_EQ(dlg.m_bShow, 0);
        ASSERT_EQ(dlg.m_bQuality, 1);
        EXPECT_EQ(StoredQuality(dlg), 1.0);
        size_t writes = RegisterWrites();

        InSettingDialog(dlg, [&](HWND d) {
            ClickItem(d, IDC_RADIO_BMP);
            ClickItem(d, IDC_RADIO_SNAP);
            ClickItem(d, IDOK);
        });
        EXPECT_EQ(dlg.m_nSaveFormat, 1);
        EXPECT_EQ(dlg.m_nCapFormat, 1);
        EXPECT_EQ(RegisterWrites(), writes) << "formats alone do not restart the preview";

        InSettingDialog(dlg, [&](HWND d) {
            ClickItem(d, IDC_CHECK_QUALITY);
            ClickItem(d, IDOK);
        });
        EXPECT_EQ(dlg.m_bQuality, 0);
        EXPECT_EQ(StoredQuality(dlg), 0.0);
        EXPECT_GT(RegisterWrites(), writes) << "a new quality restarts the preview";
        writes = RegisterWrites();

        InSettingDialog(dlg, [&](HWND d) {
            ClickItem(d, IDC_RADIO_GDI);
            ClickItem(d, IDOK);
        });
        EXPECT_EQ(dlg.m_bShow, 1);
        EXPECT_EQ(dlg.m_nRenderMode, KZ_RENDER_GDI);
        EXPECT_GT(RegisterWrites(), writes) << "a new display type restarts the preview";
        dlg.SendMessage(WM_CLOSE);
    });
    EXPECT_EQ(SettingsValue("nSaveFormat"), "1");
    EXPECT_EQ(SettingsValue("nCapFormat"), "1");
    EXPECT_EQ(SettingsValue("bQuality"), "0");
    EXPECT_EQ(SettingsValue("bShow"), "1");
}

// Set does nothing while a recording runs, so no display-type change can restart the preview under it.
TEST_F(SettingDlgTest, RefusedWhileRecording) {
    ChooseFile("clip.avi");
    RunDialog([&](COrvanelDlg& dlg) {
        Click(dlg, IDC_BUTTON_RECORD);
        ASSERT_EQ(dlg.m_bRecording, 1);
        const bool opened = WithSettingDialog(dlg, [&](HWND d) {
            ClickItem(d, IDC_RADIO_GDI);
            ClickItem(d, IDOK);
        });
        EXPECT_FALSE(opened);
        EXPECT_EQ(dlg.m_bRecording, 1);
        EXPECT_EQ(dlg.m_nRenderMode, KZ_RENDER_DS);
        Click(dlg, IDC_BUTTON_RECORD);
        dlg.SendMessage(WM_CLOSE);
    });
}

// Over a loaded media file OK starts no camera: the new display type and quality are taken, the file
// still plays and closes, and closing it starts the preview in the new display type.
TEST_F(SettingDlgTest, OkOverALoadedFileLeavesTheCameraOff) {
    const vidora_test::MediaFile& clip = vidora_test::mediaFile(vidora_test::Media::MjpegAvi);
    ASSERT_FALSE(clip.path.empty());
    std::filesystem::copy_file(clip.path, File("clip.avi"));
    ChooseFile("clip.avi");
    RunDialog([&](COrvanelDlg& dlg) {
        Click(dlg, IDC_BUTTON_LOAD_FILE);
        ASSERT_NE(dlg.m_hPlay, nullptr);
        InSettingDialog(dlg, [&](HWND d) {
            ClickItem(d, IDC_RADIO_GDI);
            ClickItem(d, IDC_CHECK_QUALITY);
            ClickItem(d, IDOK);
        });
        EXPECT_EQ(dlg.m_bShow, 1);
        EXPECT_EQ(StoredQuality(dlg), 0.0);
        EXPECT_EQ(dlg.m_bPreview, 0);
        const uint64_t frames = Camera().frameCount();
        WaitFor([] { return false; }, 300);
        EXPECT_EQ(Camera().frameCount(), frames) << "the camera was started over the file";

        Click(dlg, IDC_BUTTON_PLAY);
        EXPECT_EQ(dlg.m_bPlaying, 1);
        Click(dlg, IDC_BUTTON_CLOSE_FILE);
        EXPECT_EQ(dlg.m_hPlay, nullptr);
        EXPECT_EQ(dlg.m_bPreview, 1);
        EXPECT_EQ(dlg.m_nRenderMode, KZ_RENDER_GDI);
        EXPECT_TRUE(WaitFor([&] { return Camera().frameCount() > frames + 2; }));
        dlg.SendMessage(WM_CLOSE);
    });
}

// The browser's folder becomes the save path with one final "\", a drive root as it is; Cancel keeps the
// path. The box shows the day's folder under it as the file system names it. Default then selects the
// drive root C:\ (the home folder), JPEG, Snap+Save, high quality, auto white balance and GDI.
TEST_F(SettingDlgTest, SavePathBrowserAndDefault) {
    const std::string home = platform::homeFolder();
    struct Case {
        std::optional<std::string> chosen;
        std::string shown;
    };
    const Case cases[] = {
        {"\\tmp\\shots", "/tmp/shots/2026-12-10/"},
        {"E:\\", home + "/2026-12-10/"},
        {std::nullopt, home + "/2026-12-10/"},
    };
    RunDialog([&](COrvanelDlg& dlg) {
        dlg.m_strDayFolder = "2026-12-10";
        dlg.m_nSaveFormat = 1;
        dlg.m_nCapFormat = 1;
        dlg.m_bQuality = 0;
        InSettingDialog(dlg, [&](HWND d) {
            for (const Case& c : cases) {
                folder_ = c.chosen;
                ClickItem(d, IDC_BUTTON_SAVE_PATH);
                EXPECT_EQ(ItemText(d, IDC_EDIT_SAVE_PATH), c.shown);
            }
            ClickItem(d, IDOK);
        });
        EXPECT_EQ(dlg.m_strSavePath, "E:\\");
        ASSERT_EQ(folderCalls_.size(), 3u);
        EXPECT_EQ(folderCalls_[0].title, "Choose Path: ");
        EXPECT_EQ(folderCalls_[0].flags, UINT(BIF_RETURNONLYFSDIRS));

        InSettingDialog(dlg, [&](HWND d) {
            ClickItem(d, IDC_BUTTON_DEFAULT);
            EXPECT_EQ(ItemText(d, IDC_EDIT_SAVE_PATH), home + "/2026-12-10/");
            EXPECT_TRUE(Checked(d, IDC_RADIO_JPEG));
            EXPECT_TRUE(Checked(d, IDC_RADIO_SNAP_SAVE));
            EXPECT_TRUE(Checked(d, IDC_CHECK_QUALITY));
            EXPECT_TRUE(Checked(d, IDC_RADIO_AUTO_WB));
            EXPECT_TRUE(Checked(d, IDC_RADIO_GDI));
            ClickItem(d, IDOK);
        });
        EXPECT_EQ(dlg.m_strSavePath, "C:\\");
        EXPECT_EQ(dlg.m_nSaveFormat, 0);
        EXPECT_EQ(dlg.m_nCapFormat, 0);
        EXPECT_EQ(dlg.m_bQuality, 1);
        EXPECT_EQ(dlg.m_bShow, 1);
        dlg.SendMessage(WM_CLOSE);
    });
}

// Manual white balance asks first: Cancel selects auto again, OK keeps manual, and More Property then opens
// the camera library's own property dialog.
TEST_F(SettingDlgTest, ManualWhiteBalanceWarningAndMoreProperty) {
    RunDialog([&](COrvanelDlg& dlg) {
        AnswerBoxes(IDCANCEL);
        InSettingDialog(dlg, [&](HWND d) {
            ClickItem(d, IDC_RADIO_MANUAL_WB);
            EXPECT_TRUE(Checked(d, IDC_RADIO_AUTO_WB));
            EXPECT_FALSE(Checked(d, IDC_RADIO_MANUAL_WB));
            ClickItem(d, IDOK);
        });
        EXPECT_EQ(dlg.m_nWhiteBalance, 1);
        ASSERT_EQ(boxes_.size(), 1u);
        EXPECT_EQ(boxes_[0].text,
                  "Before this selection, please confirm the parameters in auto white balance "
                  "dialog as follow:\r1、Reject auto white balance\r2、Reject auto exposure\r"
                  "3、Choose default for white balance");
        EXPECT_EQ(boxes_[0].caption, "");
        EXPECT_EQ(boxes_[0].style, UINT(MB_OKCANCEL));

        AnswerBoxes(IDOK);
        dlg.m_nLanguage = 1;
        InSettingDialog(dlg, [&](HWND d) {
            ClickItem(d, IDC_RADIO_MANUAL_WB);
            EXPECT_TRUE(Checked(d, IDC_RADIO_MANUAL_WB));
            ClickItem(d, IDOK);
        });
        EXPECT_EQ(dlg.m_nWhiteBalance, 0);
        ASSERT_EQ(boxes_.size(), 2u);
        EXPECT_EQ(boxes_[1].text, "选择此选项前，请在自动白平衡对框框中确定如下参数:\r1、去掉自动曝光选项\r"
                                  "2、去掉自动白平衡选项\r3、将白平衡设为默认值");
        dlg.SendMessage(WM_CLOSE);
    });
}

// Select opens the compressor choice in either white-balance mode; More Property opens the library's own
// property dialog for manual white balance and the driver's property pages for auto.
TEST_F(SettingDlgTest, SelectAndMorePropertyInBothWhiteBalanceModes) {
    struct Case {
        int whiteBalance;
        std::vector<std::string> watched; // the library's dialogs that opened
        bool driverPages;
    };
    const Case cases[] = {
        {0, {"SelectCompressorDlg", "CameraProperty"}, false},
        {1, {"SelectCompressorDlg"}, true},
    };
    AnswerBoxes(IDOK);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.whiteBalance);
        watched_.clear();
        bool framed = false;
        RunDialog([&](COrvanelDlg& dlg) {
            dlg.m_nWhiteBalance = c.whiteBalance;
            InSettingDialog(dlg, [&](HWND d) {
                ClickItem(d, IDC_BUTTON_SELECT_COMPRESSOR);
                g_frameClosed = &framed;
                const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, CancelPropertyFrame);
                ClickItem(d, IDC_BUTTON_MORE_PROPERTY);
                ::KillTimer(nullptr, timer);
                g_frameClosed = nullptr;
                ClickItem(d, IDCANCEL);
            });
            dlg.SendMessage(WM_CLOSE);
        });
        EXPECT_EQ(watched_, c.watched);
        EXPECT_EQ(framed, c.driverPages);
    }
}

} // namespace
