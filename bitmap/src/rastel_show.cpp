// CRastel display: ShowBitmap with its overlay pass, the GDI bitmaps made from the picture, ClearAllGraph.
#include <bitmap/rastel.h>

#include <win32/gdi.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

// Deletes the device-dependent bitmap and a DIB section left from an overlay pass. Caller's thread.
void CRastel::FreeDisplayHandles() {
    if (m_hDdb)
        DeleteObject(m_hDdb);
    m_hDdb = nullptr;
    if (m_hDibSection)
        DeleteObject(m_hDibSection);
    m_hDibSection = nullptr;
    m_pDibBits = nullptr;
}

// Runs the draw callback on a memory DC holding a DIB section filled from the display copy (from the
// working pixels while the display copy stands for them) and copies what it drew back into the display
// copy. Returns the pixels to show: the display copy, or the working
// pixels when no DIB section could be made. Caller's thread.
BYTE* CRastel::RunOverlayPass() {
    HDC memory = CreateCompatibleDC(nullptr);
    if (!memory)
        return m_pImage;
    if (!GetDIBHandle(memory)) {
        DeleteDC(memory);
        return m_pImage;
    }
    HGDIOBJ previous = SelectObject(memory, m_hDibSection);
    SetBkMode(memory, TRANSPARENT);
    std::memcpy(m_pDibBits, displayHoldsOverlays_ ? m_pDisplay : m_pImage, m_nImageSize);
    m_pfnDrawCallBack(m_pUserData, memory);
    std::memcpy(m_pDisplay, m_pDibBits, m_nImageSize);
    displayHoldsOverlays_ = true;
    SelectObject(memory, previous);
    DeleteObject(m_hDibSection);
    m_hDibSection = nullptr;
    m_pDibBits = nullptr;
    DeleteDC(memory);
    return m_pDisplay;
}

// Draws src->width / zoom by src->height / zoom picture pixels from (src->x, src->y) stretched onto the
// destination rectangle of `dc` (nearest pixels). src has its position in picture pixels with a top-down
// y and its size in zoomed pixels. It is clamped (sizes and positions compared as unsigned values, so
// negative ones clamp like huge ones): the size to the picture's size, then the position so that the
// region ends inside the picture. It is written back clamped, its y turned into the bottom-up row of the
// region's lower edge.
// With a draw callback the overlays it draws collect in the display copy, which is what is shown;
// without one the working pixels are shown. Returns 0 drawn, -1 when not loaded, for a null rectangle
// or when the DC refuses the drawing. Caller's thread (the thread that uses `dc`).
int CRastel::ShowBitmap(HDC dc, _tagSHOWRECT* dst, _tagSHOWRECT* src) {
    if (!m_bValid || !dst || !src)
        return -1;
    BYTE* pixels = m_pfnDrawCallBack ? RunOverlayPass() : m_pImage;
    SetStretchBltMode(dc, COLORONCOLOR);

    // 64-bit sums of the unsigned 32-bit values, so a huge position cannot wrap below the bound.
    const uint64_t width = static_cast<uint32_t>(m_nWidth);
    const uint64_t height = static_cast<uint32_t>(m_nHeight);
    const uint64_t zoom = static_cast<uint32_t>(m_nZoom);
    const uint64_t h = std::min<uint64_t>(static_cast<uint32_t>(src->height), height);
    const uint64_t w = std::min<uint64_t>(static_cast<uint32_t>(src->width), width);
    uint64_t y = static_cast<uint32_t>(src->y);
    uint64_t x = static_cast<uint32_t>(src->x);
    if (y + h / zoom > height)
        y = height - h / zoom;
    if (x + w / zoom > width)
        x = width - w / zoom;
    y = height - h / zoom - y;
    src->height = static_cast<LONG>(h);
    src->width = static_cast<LONG>(w);
    src->x = static_cast<LONG>(x);
    src->y = static_cast<LONG>(y);

    const int rows =
        StretchDIBits(dc, dst->x, dst->y, dst->width, dst->height, src->x, src->y, static_cast<int>(w / zoom),
                      static_cast<int>(h / zoom), pixels, m_pInfo, DIB_RGB_COLORS, SRCCOPY);
    return rows == 0 && h / zoom != 0 ? -1 : 0;
}

// A DIB section described by the header block (its pixels not filled), owned by the object until the
// next call, the end of an overlay pass or the next load; its bits in m_pDibBits. Null when not loaded
// or when the section cannot be made (a depth GDI does not take). Caller's thread.
HBITMAP CRastel::GetDIBHandle(HDC dc) {
    if (!m_pInfo)
        return nullptr;
    if (m_hDibSection)
        DeleteObject(m_hDibSection);
    void* bits = nullptr;
    m_hDibSection = CreateDIBSection(dc, m_pInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_pDibBits = static_cast<BYTE*>(bits);
    if (m_hDibSection && m_pDibBits)
        return m_hDibSection;
    if (m_hDibSection)
        DeleteObject(m_hDibSection);
    m_hDibSection = nullptr;
    m_pDibBits = nullptr;
    return nullptr;
}

// A bitmap compatible with `dc` holding the working pixels, owned by the object (deleted by the next call
// and by the next load). Null when not loaded or when GDI cannot make it. Caller's thread.
HBITMAP CRastel::GetDDBHandle(HDC dc) {
    if (!m_bValid)
        return nullptr;
    if (m_hDdb)
        DeleteObject(m_hDdb);
    m_hDdb = CreateDIBitmap(dc, &m_pInfo->bmiHeader, CBM_INIT, m_pImage, m_pInfo, DIB_RGB_COLORS);
    return m_hDdb;
}

// Erases the overlays: the display copy stands for the working pixels again. Returns 1, or 0 when not
// loaded. Caller's thread.
int CRastel::ClearAllGraph() {
    if (!m_bValid)
        return 0;
    displayHoldsOverlays_ = false;
    return 1;
}
