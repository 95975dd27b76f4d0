// CSettingDlg: the modal settings dialog of the Set button: snapshot folder and formats, recording quality
// and compressor, white-balance mode of the property window, and the preview's display type.
#pragma once

#include <camera/korvib.h>

#include "framework.h"

#define IDD_SETTING 129
#define IDC_RADIO_BMP 1047
#define IDC_RADIO_JPEG 1048
#define IDC_RADIO_SNAP 1050
#define IDC_RADIO_SNAP_SAVE 1052
#define IDC_LABEL_SAVE_FORMAT 1053
#define IDC_EDIT_SAVE_PATH 1054
#define IDC_BUTTON_MORE_PROPERTY 1055
#define IDC_LABEL_SNAP_FORMAT 1071
#define IDC_CHECK_QUALITY 1081
#define IDC_LABEL_QUALITY 1082
#define IDC_BUTTON_SAVE_PATH 1083
#define IDC_BUTTON_SELECT_COMPRESSOR 1084
#define IDC_LABEL_VIDEO_FORMAT 1085
#define IDC_RADIO_MANUAL_WB 1095
#define IDC_RADIO_AUTO_WB 1096
#define IDC_LABEL_DISPLAY_TYPE 1097
#define IDC_RADIO_DS 1098
#define IDC_RADIO_GDI 1099
#define IDC_BUTTON_DEFAULT 1100

// The caller sets every value member before DoModal and reads them back after IDOK. GUI thread.
class CSettingDlg : public CDialog {
public:
    enum { IDD = IDD_SETTING };
    static constexpr int kTextCount = 19;

    explicit CSettingDlg(CWnd* parent = nullptr);

    // 0 English, 1 Chinese: the control texts and the title; any other value leaves them.
    void SetLanguage(int language);
    // The folder chosen in the shell's folder browser, or "" for Cancel or a folder with no file path.
    CString BrowseForFolder();

    int m_nSaveFormat;      // 0 JPEG, 1 BMP
    int m_nCapFormat;       // 0 snap and save, 1 snap only
    int m_bQuality;         // 1 high recording quality
    int m_nWhiteBalance;    // 0 manual, 1 auto
    int m_bShow;            // 0 DirectShow, 1 GDI drawing
    CString m_strSavePath;  // the snapshot root, ending in "\"
    CString m_strDayFolder; // the main window's day folder
    KZ_HANDLE m_hCamera;
    int m_nLanguage;
    CString m_strText[kTextCount];

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    afx_msg void OnRadio();
    afx_msg void OnQuality();
    afx_msg void OnSavePath();
    afx_msg void OnSelectCompressor();
    afx_msg void OnMoreProperty();
    afx_msg void OnManualWhiteBalance();
    afx_msg void OnDefault();

    DECLARE_MESSAGE_MAP()

private:
    void ShowSavePath();
};
