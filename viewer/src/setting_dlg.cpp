// CSettingDlg: data exchange, the texts of both languages and the button handlers.
#include "setting_dlg.h"

#include <dshow/com.h>
#include <mfc/folder_browser.h>
#include <win32/native_path.h>

namespace {

struct Texts {
    int control; // 0: the window title
    const char* english;
    const char* chinese;
};

// The blanks inside the texts are part of them.
const Texts kTexts[CSettingDlg::kTextCount] = {
    {IDC_BUTTON_SAVE_PATH, "Save   Path", "保 存 路 径"},
    {IDC_LABEL_SAVE_FORMAT, "Save   Format", "保 存 格 式"},
    {IDC_LABEL_SNAP_FORMAT, "Snap   Format", "拍 照 格 式"},
    {IDC_RADIO_SNAP_SAVE, "Snap+Save", "拍照并保存"},
    {IDC_RADIO_SNAP, "Snap", "拍照"},
    {IDC_LABEL_QUALITY, "Video Quality", "图 像 质 量"},
    {IDC_CHECK_QUALITY, "High Quality", "高质量"},
    {IDC_LABEL_VIDEO_FORMAT, "Video Format", "视 频 格 式"},
    {IDC_BUTTON_SELECT_COMPRESSOR, "Select", "选择"},
    {IDC_BUTTON_MORE_PROPERTY, "More Property", "属 性 调 节"},
    {IDC_RADIO_AUTO_WB, "Auto White Balance", "自动白平衡"},
    {IDC_RADIO_MANUAL_WB, "Manual White Balance", "手动白平衡"},
    {IDC_LABEL_DISPLAY_TYPE, "Display-Type", "显示方式"},
    {IDC_RADIO_GDI, "GDI", "GDI"},
    {IDC_RADIO_DS, "DS", "DS"},
    {IDC_BUTTON_DEFAULT, "Default", "默认设置"},
    {IDOK, "OK", "确定"},
    {IDCANCEL, "Cancel", "取消"},
    {0, "Setting", "设置"},
};

const char* const kManualWarning[2] = {
    "Before this selection, please confirm the parameters in auto white balance dialog as follow:\r"
    "1、Reject auto white balance\r"
    "2、Reject auto exposure\r"
    "3、Choose default for white balance",
    "选择此选项前，请在自动白平衡对框框中确定如下参数:\r"
    "1、去掉自动曝光选项\r"
    "2、去掉自动白平衡选项\r"
    "3、将白平衡设为默认值",
};

const char kDefaultSavePath[] = "C:\\";

} // namespace

BEGIN_MESSAGE_MAP(CSettingDlg, CDialog)
ON_BN_CLICKED(IDC_RADIO_BMP, OnRadio)
ON_BN_CLICKED(IDC_RADIO_JPEG, OnRadio)
ON_BN_CLICKED(IDC_RADIO_SNAP, OnRadio)
ON_BN_CLICKED(IDC_RADIO_SNAP_SAVE, OnRadio)
ON_BN_CLICKED(IDC_RADIO_AUTO_WB, OnRadio)
ON_BN_CLICKED(IDC_RADIO_DS, OnRadio)
ON_BN_CLICKED(IDC_RADIO_GDI, OnRadio)
ON_BN_CLICKED(IDC_CHECK_QUALITY, OnQuality)
ON_BN_CLICKED(IDC_BUTTON_SAVE_PATH, OnSavePath)
ON_BN_CLICKED(IDC_BUTTON_SELECT_COMPRESSOR, OnSelectCompressor)
ON_BN_CLICKED(IDC_BUTTON_MORE_PROPERTY, OnMoreProperty)
ON_BN_CLICKED(IDC_RADIO_MANUAL_WB, OnManualWhiteBalance)
ON_BN_CLICKED(IDC_BUTTON_DEFAULT, OnDefault)
END_MESSAGE_MAP()

