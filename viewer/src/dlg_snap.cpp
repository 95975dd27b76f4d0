// COrvanelDlg: the Snap command and its files, the thumbnail strip, opening a thumbnail, the mouse cursor.
#include <memory>
#include <new>

#include <win32/native_path.h>
#include <win32/sound.h>

#include "orvanel_dlg.h"

namespace {

// Where the status line and the marker over the last thumbnail are painted.
const CRect kStatusArea(40, 750, 800, 765);
const CRect kMarkerStrip(50, 670, 830, 680);

const char* const kNotSaved[] = {"Snapshot not saved: ", "图片未保存: "};

// The thumbnail of slot `slot` narrowed to the frame's proportions (5:4 at 1280 x 1024, 4:3 at 640 x 480),
// centred on its place, and moved there.
void FitThumbnail(COrvanelDlg& dlg, int slot)
{
    CRect& rect = dlg.m_rcThumb[slot];
    const int height = rect.Height();
    int width = rect.Width();
    if (dlg.m_nResolution == 1)
        width = height * 5 / 4;
    else if (dlg.m_nResolution == 0)
        width = height * 4 / 3;
    rect.left += (rect.Width() - width) / 2;
    rect.right = rect.left + width;
    dlg.m_Thumb[slot].MoveWindow(rect, TRUE);
}

// The path of a new snapshot file: the save path, the day folder (created here) and the time of day as
// "h-m-s", with "_2", "_3" ... before the extension when that name is taken, so that no snapshot replaces
// another. The path is in the native form that the file writers open.
CString NewSnapshotPath(const COrvanelDlg& dlg, const char* extension)
{
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const CString folder = dlg.m_strSavePath + dlg.m_strDayFolder + "\\";
    ::CreateDirectory(folder, nullptr);
    CString name;
    name.Format("%d-%d-%d", now.wHour, now.wMinute, now.wSecond);
    const CString path(platform::toNativePath((folder + name).str()).c_str());
    CString candidate = path + extension;
    for (int n = 2; ::GetFileAttributes(candidate) != INVALID_FILE_ATTRIBUTES; ++n)
        candidate.Format("%s_%d%s", static_cast<const char*>(path), n, extension);
    return candidate;
}

// Shows the written file's path, or that the snapshot was not saved.
void ShowSnapshotStatus(COrvanelDlg& dlg, const CString& path, bool written)
{
    dlg.SetDlgItemText(IDC_STATIC_STATUS, written ? path : CString(kNotSaved[dlg.m_nLanguage == 1]) + path);
    dlg.InvalidateRect(kStatusArea, TRUE);
}

} // namespace

// Snap (button 1030, F5): one frame into the next of the seven thumbnails and, unless snapshots are set to
// thumbnails only, into a JPEG file made from that same frame or a BMP file from the camera library. A
// frame the camera does not deliver ends the command with nothing changed. GUI thread; blocks until the
// camera has delivered (at most its time-out).
void COrvanelDlg::OnSnap()
{
    if (m_hCamera == nullptr)
        return;
    if (m_nThumbCount >= kThumbCount)
        m_nThumbCount = 0;
    const int width = m_nCaptureWidth;
    const int height = m_nCaptureHeight;
    // KZ_CaptureToBuf fills biHeight rows of the padded stride.
    std::unique_ptr<BYTE[]> frame(new (std::nothrow) BYTE[static_cast<size_t>(DibStride(width, 24)) * height]);
    if (!frame || KZ_CaptureToBuf(m_hCamera, frame.get()) != KZ_OK)
        return;
    ::sndPlaySound(m_strSound, SND_ASYNC);

    const int slot = m_nThumbCount;
    FitThumbnail(*this, slot);
    m_Thumb[slot].LoadBuffer(frame.get(), width, height, 24, 1, 0, 1);
    m_Thumb[slot].RedrawInParent();
    InvalidateRect(kMarkerStrip, TRUE);
    ++m_nThumbCount;

    if (m_nCapFormat == 1) {
        SetDlgItemText(IDC_STATIC_STATUS, "");
        InvalidateRect(kStatusArea, TRUE);
        return;
    }
    if (m_nCapFormat != 0)
        return;
    if (m_nSaveFormat == 0) {
        const CString path = NewSnapshotPath(*this, ".jpg");
        ShowSnapshotStatus(*this, path, WriteJpeg(path, frame.get(), width, height));
    } else if (m_nSaveFormat == 1) {
        const CString path = NewSnapshotPath(*this, ".bmp");
        ShowSnapshotStatus(*this, path, KZ_CaptureToBmp(m_hCamera, path) == KZ_OK);
    }
}

// A left click on a shown thumbnail that holds a picture opens that picture in the Edit view, with a fresh
// history and zoom 1, and switches the mode. Hidden thumbnails (Edit mode, full screen) take no clicks.
void COrvanelDlg::OnLButtonDown(UINT flags, CPoint point)
{
    for (int i = 0; i < kThumbCount; ++i) {
        if (!m_rcThumb[i].PtInRect(point))
            continue;
        CBmpStatic& thumb = m_Thumb[i];
        if (thumb.IsWindowVisible() && thumb.GetBmpPixel() != nullptr) {
            m_EditView.LoadBuffer(thumb.GetBmpPixel(), static_cast<int>(thumb.GetBmpWidth()),
                                  static_cast<int>(thumb.GetBmpHeight()), 24, 0, 0, 1);
            m_EditView.SetStretch(m_bFit);
            TakeEditPicture();
            OnPreviewEdit();
        }
        break;
    }
    CDialog::OnLButtonDown(flags, point);
}

// Preview mode: whether the mouse rests on a shown thumbnail; Edit mode: a move over the window's own area
// ends the drag cursor.
void COrvanelDlg::OnMouseMove(UINT flags, CPoint point)
{
    if (m_nMode == 0) {
        m_bOverThumb = FALSE;
        for (int i = 0; i < kThumbCount && !m_bOverThumb; ++i)
            m_bOverThumb = m_rcThumb[i].PtInRect(point) && m_Thumb[i].IsWindowVisible();
    } else if (m_nMode == 1) {
        m_bDragging = FALSE;
    }
    CDialog::OnMouseMove(flags, point);
}

// The hand over a thumbnail in Preview mode, the drag cursor while a picture larger than the Edit view is
// dragged; the default cursor otherwise.
BOOL COrvanelDlg::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    if (m_nMode == 0 && m_bOverThumb) {
        ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
        return TRUE;
    }
    if (m_nMode == 1 && m_bDragging && m_bImageLarger) {
        const HCURSOR drag = ::LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDC_CURSOR_DRAG));
        if (drag != nullptr) {
            ::SetCursor(drag);
            return TRUE;
        }
    }
    return CDialog::OnSetCursor(wnd, hitTest, message);
}
