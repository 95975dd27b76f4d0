// COrvanelDlg: reading and writing the settings file Orvanel.ini (section Orvanel).
#include <algorithm>

#include "orvanel_dlg.h"

namespace {

const char kSection[] = "Orvanel";
const char kDefaultSavePath[] = "C:\\";

int ReadInt(const CString& file, LPCTSTR key, int fallback) {
    return static_cast<int>(::GetPrivateProfileInt(kSection, key, fallback, file));
}

} // namespace

// Reads the ten settings. Values outside what the controls can show are brought into range: the picture
// values to their bars, the two formats and the quality to 0 or 1, and the display type to GDI for 1 and DS otherwise.
// A save path that names nothing falls back to "C:\".
void COrvanelDlg::LoadSettings() {
    m_nBrightness = std::clamp(ReadInt(m_strIniFile, "nBrightness", 80), 0, 255);
    m_nContrast = std::clamp(ReadInt(m_strIniFile, "nContrast", 36), 0, 63);
    m_nSaturation = std::clamp(ReadInt(m_strIniFile, "nSaturation", 36), 0, 63);
    m_nSharpness = std::clamp(ReadInt(m_strIniFile, "nSharpness", 10), 0, 15);
    m_nGamma = std::clamp(ReadInt(m_strIniFile, "nGamma", 15), 0, 63);

    char path[256] = {};
    ::GetPrivateProfileString(kSection, "strSavePath", kDefaultSavePath, path, sizeof path, m_strIniFile);
    m_strSavePath = path;
    if (::GetFileAttributes(m_strSavePath) == INVALID_FILE_ATTRIBUTES)
        m_strSavePath = kDefaultSavePath;

    m_nSaveFormat = std::clamp(ReadInt(m_strIniFile, "nSaveFormat", 0), 0, 1);
    m_nCapFormat = std::clamp(ReadInt(m_strIniFile, "nCapFormat", 0), 0, 1);
    m_bQuality = std::clamp(ReadInt(m_strIniFile, "bQuality", 1), 0, 1);
    m_nWhiteBalance = 1;
    m_bShow = ReadInt(m_strIniFile, "bShow", 0) == 1 ? 1 : 0;
    m_bSettingsLoaded = true;
}

// Writes all ten settings; returns 1. A failed write is not reported.
int COrvanelDlg::SaveSettings() {
    WriteProfileInt(kSection, "nBrightness", m_nBrightness);
    WriteProfileInt(kSection, "nContrast", m_nContrast);
    WriteProfileInt(kSection, "nSaturation", m_nSaturation);
    WriteProfileInt(kSection, "nSharpness", m_nSharpness);
    WriteProfileInt(kSection, "nGamma", m_nGamma);
    ::WritePrivateProfileString(kSection, "strSavePath", m_strSavePath, m_strIniFile);
    WriteProfileInt(kSection, "nSaveFormat", m_nSaveFormat);
    WriteProfileInt(kSection, "nCapFormat", m_nCapFormat);
    WriteProfileInt(kSection, "bQuality", m_bQuality);
    WriteProfileInt(kSection, "bShow", m_bShow);
    return 1;
}

void COrvanelDlg::WriteProfileInt(LPCTSTR section, LPCTSTR key, int value) {
    CString text;
    text.Format("%d", value);
    ::WritePrivateProfileString(section, key, text, m_strIniFile);
}
