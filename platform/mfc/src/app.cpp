// CWinApp: the application object, its name, loop, help and icons, and the framework's globals.
#include <mfc/app.h>

#include <dlfcn.h>

#include <map>
#include <memory>
#include <string>

#include <win32/files.h>
#include <win32/message_loop.h>

namespace {

CWinApp* theApplication = nullptr;

struct IconResource {
    std::string path;
};

std::map<UINT, std::unique_ptr<IconResource>>& icons()
{
    static std::map<UINT, std::unique_ptr<IconResource>> map;
    return map;
}

// The program file's name without folder and extension.
CString programName()
{
    char path[MAX_PATH * 2] = {};
    GetModuleFileName(nullptr, path, sizeof path);
    CString name(path);
    name = name.Mid(name.ReverseFind('\\') + 1);
    const int dot = name.ReverseFind('.');
    return dot > 0 ? name.Left(dot) : name;
}

// The running program's module, as the dynamic loader names it: the instance its resources belong to.
HINSTANCE programInstance()
{
    static void* const program = dlopen(nullptr, RTLD_LAZY);
    return reinterpret_cast<HINSTANCE>(program);
}

} // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCTSTR appName) : appName_(appName ? CString(appName) : programName())
{
    m_pszAppName = appName_;
    m_hInstance = programInstance();
    theApplication = this;
}

CWinApp::~CWinApp()
{
    if (theApplication == this)
        theApplication = nullptr;
}

int CWinApp::Run()
{
    exitCode_ = platform::user::runMessageLoop();
    return ExitInstance();
}

void CWinApp::OnHelp()
{
    if (m_pMainWnd)
        m_pMainWnd->WinHelp(0);
}

HICON CWinApp::LoadIcon(UINT id) const
{
    const auto it = icons().find(id);
    if (it == icons().end()) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<HICON>(it->second.get());
}

CWinApp* AfxGetApp() { return theApplication; }

CWnd* AfxGetMainWnd() { return theApplication ? theApplication->m_pMainWnd : nullptr; }

HINSTANCE AfxGetInstanceHandle() { return theApplication ? theApplication->m_hInstance : nullptr; }

HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

void AfxEnableControlContainer() {}

int AfxMessageBox(LPCTSTR text, UINT type, UINT)
{
    const CWnd* main = AfxGetMainWnd();
    const HWND owner = main && ::IsWindow(main->GetSafeHwnd()) ? main->GetSafeHwnd() : nullptr;
    return ::MessageBox(owner, text, theApplication ? theApplication->m_pszAppName : nullptr, type);
}

int AfxWinMain(int, char**)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    if (!app->InitInstance()) {
        if (app->m_pMainWnd)
            app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}

namespace platform::mfc {

void registerResourceIcon(UINT id, const char* path)
{
    auto& slot = icons()[id];
    if (!slot)
        slot = std::make_unique<IconResource>();
    slot->path = path ? path : "";
}

} // namespace platform::mfc
