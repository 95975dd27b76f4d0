// Header blocks: one allocation holding a 40-byte info header and its colour table.
#include "bmp_file.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace rastel {

DWORD standardColorEntries(int bits) {
    switch (bits) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

void HeaderBlockDeleter::operator()(BITMAPINFO* info) const {
    delete[] reinterpret_cast<BYTE*>(info);
}

HeaderBlock newHeaderBlock(DWORD entries) {
    const size_t bytes = std::max(sizeof(BITMAPINFOHEADER) + size_t{4} * entries, sizeof(BITMAPINFO));
    BYTE* block = new (std::nothrow) BYTE[bytes]();
    return HeaderBlock(reinterpret_cast<BITMAPINFO*>(block));
}

HeaderBlock copyHeaderBlock(const BITMAPINFO* info, DWORD entries) {
    HeaderBlock copy = newHeaderBlock(entries);
    if (copy)
        std::memcpy(copy.get(), info, sizeof(BITMAPINFOHEADER) + size_t{4} * entries);
    return copy;
}

HeaderBlock standardHeaderBlock(LONG width, LONG height, int bits) {
    const DWORD entries = standardColorEntries(bits);
    HeaderBlock info = newHeaderBlock(entries);
    if (!info)
        return info;
    BITMAPINFOHEADER& header = info->bmiHeader;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bits);
    header.biCompression = BI_RGB;
    RGBQUAD* table = colorTableOf(info.get());
    if (entries == 2) {
        table[1] = RGBQUAD{255, 255, 255, 0};
    } else if (entries == 16) {
        for (DWORD i = 0; i < entries; ++i) {
            const BYTE level = static_cast<BYTE>(i * 17);
            table[i] = RGBQUAD{level, level, level, 0};
        }
    } else if (entries == 256) {
        for (DWORD i = 0; i < entries; ++i) {
            const BYTE level = static_cast<BYTE>(i);
            table[i] = RGBQUAD{level, level, level, level};
        }
    }
    return info;
}

RGBQUAD* colorTableOf(BITMAPINFO* info) {
    return reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(info) + sizeof(BITMAPINFOHEADER));
}

} // namespace rastel
