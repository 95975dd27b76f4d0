// End-to-end: the window's own keys F1 and F7 and the caption language chosen at start.
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
