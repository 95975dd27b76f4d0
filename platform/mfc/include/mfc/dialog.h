// CDialog: modal dialogs built from registered templates, with the dialog manager's keys and OK/Cancel.
#pragma once

#include <mfc/dialog_manager.h>
#include <mfc/wnd.h>

// GUI thread.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    explicit CDialog(LPCTSTR templateName, CWnd* parent = nullptr);

    // Builds the dialog from its template (owner: the parent, else the application's main window), runs
    // OnInitDialog, then a nested loop with the owner disabled until EndDialog; destroys the window and
    // returns the EndDialog result. -1 when the template is missing (ERROR_RESOURCE_NAME_NOT_FOUND), the
    // window cannot be made, or WM_QUIT ended the loop (the quit is posted again for the outer loop).
    virtual INT_PTR DoModal();
    // Shows the members in the controls (UpdateData(FALSE)); TRUE gives the focus to the first tab stop.
    virtual BOOL OnInitDialog();
    // OK reads the controls (UpdateData(TRUE)) and ends with IDOK unless that failed; Cancel ends with
    // IDCANCEL. They answer IDOK and IDCANCEL commands: Enter, Esc, the buttons and WM_CLOSE.
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int result);

    // Esc and Enter for the dialog's keyboard messages (IsDialogMessage).
    BOOL PreTranslateMessage(MSG* msg) override;
    // Commands the dialog does not handle go to the application object's map.
    BOOL OnCmdMsg(UINT nID, int nCode) override;

    LPCTSTR m_lpszTemplateName;
    CWnd* m_pParentWnd;

protected:
    afx_msg LRESULT HandleInitDialog(WPARAM, LPARAM);
    int m_nModalResult = -1;

    DECLARE_MESSAGE_MAP()
};
