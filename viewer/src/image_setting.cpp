// CImageSetting: the threshold dialog's sliders, value texts and its two languages.
#include "image_setting.h"

namespace {

constexpr int kSliderMax = 255;

struct Texts {
    const char* english;
    const char* chinese;
};

// Threshold label, bound label, OK, Cancel, title.
const Texts kTexts[CImageSetting::kTextCount] = {
    {"Binary Max", "二值化阈值"}, {"Histagram Min", "直方图阈值"}, {"OK", "确定"}, {"Cancel", "取消"},
    {"Setting", "设置"},
};

const int kTextControls[] = {IDC_LABEL_THRESHOLD, IDC_LABEL_BOUND, IDOK, IDCANCEL};

} // namespace

BEGIN_MESSAGE_MAP(CImageSetting, CDialog)
ON_WM_HSCROLL()
END_MESSAGE_MAP()

CImageSetting::CImageSetting(CWnd* parent)
    : CDialog(IDD, parent), m_nBound(0), m_nThreshold(0), m_nLanguage(0) {}

void CImageSetting::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_SLIDER_BOUND, m_sliderBound);
    DDX_Control(dx, IDC_SLIDER_THRESHOLD, m_sliderThreshold);
    DDX_Text(dx, IDC_STATIC_THRESHOLD_VALUE, m_strThreshold);
    DDX_Text(dx, IDC_STATIC_BOUND_VALUE, m_strBound);
}

// Both sliders run from 0 to 255 at their values; the texts in the chosen language.
BOOL CImageSetting::OnInitDialog() {
    CDialog::OnInitDialog();
    m_strBound.Format("%d", m_nBound);
    m_strThreshold.Format("%d", m_nThreshold);
    m_sliderThreshold.SetRange(0, kSliderMax, TRUE);
    m_sliderThreshold.SetPos(m_nThreshold);
    m_sliderBound.SetRange(0, kSliderMax);
    m_sliderBound.SetPos(m_nBound);
    SetLanguage(m_nLanguage);
    return TRUE;
}

// The moved slider's own position becomes its value, shown at once beside it.
void CImageSetting::OnHScroll(UINT code, UINT position, CScrollBar* scrollBar) {
    if (scrollBar != nullptr) {
        const int id = scrollBar->GetDlgCtrlID();
        if (id == IDC_SLIDER_THRESHOLD) {
            m_nThreshold = m_sliderThreshold.GetPos();
            m_strThreshold.Format("%d", m_nThreshold);
        } else if (id == IDC_SLIDER_BOUND) {
            m_nBound = m_sliderBound.GetPos();
            m_strBound.Format("%d", m_nBound);
        }
    }
    UpdateData(FALSE);
    CDialog::OnHScroll(code, position, scrollBar);
}

void CImageSetting::SetLanguage(int language) {
    for (int i = 0; i < kTextCount; ++i) {
        if (language == 0)
            m_strText[i] = kTexts[i].english;
        else if (language == 1)
            m_strText[i] = kTexts[i].chinese;
        else
            m_strText[i].Empty();
    }
    for (int i = 0; i < 4; ++i)
        SetDlgItemText(kTextControls[i], m_strText[i]);
    SetWindowText(m_strText[4]);
}
