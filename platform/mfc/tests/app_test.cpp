// The application object: its name, the program entry, message boxes, help routing and the clock.
#include "mfc_fixture.h"

#include <memory>

#include <seams/local_time.h>
#include <seams/message_box.h>
#include <seams/program_path.h>

namespace mfc_test {
namespace {

class HelpWnd : public CWnd {
public:
    int helps = 0;
    void WinHelp(DWORD_PTR, UINT) override { ++helps; }
};

class TestApp : public CWinApp {
public:
    using CWinApp::CWinApp;
    std::function<BOOL()> init;
    BOOL InitInstance() override { return init(); }
};

using MfcAppTest = MfcTest;

TEST_F(MfcAppTest, NamedAfterTheProgramFileAndCaptionsItsBoxes)
{
    platform::seams::setProgramPath("/opt/orvanel/bin/Orvanel");
    TestApp app;
    platform::seams::setProgramPath("");
    EXPECT_STREQ(app.m_pszAppName, "Orvanel");
    EXPECT_EQ(AfxGetApp(), &app);

    CWnd main;
    ASSERT_TRUE(main.SubclassWindow(plainWindow(WS_OVERLAPPED)));
    app.m_pMainWnd = &main;
    platform::seams::MessageBoxRecorder boxes(IDOK);
    EXPECT_EQ(AfxMessageBox("The necessary file has been remove,Program can not continue! "), IDOK);
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_EQ(boxes.calls()[0].caption, "Orvanel");
    EXPECT_EQ(boxes.calls()[0].owner, main.GetSafeHwnd());
    EXPECT_EQ(boxes.calls()[0].style, UINT(MB_OK));
}

TEST_F(MfcAppTest, EntryRunsInitInstanceAndEndsWhenItReturnsFalse)
{
    TestApp app("Viewer");
    CWnd main;
    app.init = [&] {
        EXPECT_TRUE(main.SubclassWindow(plainWindow(WS_OVERLAPPED)));
        app.m_pMainWnd = &main;
        return FALSE;
    };
    EXPECT_EQ(AfxWinMain(0, nullptr), 0);
    // The main window a failed start leaves behind is destroyed.
    EXPECT_EQ(main.GetSafeHwnd(), nullptr);

    app.init = [] {
        PostQuitMessage(4);
        return TRUE;
    };
    EXPECT_EQ(AfxWinMain(0, nullptr), 4);
}

// A dialog program: the main dialog lives on InitInstance's stack and is gone when the entry goes on.
TEST_F(MfcAppTest, MainDialogOnTheStackLeavesNoMainWindowBehind)
{
    TestApp app("Viewer");
    platform::mfc::registerDialogTemplate(4301, {WS_POPUP, 0, 0, 50, 50, "", "", 0, {}});
    app.init = [&] {
        ScriptedDialog dlg(4301);
        app.m_pMainWnd = &dlg;
        dlg.init = [](ScriptedDialog& d) { d.PostMessage(WM_KEYDOWN, VK_ESCAPE, 1); };
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        return FALSE;
    };
    EXPECT_EQ(AfxWinMain(0, nullptr), 0);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST_F(MfcAppTest, HelpCommandOfADialogReachesTheMainWindowsWinHelp)
{
    TestApp app("Viewer");
    HelpWnd main;
    ASSERT_TRUE(main.SubclassWindow(plainWindow(WS_OVERLAPPED)));
    app.m_pMainWnd = &main;
    platform::mfc::registerDialogTemplate(4300, {WS_POPUP, 0, 0, 50, 50, "", "", 0, {}});
    ScriptedDialog dlg(4300);
    dlg.init = [](ScriptedDialog& d) {
        d.SendMessage(WM_COMMAND, MAKEWPARAM(ID_HELP, 0));
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(main.helps, 1);
}

TEST(MfcTimeTest, CurrentTimeFollowsTheLocalClock)
{
    platform::seams::setLocalTime(platform::seams::LocalTime{2026, 12, 9, 9, 5, 3});
    const CTime now = CTime::GetCurrentTime();
    platform::seams::setLocalTime(std::nullopt);
    CString day;
    day.Format("%d-%d-%d", now.GetYear(), now.GetMonth(), now.GetDay());
    EXPECT_STREQ(day, "2026-12-9");
    EXPECT_EQ(now.GetHour() * 10000 + now.GetMinute() * 100 + now.GetSecond(), 90503);
    EXPECT_EQ(now.GetDayOfWeek(), 4); // a Wednesday
    EXPECT_STREQ(now.Format("%Y%m%d %H:%M:%S"), "20261209 09:05:03");
}

} // namespace
} // namespace mfc_test

namespace mfc_test {
namespace {

class WorkThread : public CWinThread {
    DECLARE_DYNCREATE(WorkThread)
public:
    int runs = 0;
    int Run() override
    {
        ++runs;
        return CWinThread::Run();
    }
    int ExitInstance() override { return 7; }
};

IMPLEMENT_DYNCREATE(WorkThread, CWinThread)

TEST(MfcRuntimeClassTest, MakesObjectsByClassRecord)
{
    const CRuntimeClass* record = RUNTIME_CLASS(WorkThread);
    EXPECT_STREQ(record->m_lpszClassName, "WorkThread");
    std::unique_ptr<CCmdTarget> made(record->CreateObject());
    auto* thread = dynamic_cast<WorkThread*>(made.get());
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(thread->Run(), 7);
    EXPECT_EQ(thread->runs, 1);
}

} // namespace
} // namespace mfc_test

namespace mfc_test {
namespace {

using MfcIconTest = MfcTest;

TEST_F(MfcIconTest, RegisteredIconsLoadAndWindowsKeepThem)
{
    TestApp app("Viewer");
    platform::mfc::registerResourceIcon(128, "/opt/orvanel/icon.png");
    const HICON icon = app.LoadIcon(128);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(app.LoadIcon(128), icon);
    EXPECT_EQ(app.LoadIcon(129), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_RESOURCE_NAME_NOT_FOUND));

    CWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(plainWindow(WS_OVERLAPPED)));
    EXPECT_EQ(wnd.SetIcon(icon, TRUE), nullptr);
    EXPECT_EQ(wnd.SetIcon(icon, FALSE), nullptr);
    EXPECT_EQ(wnd.GetIcon(TRUE), icon);
    EXPECT_EQ(wnd.SetIcon(nullptr, TRUE), icon);
}

} // namespace
} // namespace mfc_test
