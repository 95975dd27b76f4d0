// COrvanelApp: the one application object and its start, which runs the main dialog.
#include "orvanel_app.h"

#include "orvanel_dlg.h"
#include "program_resources.h"

BEGIN_MESSAGE_MAP(COrvanelApp, CWinApp)
ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

COrvanelApp theApp;

COrvanelApp::COrvanelApp() = default;

BOOL COrvanelApp::InitInstance() {
    RegisterProgramResources();
    AfxEnableControlContainer();
    Enable3dControlsStatic();
    COrvanelDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
