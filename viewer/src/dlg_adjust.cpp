// COrvanelDlg: the six camera adjustments: level-bar set-up, plus and minus steps, auto-repeat and bar drags.
#include "orvanel_dlg.h"

#include <algorithm>

namespace {

const COLORREF kBarStart = RGB(120, 230, 190);
const COLORREF kBarEnd = RGB(0, 0, 255);
const COLORREF kBarBack = RGB(193, 193, 193);
constexpr int kExposureMax = 2000;

void SetUpBar(CBmpStatic& bar, int min, int max, int pos) {
    bar.SetRange(min, max);
    bar.SetColors(kBarStart, kBarEnd, kBarBack);
    bar.SetPos(pos);
    bar.m_bBar = 1;
}

// The held button whose step runs on each repeat: plus and minus of each adjustment, in this order.
struct RepeatStep {
    int button;
    void (COrvanelDlg::*step)();
};

} // namespace

// Ranges, colours and positions of the bars; the exposure range comes from the sensor, capped at 2000, and
// the exposure from its register when it can be read, else it starts at the nearest value of its range.
void COrvanelDlg::InitSliders() {
    SetUpBar(m_barBrightness, 0, 255, m_nBrightness);
    SetUpBar(m_barContrast, 0, 63, m_nContrast);
    SetUpBar(m_barSaturation, 0, 63, m_nSaturation);
    SetUpBar(m_barSharpness, 0, 15, m_nSharpness);
    SetUpBar(m_barGamma, 0, 63, m_nGamma);

    KZ_GetRegRange(m_hCamera, KZ_REG_EXPOSURE, &m_nExposureMin, &m_nExposureMax);
    m_nExposureMax = kExposureMax;
    ReadExposure();
    if (!m_bExposureRead)
        m_nExposure = std::clamp(m_nExposure, m_nExposureMin, m_nExposureMax);
    SetUpBar(m_barExposure, m_nExposureMin, m_nExposureMax, m_nExposure);

    for (const Adjustment& a : Adjustments())
        a.text->Format("%d", *a.value);
}

// Takes the exposure from the sensor's register into the member, its bar and its text; a failed read
// leaves all three as they are.
void COrvanelDlg::ReadExposure() {
    int exposure = m_nExposure;
    if (KZ_RegOperation(m_hCamera, KZ_REG_EXPOSURE, &exposure, 0) != KZ_OK)
        return;
    m_nExposure = exposure;
    m_bExposureRead = true;
    m_barExposure.SetPos(m_nExposure);
    m_strExposure.Format("%d", m_nExposure);
}

// The adjustments in bar order: brightness, contrast, saturation, sharpness, gamma, exposure.
std::array<COrvanelDlg::Adjustment, 6> COrvanelDlg::Adjustments() {
    return {{
        {&m_nBrightness, 0, 255, KZ_PARAM_BRIGHTNESS, &m_barBrightness, &m_strBrightness},
        {&m_nContrast, 0, 63, KZ_PARAM_CONTRAST, &m_barContrast, &m_strContrast},
        {&m_nSaturation, 0, 63, KZ_PARAM_SATURATION, &m_barSaturation, &m_strSaturation},
        {&m_nSharpness, 0, 15, KZ_PARAM_SHARPNESS, &m_barSharpness, &m_strSharpness},
        {&m_nGamma, 0, 63, KZ_PARAM_GAMMA, &m_barGamma, &m_strGamma},
        {&m_nExposure, m_nExposureMin, m_nExposureMax, kExposureRegister, &m_barExposure, &m_strExposure},
    }};
}

// Sends the adjustment's value: a camera parameter, or the sensor's exposure register.
void COrvanelDlg::SendAdjustment(const Adjustment& a) {
    if (a.param == kExposureRegister)
        KZ_RegOperation(m_hCamera, KZ_REG_EXPOSURE, a.value, 1);
    else
        KZ_SetParam(m_hCamera, a.param, *a.value);
}

// One step up (+1) or down (-1) within the range. The member steps also without a camera; only with one is
// the value sent, shown on the bar and in the value text.
void COrvanelDlg::StepAdjustment(int index, int delta) {
    const Adjustment a = Adjustments()[index];
    if ((delta > 0 && *a.value >= a.max) || (delta < 0 && *a.value <= a.min))
        return;
    *a.value += delta;
    if (m_hCamera == nullptr)
        return;
    SendAdjustment(a);
    a.bar->SetPos(*a.value);
    a.text->Format("%d", *a.value);
    UpdateData(FALSE);
}

