// Dialog data exchange: CDataExchange and the DDX_ functions between members and a dialog's controls.
#pragma once

#include <mfc/wnd.h>

// One UpdateData pass. A failed exchange (a missing control, a text that is not a number) tells the user
// in a message box and marks the pass failed; UpdateData then returns FALSE. GUI thread.
class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    // The control `id` of the dialog; null (and the pass failed) when there is none.
    HWND PrepareCtrl(int id);
    void Fail() { m_bFailed = true; }
    bool Failed() const { return m_bFailed; }

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

private:
    bool m_bFailed = false;
};

// Binds (subclasses) the control to `control` on the first pass; later passes do nothing.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// The control's text.
void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
// A check box: BST_UNCHECKED, BST_CHECKED.
void DDX_Check(CDataExchange* dx, int id, int& value);
// A radio group starting at `id` (the group runs in template order up to the next WS_GROUP control):
// the index of the checked button, -1 for none.
void DDX_Radio(CDataExchange* dx, int id, int& value);
