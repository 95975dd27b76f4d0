// COrvanelDlg: the Edit mode's picture commands, step limits, threshold dialog, zoom, Fit, Reset, undo and redo.
#include "orvanel_dlg.h"

#include "image_setting.h"

namespace {

// Labels repainted when their step counter moves.
const CRect kLightLabel(865, 280, 965, 300);
const CRect kContrastLabel(865, 340, 965, 360);
const CRect kSharpLabel(865, 390, 965, 410);
const CRect kStepLabels(865, 220, 965, 410);

constexpr int kStepLimit = 5;
constexpr int kZoomSteps = 3;
constexpr int kMaxZoom = 4;
constexpr int kLightStep = 20;
constexpr int kContrastStep = 20;

// Moves `counter` by `delta` when the Edit view holds a picture and the counter stays within -5..5, and
// repaints `label`. False when nothing moved.
bool TakeStep(COrvanelDlg& dlg, int& counter, int delta, const CRect& label)
{
    const int next = counter + delta;
    if (dlg.m_EditView.GetBmpPixel() == nullptr || next > kStepLimit || next < -kStepLimit)
        return false;
    counter = next;
    dlg.InvalidateRect(label, TRUE);
    return true;
}

} // namespace

// The picture just loaded into the Edit view becomes the one edited: its size and depth, whether it is
// larger than the view (drag cursor), zoom 1 in the view and in the zoom buttons, and the first entry of a
// fresh history.
void COrvanelDlg::TakeEditPicture()
{
    m_nImageBits = m_EditView.GetBitCount();
    m_nImageWidth = static_cast<int>(m_EditView.GetBmpWidth());
    m_nImageHeight = static_cast<int>(m_EditView.GetBmpHeight());
    m_bImageLarger = m_nImageWidth > m_rcEditView.Width() || m_nImageHeight > m_rcEditView.Height();
    m_nZoom = 1;
    m_nZoomStep = 0;
    m_EditView.Snapshot();
}

// Every handler below does nothing while the Edit view has no picture. GUI thread.

void COrvanelDlg::OnUndo()
{
    if (m_EditView.GetBmpPixel() == nullptr)
        return;
    m_EditView.Undo();
    m_nImageBits = m_EditView.GetBitCount();
}

void COrvanelDlg::OnRedo()
{
    if (m_EditView.GetBmpPixel() == nullptr)
        return;
    m_EditView.Redo();
    m_nImageBits = m_EditView.GetBitCount();
}

void COrvanelDlg::OnLightUp()
{
    if (TakeStep(*this, m_nLightStep, 1, kLightLabel))
        m_EditView.Contrast(kLightStep, 0);
}

void COrvanelDlg::OnLightDown()
{
    if (TakeStep(*this, m_nLightStep, -1, kLightLabel))
        m_EditView.Contrast(-kLightStep, 0);
}

void COrvanelDlg::OnContrastUpImage()
{
    if (TakeStep(*this, m_nContrastStep, 1, kContrastLabel))
        m_EditView.Contrast(0, kContrastStep);
}

void COrvanelDlg::OnContrastDownImage()
{
    if (TakeStep(*this, m_nContrastStep, -1, kContrastLabel))
        m_EditView.Contrast(0, -kContrastStep);
}

void COrvanelDlg::OnToEight()
{
    if (m_EditView.GetBmpPixel() == nullptr)
        return;
    m_EditView.ConvertToBW();
    m_nImageBits = m_EditView.GetBitCount();
}

void COrvanelDlg::OnBinary()
{
    if (m_EditView.GetBmpPixel() == nullptr)
        return;
    m_EditView.Threshold(static_cast<BYTE>(m_nThreshold & 0xFF));
    m_nImageBits = m_EditView.GetBitCount();
}

// The threshold dialog, without owner, on the current threshold, bound and language; OK takes its values.
void COrvanelDlg::OnTool()
{
    CImageSetting dialog(nullptr);
    dialog.m_nBound = m_nBound;
    dialog.m_nThreshold = m_nThreshold;
    dialog.m_nLanguage = m_nLanguage;
    dialog.m_strBound.Format("%d", m_nBound);
    dialog.m_strThreshold.Format("%d", m_nThreshold);
    if (dialog.DoModal() != IDOK)
        return;
    m_nBound = dialog.m_nBound;
    m_nThreshold = dialog.m_nThreshold;
}

void COrvanelDlg::OnEmboss()
{
    if (m_EditView.GetBmpPixel() != nullptr)
        m_EditView.Emboss();
}

void COrvanelDlg::OnNegative()
{
    if (m_EditView.GetBmpPixel() != nullptr)
        m_EditView.Negative();
}

// Sharpen and Smooth share one counter: Sharpen moves it down, Smooth up.
void COrvanelDlg::OnSharpen()
{
    if (TakeStep(*this, m_nSharpStep, -1, kSharpLabel))
        m_EditView.Sharpen();
}

void COrvanelDlg::OnSmooth()
{
    if (TakeStep(*this, m_nSharpStep, 1, kSharpLabel))
        m_EditView.Smooth();
}

void COrvanelDlg::OnEdge()
{
    if (m_EditView.GetBmpPixel() != nullptr)
        m_EditView.Edge();
}

void COrvanelDlg::OnHistogramEqualize()
{
    if (m_EditView.GetBmpPixel() != nullptr)
        m_EditView.HistogramEqualize();
}

void COrvanelDlg::OnHistogramStretch()
{
    if (m_EditView.GetBmpPixel() != nullptr)
        m_EditView.HistogramStretch(0, m_nBound, 0, 255);
}

// Zoom 1 to 4 in three steps; the view's zoom is the dialog's.
void COrvanelDlg::OnZoomIn()
{
    if (m_EditView.GetBmpPixel() == nullptr || m_nZoomStep >= kZoomSteps)
        return;
    ++m_nZoomStep;
    if (m_nZoom < kMaxZoom)
        m_EditView.SetZoom(++m_nZoom);
}

void COrvanelDlg::OnZoomOut()
{
    if (m_EditView.GetBmpPixel() == nullptr || m_nZoomStep <= 0)
        return;
    --m_nZoomStep;
    if (m_nZoom > 1)
        m_EditView.SetZoom(--m_nZoom);
}

void COrvanelDlg::OnFit()
{
    if (m_EditView.GetBmpPixel() == nullptr)
        return;
    m_bFit = !m_bFit;
    m_EditView.SetStretch(m_bFit);
}

// Back to the picture as loaded: one history entry, the step counters at 0 and zoom 1.
void COrvanelDlg::OnReset()
{
    if (m_EditView.GetBmpPixel() == nullptr)
        return;
    m_EditView.RestoreOriginal();
    m_nImageBits = m_EditView.GetBitCount();
    m_nLightStep = 0;
    m_nContrastStep = 0;
    m_nZoomStep = 0;
    m_nSharpStep = 0;
    m_nZoom = 1;
    m_EditView.SetZoom(m_nZoom);
    InvalidateRect(kStepLabels, TRUE);
}
