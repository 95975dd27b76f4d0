// COrvanelDlg: setting up the six level bars of the camera adjustments and their value texts.
#include "orvanel_dlg.h"

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

} // namespace

// Ranges, colours and positions of the bars; the exposure range comes from the sensor, capped at 2000, and
// the exposure from its register when it can be read.
void COrvanelDlg::InitSliders() {
    SetUpBar(m_barBrightness, 0, 255, m_nBrightness);
    SetUpBar(m_barContrast, 0, 63, m_nContrast);
    SetUpBar(m_barSaturation, 0, 63, m_nSaturation);
    SetUpBar(m_barSharpness, 0, 15, m_nSharpness);
    SetUpBar(m_barGamma, 0, 63, m_nGamma);

    KZ_GetRegRange(m_hCamera, KZ_REG_EXPOSURE, &m_nExposureMin, &m_nExposureMax);
    m_nExposureMax = kExposureMax;
    SetUpBar(m_barExposure, m_nExposureMin, m_nExposureMax, m_nExposure);
    ReadExposure();

    m_strBrightness.Format("%d", m_nBrightness);
    m_strContrast.Format("%d", m_nContrast);
    m_strSaturation.Format("%d", m_nSaturation);
    m_strSharpness.Format("%d", m_nSharpness);
    m_strGamma.Format("%d", m_nGamma);
    m_strExposure.Format("%d", m_nExposure);
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
