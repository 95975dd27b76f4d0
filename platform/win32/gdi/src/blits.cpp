// BitBlt, StretchBlt, StretchDIBits and SetDIBitsToDevice.
#include <cstdlib>

#include "canvas.h"
#include "dib_format.h"
#include "handle_table.h"
#include "rop.h"
#include "transfer.h"

#include <win32/gdi_bitmap.h>

using namespace platform::gdi;

namespace {

bool ropSupported(DWORD rop) {
    if (ropUsesPattern(rop)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

// Draws DIB area `from` (top-down coordinates of `source`) into area `to` of the DC.
bool drawDib(HDC hdc, const Area& to, const PixelView& source, const Area& from, DWORD rop) {
    auto dc = findDc(hdc);
    if (!dc || !ropSupported(rop))
        return false;
    Canvas canvas(*dc);
    canvas.touch(transferPixels(canvas.view(), canvas.clip(), canvas.opaque(), to, source, from,
                                rop, TransferColors{}));
    return true;
}

} // namespace

BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int srcWidth,
                int srcHeight, DWORD rop) {
    auto target = findDc(dst);
    auto source = findDc(src);
    if (!target || !source || !ropSupported(rop))
        return FALSE;
    Canvas canvas(*target, source.get());
    TransferColors colors;
    colors.fromDc = true;
    colors.sourceBk = source->bkColor;
    colors.destText = target->textColor;
    colors.destBk = target->bkColor;
    canvas.touch(transferPixels(canvas.view(), canvas.clip(), canvas.opaque(),
                                Area{x, y, width, height}, canvas.sourceView(),
                                Area{xSrc, ySrc, srcWidth, srcHeight}, rop, colors));
    return TRUE;
}

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop) {
    return StretchBlt(dst, x, y, width, height, src, xSrc, ySrc, width, height, rop);
}

int StretchDIBits(HDC dc, int x, int y, int width, int height, int xSrc, int ySrc, int srcWidth, int srcHeight,
                  const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    PixelView source;
    if (!dibView(info, usage, bits, &source))
        return 0;
    // A bottom-up DIB counts the source y from its lowest row, upwards.
    const int top = source.bottomUp ? source.height - ySrc - srcHeight : ySrc;
    if (!drawDib(dc, Area{x, y, width, height}, source, Area{xSrc, top, srcWidth, srcHeight}, rop))
        return 0;
    return std::abs(srcHeight);
}

int SetDIBitsToDevice(HDC dc, int x, int y, DWORD width, DWORD height, int xSrc, int ySrc, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT usage) {
    PixelView source;
    if (!dibView(info, usage, bits, &source))
        return 0;
    // `bits` holds rows startScan .. startScan + lines - 1 of the whole DIB.
    if (lines == 0 || uint64_t{startScan} + lines > static_cast<uint64_t>(source.height) || width > 32768u ||
        height > 32768u) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const int w = static_cast<int>(width), h = static_cast<int>(height);
    const int band = static_cast<int>(lines), first = static_cast<int>(startScan);
    source.height = band;
    const int top = source.bottomUp ? band - (ySrc - first) - h : ySrc - first;
    if (!drawDib(dc, Area{x, y, w, h}, source, Area{xSrc, top, w, h}, SRCCOPY))
        return 0;
    return band;
}
