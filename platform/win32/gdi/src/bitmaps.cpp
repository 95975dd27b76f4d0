// CreateCompatibleBitmap, CreateBitmap, CreateDIBSection, CreateDIBitmap and GetDIBits.
#include <algorithm>
#include <cstring>

#include "bitmap_store.h"
#include "dib_format.h"
#include "handle_table.h"
#include "transfer.h"

#include <win32/gdi_bitmap.h>

using namespace platform::gdi;

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
    int depth = 0;
    if (!compatibleDepth(dc, &depth))
        return nullptr;
    auto bitmap = newBitmap(width, height, depth, false);
    return bitmap ? enterBitmap(std::move(bitmap)) : nullptr;
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (planes != 1 || (bitsPerPixel != 1 && bitsPerPixel != 32)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto bitmap = newBitmap(width, height, static_cast<int>(bitsPerPixel), false);
    if (!bitmap)
        return nullptr;
    if (bits) {
        // The caller's rows are padded to two bytes.
        const size_t rowBytes = (static_cast<size_t>(width) * bitsPerPixel + 15) / 16 * 2;
        const size_t copyBytes = (static_cast<size_t>(width) * bitsPerPixel + 7) / 8;
        for (int y = 0; y < height; ++y)
            std::memcpy(bitmap->pixels.data() + static_cast<size_t>(y) * bitmap->stride,
                        static_cast<const BYTE*>(bits) + y * rowBytes, copyBytes);
    }
    return enterBitmap(std::move(bitmap));
}

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset) {
    if (bits)
        *bits = nullptr;
    if (!info || section || offset != 0 || !dibSupported(info->bmiHeader, usage)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (dc && !findDc(dc))
        return nullptr;
    const BITMAPINFOHEADER& header = info->bmiHeader;
    auto bitmap = newBitmap(header.biWidth, std::abs(header.biHeight), header.biBitCount, header.biHeight > 0);
    if (!bitmap)
        return nullptr;
    bitmap->dibSection = true;
    const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(info) + header.biSize);
    bitmap->colors.assign(table, table + colorTableSize(header));
    if (bits)
        *bits = bitmap->pixels.data();
    return enterBitmap(std::move(bitmap));
}

HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage) {
    if (!header) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    PixelView source;
    if ((init & CBM_INIT) && !dibView(info, usage, bits, &source))
        return nullptr;
    int depth = 0;
    if (!compatibleDepth(dc, &depth))
        return nullptr;
    auto bitmap = (init & CBM_INIT) ? deviceBitmapFromDib(source, depth)
                                    : newBitmap(header->biWidth, std::abs(header->biHeight), depth, false);
    return bitmap ? enterBitmap(std::move(bitmap)) : nullptr;
}

int GetDIBits(HDC dc, HBITMAP handle, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info, UINT usage) {
    if (!findDc(dc))
        return 0;
    auto bitmap = findAs<Bitmap>(handle, ObjectKind::Bitmap);
    if (!bitmap)
        return 0;
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    BITMAPINFOHEADER& header = info->bmiHeader;
    if (!bits && header.biBitCount == 0) {
        header.biWidth = bitmap->width;
        header.biHeight = bitmap->height;
        header.biPlanes = 1;
        header.biBitCount = static_cast<WORD>(bitmap->bitsPerPixel);
        header.biCompression = BI_RGB;
        header.biSizeImage = static_cast<DWORD>(bitmap->stride) * static_cast<DWORD>(bitmap->height);
        return TRUE;
    }
    // Rows go out at 24 or 32 bits, the size of the bitmap.
    if (!bits || (header.biBitCount != 24 && header.biBitCount != 32) || header.biWidth != bitmap->width ||
        std::abs(header.biHeight) != bitmap->height || !dibSupported(header, usage)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (start >= static_cast<UINT>(bitmap->height))
        return 0;
    lines = std::min<UINT>(lines, static_cast<UINT>(bitmap->height) - start);
    // `bits` receives just the rows start .. start + lines - 1, numbered in the output's row order.
    PixelView out;
    if (!dibView(info, usage, bits, &out))
        return 0;
    out.height = static_cast<int>(lines);
    const int first = out.bottomUp ? bitmap->height - static_cast<int>(start + lines) : static_cast<int>(start);
    transferPixels(out, RECT{0, 0, out.width, out.height}, 0, Area{0, 0, out.width, out.height}, viewOf(*bitmap),
                   Area{0, first, bitmap->width, static_cast<int>(lines)}, SRCCOPY, TransferColors{});
    return static_cast<int>(lines);
}
