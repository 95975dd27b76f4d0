// CDialog: modal runs, initialisation, OK and Cancel, keys and command routing to the application.
#include <mfc/app.h>
#include <mfc/dialog.h>

#include <win32/kernel_base.h>

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent) : m_lpszTemplateName(MAKEINTRESOURCE(templateId)), m_pParentWnd(parent)
{
}

CDialog::CDialog(LPCTSTR templateName, CWnd* parent) : m_lpszTemplateName(templateName), m_pParentWnd(parent) {}

INT_PTR CDialog::DoModal()
{
    const platform::mfc::DialogTemplate* dialog = platform::mfc::findDialogTemplate(m_lpszTemplateName);
    if (!dialog || m_hWnd) {
        SetLastError(dialog ? ERROR_INVALID_PARAMETER : ERROR_RESOURCE_NAME_NOT_FOUND);
        return -1;
    }
    HWND owner = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
    if (!owner) {
        const CWnd* main = AfxGetMainWnd();
        if (main && main != this && ::IsWindow(main->GetSafeHwnd()))
            owner = main->GetSafeHwnd();
    }
    m_nModalResult = -1;
    const HWND hwnd = platform::mfc::createDialog(*dialog, owner, nullptr, 0, [this](HWND h) { SubclassWindow(h); });
    if (!hwnd) {
        DestroyWindow();
        return -1;
    }
    const INT_PTR result = platform::mfc::runModalDialog(hwnd, owner);
    DestroyWindow();
    return result;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int result)
{
    m_nModalResult = result;
    ::EndDialog(m_hWnd, result);
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST)
        return ::IsDialogMessage(m_hWnd, msg);
    return FALSE;
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode)
{
    if (CWnd::OnCmdMsg(nID, nCode))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app ? app->OnCmdMsg(nID, nCode) : FALSE;
}
