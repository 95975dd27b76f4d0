// CWinApp, the one application object, and the framework's global functions and program entry.
#pragma once

#include <mfc/wnd.h>

#define ID_HELP 0xE146

// The program defines one global object of a class derived from CWinApp; the framework's entry
// (PlatformMfcMain) runs its InitInstance, then its message loop when InitInstance returns TRUE.
// GUI thread.
class CWinApp : public CCmdTarget {
public:
    // Without a name the application is named after the program file ("Orvanel" for ...\Orvanel).
    explicit CWinApp(LPCTSTR appName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    // The program's exit code: that of the WM_QUIT that ended Run, 0 when Run did not run.
    virtual int ExitInstance() { return exitCode_; }
    // Runs the message loop until WM_QUIT, then ExitInstance.
    virtual int Run();

    // Help goes to the main window's WinHelp.
    afx_msg void OnHelp();
    // The icon resource `id` registered with platform::mfc::registerResourceIcon; null when none is.
    HICON LoadIcon(UINT id) const;
    // The program's cursor resource `id` as the window layer's LoadCursor gives it (null with
    // ERROR_RESOURCE_NAME_NOT_FOUND for one that was never registered).
    HCURSOR LoadCursor(UINT id) const { return ::LoadCursor(m_hInstance, MAKEINTRESOURCE(id)); }
    // The 3-D look is the controls' only look: nothing to switch on.
    BOOL Enable3dControls() { return TRUE; }
    BOOL Enable3dControlsStatic() { return TRUE; }

    LPCTSTR m_pszAppName;
    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;

protected:
    int exitCode_ = 0;

private:
    CString appName_;

    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
// The application's main window; null without application.
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
// The program hosts no embedded controls, so there is nothing to prepare.
void AfxEnableControlContainer();
// A message box owned by the main window, captioned with the application's name. GUI thread.
int AfxMessageBox(LPCTSTR text, UINT type = MB_OK, UINT helpId = 0);
// The framework's program entry; the arguments are not used. 
int AfxWinMain(int argc, char** argv);

namespace platform::mfc {

// Makes the picture at `path` the program's icon resource `id`. An icon handle stands for that picture:
// windows keep it (CWnd::SetIcon) and give it back; the window layer does not draw it. Program start-up.
void registerResourceIcon(UINT id, const char* path);

} // namespace platform::mfc