CSettingDlg::CSettingDlg(CWnd* parent)
    : CDialog(IDD, parent), m_nSaveFormat(0), m_nCapFormat(0), m_bQuality(1), m_nWhiteBalance(1), m_bShow(0),
      m_hCamera(nullptr), m_nLanguage(0) {}

void CSettingDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Radio(dx, IDC_RADIO_JPEG, m_nSaveFormat);
    DDX_Radio(dx, IDC_RADIO_SNAP_SAVE, m_nCapFormat);
    DDX_Check(dx, IDC_CHECK_QUALITY, m_bQuality);
    DDX_Radio(dx, IDC_RADIO_MANUAL_WB, m_nWhiteBalance);
    DDX_Radio(dx, IDC_RADIO_DS, m_bShow);
}

BOOL CSettingDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ShowSavePath();
    SetLanguage(m_nLanguage);
    return TRUE;
}

// The folder the snapshots go to, as the file system names it ("/" between the names).
void CSettingDlg::ShowSavePath() {
    const CString folder = m_strSavePath + m_strDayFolder + "\\";
    SetDlgItemText(IDC_EDIT_SAVE_PATH, platform::toNativePath(folder.str()).c_str());
}

void CSettingDlg::SetLanguage(int language) {
    if (language != 0 && language != 1)
        return;
    for (int i = 0; i < kTextCount; ++i) {
        m_strText[i] = language == 0 ? kTexts[i].english : kTexts[i].chinese;
        if (kTexts[i].control == 0)
            SetWindowText(m_strText[i]);
        else
            SetDlgItemText(kTexts[i].control, m_strText[i]);
    }
}

CString CSettingDlg::BrowseForFolder() {
    BROWSEINFO info{};
    info.hwndOwner = m_hWnd;
    info.lpszTitle = "Choose Path: ";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST item = ::SHBrowseForFolder(&info);
    if (item == nullptr)
        return "";
    char path[MAX_PATH] = {};
    const BOOL found = ::SHGetPathFromIDList(item, path);
    ::CoTaskMemFree(item);
    return found ? CString(path) : CString("");
}

// The radios' members follow them at once.
void CSettingDlg::OnRadio() {
    UpdateData(TRUE);
}

// Without a camera the check box's state is taken only by OK.
void CSettingDlg::OnQuality() {
    if (m_hCamera != nullptr)
        UpdateData(TRUE);
}

// A chosen folder becomes the save path with a final "\" (a drive root has it already); Cancel keeps it.
void CSettingDlg::OnSavePath() {
    const CString folder = BrowseForFolder();
    if (folder.IsEmpty())
        return;
    m_strSavePath = folder.Right(1) == "\\" ? folder : folder + "\\";
    ShowSavePath();
}

// The camera library stores the compressor chosen here at once, whatever the dialog ends with.
void CSettingDlg::OnSelectCompressor() {
    UpdateData(TRUE);
    if (m_hCamera != nullptr)
        KZ_SelectCompressor(m_hCamera);
}

// Manual white balance opens the library's own property dialog, auto the driver's pages; without a camera
// the library answers the null handle.
void CSettingDlg::OnMoreProperty() {
    KZ_ShowPropertyPage(m_hCamera, m_nWhiteBalance);
}

// Manual white balance is kept only when the user confirms having switched the automatic loops off;
// Cancel selects auto again.
void CSettingDlg::OnManualWhiteBalance() {
    const int answer =
        ::MessageBoxEx(m_hWnd, kManualWarning[m_nLanguage == 1], "", MB_OKCANCEL, ::GetSystemDefaultLangID());
    if (answer == IDOK) {
        UpdateData(TRUE);
    } else {
        m_nWhiteBalance = 1;
        UpdateData(FALSE);
    }
}

void CSettingDlg::OnDefault() {
    m_strSavePath = kDefaultSavePath;
    ShowSavePath();
    m_nSaveFormat = 0;
    m_nCapFormat = 0;
    m_bQuality = 1;
    m_nWhiteBalance = 1;
    m_bShow = 1;
    UpdateData(FALSE);
}
