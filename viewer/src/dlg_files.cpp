// COrvanelDlg: opening BMP and JPEG pictures into the Edit view and saving the Edit picture as either.
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include <win32/gdi.h>
#include <win32/native_path.h>

#include "orvanel_dlg.h"

namespace {

const char kFilter[] = "BMP Files (*.bmp)|*.bmp|JPEG Files (*.jpg)|*.jpg||";
constexpr int kJpegQuality = 70;

const char* const kCannotOpen[] = {"The picture cannot be opened:\n", "无法打开图片:\n"};
const char* const kCannotSave[] = {"The picture cannot be saved:\n", "无法保存图片:\n"};

std::string NativePath(const CString& path)
{
    return platform::toNativePath(path.str());
}

bool IsExtension(const CString& ext, const char* wanted)
{
    return ext.CompareNoCase(wanted) == 0;
}

// The view's picture of width x height as bottom-up 24-bit rows padded to 4 bytes: its own rows at 24
// bits, others converted through their colour table. False for another size, when GDI cannot convert it
// or without memory.
bool PictureRows24(CBmpStatic& view, int width, int height, std::vector<BYTE>& rows)
{
    if (view.GetBmpPixel() == nullptr || LONG(view.GetBmpWidth()) != width || LONG(view.GetBmpHeight()) != height)
        return false;
    const size_t bytes = static_cast<size_t>(DibStride(width, 24)) * height;
    try {
        rows.assign(bytes, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (view.GetBitCount() == 24) {
        std::memcpy(rows.data(), view.GetBmpPixel(), bytes);
        return true;
    }
    // A window DC, so that the bitmap made compatible with it has colour.
    HDC dc = ::GetDC(view.GetSafeHwnd());
    HBITMAP colour = view.m_pBmp->GetDDBHandle(dc);
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const bool converted = colour != nullptr && ::GetDIBits(dc, colour, 0, static_cast<UINT>(height), rows.data(),
                                                            &info, DIB_RGB_COLORS) == height;
    ::ReleaseDC(view.GetSafeHwnd(), dc);
    return converted;
}

} // namespace

BYTE* COrvanelDlg::PadRows(BYTE* packed, BYTE* padded, int width, int height, int toPadded)
{
    if (packed == nullptr || padded == nullptr)
        return nullptr;
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    const size_t stride = static_cast<size_t>(DibStride(width, 24));
    for (int row = 0; row < height; ++row) {
        if (toPadded)
            std::memcpy(padded + row * stride, packed + row * rowBytes, rowBytes);
        else
            std::memcpy(packed + row * rowBytes, padded + row * stride, rowBytes);
    }
    return toPadded ? padded : packed;
}

bool COrvanelDlg::WriteJpeg(const char* path, const BYTE* rows, int width, int height)
{
    std::unique_ptr<BYTE[]> packed(new (std::nothrow) BYTE[static_cast<size_t>(width) * height * 3]);
    if (!packed)
        return false;
    PadRows(packed.get(), const_cast<BYTE*>(rows), width, height, 0);
    m_jpeg.VertFlipBuf(packed.get(), static_cast<unsigned long>(width) * 3, static_cast<unsigned long>(height));
    m_jpeg.BGRFromRGB(packed.get(), static_cast<unsigned long>(width), static_cast<unsigned long>(height));
    return m_jpeg.RGBToJpegFile(path, packed.get(), static_cast<unsigned>(width), static_cast<unsigned>(height), TRUE,
                                kJpegQuality) == 1;
}

// Open (button 1052): a BMP or JPEG file (extension in any case) into the Edit view with a fresh history.
// A file that cannot be read shows a message and leaves the current picture as it was. GUI thread.
void COrvanelDlg::OnOpen()
{
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_EXPLORER | OFN_FILEMUSTEXIST, kFilter, nullptr);
    dialog.m_ofn.lpstrTitle = "Open";
    if (dialog.DoModal() != IDOK)
        return;
    const std::string path = NativePath(dialog.GetPathName());
    const CString ext = dialog.GetFileExt();
    bool loaded = false;
    if (IsExtension(ext, "jpg")) {
        unsigned long width = 0;
        unsigned long height = 0;
        std::unique_ptr<unsigned char[]> rgb(m_jpeg.JpegFileToRGB(path.c_str(), &width, &height));
        if (rgb) {
            m_jpeg.VertFlipBuf(rgb.get(), width * 3, height);
            m_jpeg.BGRFromRGB(rgb.get(), width, height);
            // Value-initialised, so the pad bytes of each row are zero.
            std::unique_ptr<BYTE[]> padded(new (std::nothrow)
                                               BYTE[static_cast<size_t>(DibStride(LONG(width), 24)) * height]());
            loaded = padded && PadRows(rgb.get(), padded.get(), int(width), int(height), 1) != nullptr &&
                     m_EditView.LoadBuffer(padded.get(), int(width), int(height), 24, 0, 0, 1) == 1;
        }
    } else if (IsExtension(ext, "bmp")) {
        // Read once on the side first: the view empties itself before it reads.
        CRastel probe;
        loaded = probe.ReadBitmap(path.c_str()) == 1 && m_EditView.LoadFile(path.c_str(), 0, 0, 1) == 1;
    }
    if (!loaded) {
        ::MessageBox(m_hWnd, CString(kCannotOpen[m_nLanguage == 1]) + path.c_str(), AfxGetApp()->m_pszAppName,
                     MB_OK | MB_ICONWARNING);
        return;
    }
    m_EditView.SetStretch(m_bFit);
    TakeEditPicture();
}

// Save As (button 1054). GUI thread.
void COrvanelDlg::OnSave()
{
    if (m_EditView.GetBmpPixel() == nullptr)
        return;
    SaveImageAs(m_EditView.GetBmpPixel(), m_nImageWidth, m_nImageHeight, 0);
    m_EditView.SetStretch(m_bFit);
}

// Asks for a name and writes the Edit picture: a JPEG for ".jpg", a BMP for ".bmp" (in any case); a name
// without an extension takes the chosen filter's. A name of another kind or a failed write shows a message.
int COrvanelDlg::SaveImageAs(BYTE* pixels, int width, int height, int)
{
    CFileDialog dialog(FALSE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kFilter, nullptr);
    if (dialog.DoModal() != IDOK)
        return 0;
    CString path = dialog.GetPathName();
    CString ext = dialog.GetFileExt();
    if (ext.IsEmpty()) {
        // Filter 2 is the JPEG one.
        ext = dialog.m_ofn.nFilterIndex == 2 ? "jpg" : "bmp";
        path += CString(".") + ext;
    }
    const std::string native = NativePath(path);
    bool written = false;
    if (IsExtension(ext, "jpg")) {
        std::vector<BYTE> rows;
        written = pixels != nullptr && PictureRows24(m_EditView, width, height, rows) &&
                  WriteJpeg(native.c_str(), rows.data(), width, height);
    } else if (IsExtension(ext, "bmp")) {
        written = m_EditView.SaveBitmap(native.c_str()) == 0;
    }
    if (!written)
        ::MessageBox(m_hWnd, CString(kCannotSave[m_nLanguage == 1]) + native.c_str(), AfxGetApp()->m_pszAppName,
                     MB_OK | MB_ICONWARNING);
    return written ? 1 : 0;
}