void COrvanelDlg::OnBrightnessUp() {
    StepAdjustment(0, 1);
}
void COrvanelDlg::OnBrightnessDown() {
    StepAdjustment(0, -1);
}
void COrvanelDlg::OnContrastUp() {
    StepAdjustment(1, 1);
}
void COrvanelDlg::OnContrastDown() {
    StepAdjustment(1, -1);
}
void COrvanelDlg::OnSaturationUp() {
    StepAdjustment(2, 1);
}
void COrvanelDlg::OnSaturationDown() {
    StepAdjustment(2, -1);
}
void COrvanelDlg::OnSharpnessUp() {
    StepAdjustment(3, 1);
}
void COrvanelDlg::OnSharpnessDown() {
    StepAdjustment(3, -1);
}
void COrvanelDlg::OnGammaUp() {
    StepAdjustment(4, 1);
}
void COrvanelDlg::OnGammaDown() {
    StepAdjustment(4, -1);
}
void COrvanelDlg::OnExposureUp() {
    StepAdjustment(5, 1);
}
void COrvanelDlg::OnExposureDown() {
    StepAdjustment(5, -1);
}

// WM_BUTTON_REPEAT: the first plus or minus button held by the mouse (state exactly 108: pushed, focused,
// captured) takes one step.
void COrvanelDlg::OnButtonRepeat() {
    static constexpr RepeatStep kSteps[] = {
        {IDC_BUTTON_BRIGHT_UP, &COrvanelDlg::OnBrightnessUp},
        {IDC_BUTTON_BRIGHT_DOWN, &COrvanelDlg::OnBrightnessDown},
        {IDC_BUTTON_CONTRAST_UP, &COrvanelDlg::OnContrastUp},
        {IDC_BUTTON_CONTRAST_DOWN, &COrvanelDlg::OnContrastDown},
        {IDC_BUTTON_SATURATION_UP, &COrvanelDlg::OnSaturationUp},
        {IDC_BUTTON_SATURATION_DOWN, &COrvanelDlg::OnSaturationDown},
        {IDC_BUTTON_SHARP_UP, &COrvanelDlg::OnSharpnessUp},
        {IDC_BUTTON_SHARP_DOWN, &COrvanelDlg::OnSharpnessDown},
        {IDC_BUTTON_GAMMA_UP, &COrvanelDlg::OnGammaUp},
        {IDC_BUTTON_GAMMA_DOWN, &COrvanelDlg::OnGammaDown},
        {IDC_BUTTON_EXPOSURE_UP, &COrvanelDlg::OnExposureUp},
        {IDC_BUTTON_EXPOSURE_DOWN, &COrvanelDlg::OnExposureDown},
    };
    for (const RepeatStep& s : kSteps) {
        CBmpButton* button = Button(s.button);
        if (button != nullptr && button->GetSafeHwnd() != nullptr && button->GetState() == 108) {
            (this->*s.step)();
            return;
        }
    }
}

// WM_LEVEL_CHANGED: the first pressed bar's position becomes its adjustment's value and is sent. FALSE when
// that value lies outside the range (nothing changes); TRUE otherwise, also when no bar is pressed.
bool COrvanelDlg::OnLevelChanged() {
    for (const Adjustment& a : Adjustments()) {
        if (!a.bar->m_bButtonDown)
            continue;
        const int value = a.bar->m_nPos;
        if (value < a.min || value > a.max)
            return false;
        *a.value = value;
        a.bar->SetPos(value);
        a.text->Format("%d", value);
        SendAdjustment(a);
        break;
    }
    UpdateData(FALSE);
    return true;
}

// A release over the window outside a pressed bar ends that bar's drag; a bitmap button's release posts
// (0, 0) here, which lies outside every bar.
void COrvanelDlg::OnLButtonUp(UINT flags, CPoint point) {
    for (const Adjustment& a : Adjustments()) {
        if (a.bar->GetSafeHwnd() == nullptr)
            continue;
        CRect rect;
        a.bar->GetWindowRect(rect);
        ScreenToClient(rect);
        if (a.bar->m_bButtonDown && !rect.PtInRect(point))
            a.bar->m_bButtonDown = 0;
    }
    CDialog::OnLButtonUp(flags, point);
}
