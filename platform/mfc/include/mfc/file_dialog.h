// CFileDialog: the open and save file dialogs.
#pragma once

#include <mfc/cstring.h>
#include <mfc/wnd.h>

#define OFN_READONLY 0x00000001
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_NOCHANGEDIR 0x00000008
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000
#define OFN_EXPLORER 0x00080000

struct OPENFILENAME {
    DWORD lStructSize;
    HWND hwndOwner;
    LPCSTR lpstrFilter; // "Name|patterns|" pairs (the framework's form)
    DWORD nFilterIndex; // 1-based filter shown first
    LPSTR lpstrFile;    // in: the initial name; out: the chosen path
    DWORD nMaxFile;     // bytes of lpstrFile, with the NUL
    LPCSTR lpstrTitle;  // null: "Open" or "Save As"
    DWORD Flags;
    LPCSTR lpstrDefExt;
};

typedef void* POSITION;

// A Qt file dialog, or the file-dialog seam's answer when a test installed one. The chosen path is given in
// the system's form ("\home\user\x.bmp", which the file functions map back), with the default extension
// added to a name that has none. GUI thread.
class CFileDialog {
public:
    CFileDialog(BOOL openFileDialog, LPCTSTR defaultExt = nullptr, LPCTSTR fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR filter = nullptr,
                CWnd* parent = nullptr);
    virtual ~CFileDialog() = default;
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK with the path in m_ofn.lpstrFile; IDCANCEL when the user cancels or the path does not fit the
    // name buffer.
    virtual INT_PTR DoModal();
    CString GetPathName() const;
    CString GetFileName() const;  // after the last "\"
    CString GetFileExt() const;   // after the file name's last ".", without it
    CString GetFileTitle() const; // the file name without its extension
    // The selection, one path (a dialog here chooses one file).
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& pos) const;

    OPENFILENAME m_ofn{};

private:
    BOOL open_;
    CString filter_;
    CString defaultExt_;
    char fileName_[MAX_PATH * 2] = {};
};
