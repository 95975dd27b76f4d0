// CImageSetting: the small modal dialog that sets the Binary threshold (and the hidden histogram bound).
#pragma once

#include "framework.h"

#define IDD_IMAGE_SETTING 153
#define IDC_LABEL_THRESHOLD 1063
#define IDC_LABEL_BOUND 1064
#define IDC_SLIDER_THRESHOLD 1067
#define IDC_SLIDER_BOUND 1068
#define IDC_STATIC_THRESHOLD_VALUE 1069
#define IDC_STATIC_BOUND_VALUE 1070

// The owner fills m_nThreshold, m_nBound, their texts and m_nLanguage before DoModal and reads the two
// values back after IDOK. GUI thread.
class CImageSetting : public CDialog {
public:
    enum { IDD = IDD_IMAGE_SETTING };
    static constexpr int kTextCount = 5;

    explicit CImageSetting(CWnd* parent = nullptr);

    // 0 English, 1 Chinese: the two labels, OK, Cancel and the title; any other value empties them.
    void SetLanguage(int language);

    CSliderCtrl m_sliderBound;
    CSliderCtrl m_sliderThreshold;
    CString m_strThreshold;
    CString m_strBound;
    int m_nBound;
    int m_nThreshold;
    CString m_strText[kTextCount];
    int m_nLanguage;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    afx_msg void OnHScroll(UINT code, UINT position, CScrollBar* scrollBar);

    DECLARE_MESSAGE_MAP()
};
