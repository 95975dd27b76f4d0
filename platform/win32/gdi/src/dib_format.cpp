// DIB description checks and views of DIB pixels.
#include "dib_format.h"

#include <cstdlib>

namespace platform::gdi {

int colorTableSize(const BITMAPINFOHEADER& header) {
    if (header.biBitCount > 8)
        return 0;
    const int full = 1 << header.biBitCount;
    return header.biClrUsed > 0 && header.biClrUsed < static_cast<DWORD>(full) ? static_cast<int>(header.biClrUsed)
                                                                              : full;
}

bool dibSupported(const BITMAPINFOHEADER& header, UINT usage) {
    constexpr LONG kMaxSide = 32768;
    const WORD bits = header.biBitCount;
    const bool ok = header.biSize >= sizeof(BITMAPINFOHEADER) && header.biPlanes == 1 &&
                    (bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32) &&
                    header.biCompression == BI_RGB && usage == DIB_RGB_COLORS && header.biWidth >= 1 &&
                    header.biWidth <= kMaxSide && header.biHeight != 0 && header.biHeight >= -kMaxSide &&
                    header.biHeight <= kMaxSide;
    if (!ok)
        SetLastError(ERROR_INVALID_PARAMETER);
    return ok;
}

bool dibView(const BITMAPINFO* info, UINT usage, const void* bits, PixelView* view) {
    if (!info || !bits) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const BITMAPINFOHEADER& header = info->bmiHeader;
    if (!dibSupported(header, usage))
        return false;
    view->bits = static_cast<BYTE*>(const_cast<void*>(bits));
    view->width = header.biWidth;
    view->height = std::abs(header.biHeight);
    view->stride = DibStride(header.biWidth, header.biBitCount);
    view->bitsPerPixel = header.biBitCount;
    view->bottomUp = header.biHeight > 0;
    view->colors = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(info) + header.biSize);
    view->colorCount = colorTableSize(header);
    return true;
}

} // namespace platform::gdi
