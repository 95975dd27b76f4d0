// End-to-end: the window's own keys F1 and F7 and the caption language chosen at start.
#include <QToolTip>

#include "program_fixture.h"

namespace {

// Posts a key-down to the dialog and runs the loop until `done` holds.
bool PressKey(COrvanelDlg& dlg, WPARAM key, const std::function<bool()>& done) {
    ::PostMessage(dlg.m_hWnd, WM_KEYDOWN, key, 0);
    return ProgramTest::WaitFor(done);
}

} // namespace

// F7 switches the captions and tool tips between English and Chinese and back; the title stays.
TEST_F(ProgramTest, F7SwitchesTheLanguage) {
    RunDialog([&](COrvanelDlg& dlg) {
        EXPECT_EQ(dlg.m_nLanguage, 0);
        EXPECT_EQ(dlg.m_strCaption[5], "Bright");
        ASSERT_TRUE(PressKey(dlg, VK_F7, [&] { return dlg.m_nLanguage == 1; }));
        EXPECT_EQ(dlg.m_strCaption[5], "亮度");
        EXPECT_EQ(dlg.m_strCaption[15], "小—缩放—大");
        CString title;
        dlg.GetWindowText(title);
        EXPECT_EQ(title, "Korvi Camera Viewer");
        ASSERT_TRUE(PressKey(dlg, VK_F7, [&] { return dlg.m_nLanguage == 0; }));
        EXPECT_EQ(dlg.m_strCaption[5], "Bright");
        dlg.SendMessage(WM_CLOSE);
    });
}

// A system whose default language is Chinese starts in Chinese.
TEST_F(ProgramTest, ChineseSystemStartsInChinese) {
    platform::seams::setSystemLanguage(0x0804);
    RunDialog([&](COrvanelDlg& dlg) {
        EXPECT_EQ(dlg.m_nLanguage, 1);
        EXPECT_EQ(dlg.m_strCaption[26], "图像处理");
        dlg.SendMessage(WM_CLOSE);
    });
}

// F1 opens readme.txt beside the program, and the key then takes its ordinary course.
TEST_F(ProgramTest, F1OpensTheReadme) {
    std::vector<platform::seams::ShellCall> shell;
    platform::seams::setShellRecord(&shell);
    RunDialog([&](COrvanelDlg& dlg) {
        EXPECT_TRUE(PressKey(dlg, VK_F1, [&] { return !shell.empty(); }));
        dlg.SendMessage(WM_CLOSE);
    });
    platform::seams::setShellRecord(nullptr);
    ASSERT_EQ(shell.size(), 1u);
    EXPECT_EQ(shell[0].verb, "open");
    EXPECT_EQ(shell[0].file, File("readme.txt").string());
    EXPECT_EQ(shell[0].show, SW_SHOW);
}

namespace {

// The caption table, index by index: English, then Chinese.
const char* const kCaptionTable[COrvanelDlg::kCaptionCount][2] = {
    {"Korvi Camera Viewer", "Korvi Camera Viewer"},
    {"Mini", "隐藏"},
    {"Full", "全屏"},
    {"Quit", "退出"},
    {"Size", "分辨率"},
    {"Bright", "亮度"},
    {"Contrast", "对比度"},
    {"Satuation", "饱和度"},
    {"Sharp", "锐度"},
    {"Gamma", "伽玛"},
    {"Expose", "曝光"},
    {"Snap", "捕捉图片"},
    {"AVI", "录像"},
    {"Setting", "设置"},
    {"Undo     Redo", " 返回     恢复"},
    {"L—Zoom—H", "小—缩放—大"},
    {"L—Bright—H", "小—亮度—大"},
    {"L—Contrast—H", "小—对比度—大"},
    {"Sharp—Smooth", "锐化—平滑"},
    {"Binary", "二值化"},
    {"Histogram", "直方图"},
    {"E-Histogram", "均直方图"},
    {"Open", "打开"},
    {"Save", "保存"},
    {"Setting", "设置"},
    {"Korvi Viewer", "Korvi Viewer"},
    {"Image Manage", "图像处理"},
    {"To Eight", "八位"},
    {"Emboss", "浮雕"},
    {"Negative", "负片"},
    {"Edge", "边缘"},
    {"Preview/Edit", "视频/图像"},
    {"Stretch", "适合尺寸"},
    {"Reset", "恢复初始状态"},
    {"Load avi file", "打开avi文件"},
    {"Play avi file", "播放avi文件"},
    {"Pause", "暂停"},
    {"Stop", "停止"},
    {"Close avi file", "关闭avi文件"},
};

// The buttons with a tool tip and the caption each one shows.
const std::pair<int, int> kToolTipCaptions[] = {
    {IDC_BUTTON_SNAP, 11},      {IDC_BUTTON_RECORD, 12},       {IDC_BUTTON_SETTING, 13},
    {IDC_BUTTON_THRESHOLD, 19}, {IDC_BUTTON_HIST_STRETCH, 20}, {IDC_BUTTON_HIST_EQUALIZE, 21},
    {IDC_BUTTON_OPEN, 22},      {IDC_BUTTON_SAVE, 23},         {IDC_BUTTON_TOOL, 24},
    {IDC_BUTTON_EIGHT, 27},     {IDC_BUTTON_EMBOSS, 28},       {IDC_BUTTON_NEGATIVE, 29},
    {IDC_BUTTON_EDGE, 30},      {IDC_BUTTON_PREVIEW_EDIT, 31}, {IDC_BUTTON_FIT, 32},
    {IDC_BUTTON_RESET, 33},     {IDC_BUTTON_LOAD_FILE, 34},    {IDC_BUTTON_PLAY, 35},
    {IDC_BUTTON_PAUSE, 36},     {IDC_BUTTON_STOP, 37},         {IDC_BUTTON_CLOSE_FILE, 38},
};

} // namespace

// F7 fills the whole table in the other language and back; a value other than 0 or 1 keeps it.
TEST_F(ProgramTest, CaptionTablesAreWhole) {
    RunDialog([&](COrvanelDlg& dlg) {
        for (int language : {1, 0}) {
            ASSERT_TRUE(PressKey(dlg, VK_F7, [&] { return dlg.m_nLanguage == language; }));
            for (int i = 0; i < COrvanelDlg::kCaptionCount; ++i)
                EXPECT_EQ(dlg.m_strCaption[i], kCaptionTable[i][language]) << "caption " << i << " in " << language;
        }
        dlg.SetLanguage(2);
        EXPECT_EQ(dlg.m_strCaption[26], "Image Manage");
        dlg.SendMessage(WM_CLOSE);
    });
}

// The mouse resting on each of the 21 buttons shows its caption as the tip, in the window's language.
TEST_F(ProgramTest, ToolTipsShowTheirCaptionsInBothLanguages) {
    platform::SteppedClock& clock = UseSteppedClock();
    RunDialog([&](COrvanelDlg& dlg) {
        for (int language : {0, 1}) {
            SCOPED_TRACE(language);
            dlg.SetLanguage(language);
            for (const auto& [button, caption] : kToolTipCaptions) {
                dlg.Button(button)->RelayEvent(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
                clock.advance(500);
                const QString expected = QString::fromUtf8(kCaptionTable[caption][language]);
                WaitFor([&] { return QToolTip::text() == expected; }, 1000);
                EXPECT_EQ(QToolTip::text(), expected) << "button " << button;
                dlg.Button(button)->RelayEvent(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
            }
        }
        dlg.SendMessage(WM_CLOSE);
    });
}
