// CFileDialog: asks the seam or the Qt dialog, adds the default extension, and takes the path apart.
#include <mfc/file_dialog.h>

#include <cstring>

#include <seams/file_dialog.h>

#include "file_dialog_qt.h"

CFileDialog::CFileDialog(BOOL openFileDialog, LPCTSTR defaultExt, LPCTSTR fileName, DWORD flags, LPCTSTR filter,
                         CWnd* parent)
    : open_(openFileDialog), filter_(filter), defaultExt_(defaultExt)
{
    if (fileName)
        std::snprintf(fileName_, sizeof fileName_, "%s", fileName);
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.hwndOwner = parent ? parent->GetSafeHwnd() : nullptr;
    m_ofn.lpstrFilter = filter_.IsEmpty() ? nullptr : static_cast<LPCSTR>(filter_);
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = fileName_;
    m_ofn.nMaxFile = sizeof fileName_;
    m_ofn.Flags = flags;
    m_ofn.lpstrDefExt = defaultExt_.IsEmpty() ? nullptr : static_cast<LPCSTR>(defaultExt_);
}

INT_PTR CFileDialog::DoModal()
{
    if (!m_ofn.lpstrFile || m_ofn.nMaxFile == 0)
        return IDCANCEL;
    platform::seams::FileDialogCall call{open_ != FALSE,
                                           m_ofn.hwndOwner,
                                           m_ofn.lpstrTitle ? m_ofn.lpstrTitle : "",
                                           m_ofn.lpstrFilter ? m_ofn.lpstrFilter : "",
                                           m_ofn.lpstrDefExt ? m_ofn.lpstrDefExt : "",
                                           std::string(m_ofn.lpstrFile, strnlen(m_ofn.lpstrFile, m_ofn.nMaxFile)),
                                           m_ofn.Flags};
    const auto& answer = platform::seams::fileDialogAnswer();
    std::optional<std::string> chosen =
        answer ? answer(call) : platform::mfc::showQtFileDialog(call, static_cast<int>(m_ofn.nFilterIndex));
    if (!chosen || chosen->empty())
        return IDCANCEL;
    std::string path = *chosen;
    const size_t nameStart = path.find_last_of('\\') == std::string::npos ? 0 : path.find_last_of('\\') + 1;
    if (!call.defaultExtension.empty() && path.find('.', nameStart) == std::string::npos)
        path += "." + call.defaultExtension;
    // A path that does not fit the caller's buffer is refused rather than cut.
    if (path.size() + 1 > m_ofn.nMaxFile)
        return IDCANCEL;
    std::memcpy(m_ofn.lpstrFile, path.c_str(), path.size() + 1);
    return IDOK;
}

CString CFileDialog::GetPathName() const { return CString(m_ofn.lpstrFile); }

CString CFileDialog::GetFileName() const
{
    const CString path = GetPathName();
    return path.Mid(path.ReverseFind('\\') + 1);
}

CString CFileDialog::GetFileExt() const
{
    const CString name = GetFileName();
    const int dot = name.ReverseFind('.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const
{
    const CString name = GetFileName();
    const int dot = name.ReverseFind('.');
    return dot < 0 ? name : name.Left(dot);
}

POSITION CFileDialog::GetStartPosition() const
{
    return m_ofn.lpstrFile && m_ofn.lpstrFile[0] ? static_cast<POSITION>(m_ofn.lpstrFile) : nullptr;
}

CString CFileDialog::GetNextPathName(POSITION& pos) const
{
    pos = nullptr;
    return GetPathName();
}
