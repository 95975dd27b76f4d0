// WriteGrayBmp: an 8-bit grey BMP of packed rows, built in memory and written with one call.
#include "auto_focus_bmp.h"

#include <bit>
#include <cstring>
#include <new>
#include <vector>

#include <win32/dib.h>
#include <win32/files.h>
#include <win32/sync.h>

namespace korvib {
namespace {

constexpr DWORD kPaletteBytes = 256 * 4;
constexpr DWORD kPixelOffset = kBitmapFileHeaderSize + sizeof(BITMAPINFOHEADER) + kPaletteBytes;

static_assert(std::endian::native == std::endian::little, "the info header is copied as it lies in memory");

// `bytes` little-endian bytes of `value` at `at`.
void PutLittleEndian(BYTE* at, DWORD value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        at[i] = static_cast<BYTE>(value >> (8 * i));
    }
}

} // namespace

int WriteGrayBmp(const char* path, const BYTE* pixels, int width, int height) {
    const auto rowSize = static_cast<DWORD>(DibStride(width, 8));
    const DWORD fileSize = kPixelOffset + rowSize * static_cast<DWORD>(height);
    std::vector<BYTE> file;
    try {
        file.assign(fileSize, 0);
    } catch (const std::bad_alloc&) {
        return 1;
    }
    BYTE* out = file.data();
    PutLittleEndian(out, ORV_BMP_FILE_TYPE, 2);
    PutLittleEndian(out + 2, fileSize, 4);
    PutLittleEndian(out + 10, kPixelOffset, 4);

    BITMAPINFOHEADER info{};
    info.biSize = sizeof(BITMAPINFOHEADER);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 8;
    std::memcpy(out + kBitmapFileHeaderSize, &info, sizeof info);

    BYTE* palette = out + kBitmapFileHeaderSize + sizeof info;
    for (DWORD i = 0; i < 256; ++i) {
        std::memset(palette + 4 * i, static_cast<int>(i), 4);
    }
    for (int y = 0; y < height; ++y) {
        std::memcpy(out + kPixelOffset + static_cast<std::size_t>(y) * rowSize,
                    pixels + static_cast<std::size_t>(y) * width, static_cast<std::size_t>(width));
    }

    const HANDLE handle = CreateFile(path, GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return 1;
    }
    DWORD written = 0;
    const BOOL ok = WriteFile(handle, out, fileSize, &written, nullptr);
    CloseHandle(handle);
    return ok && written == fileSize ? 0 : 1;
}

} // namespace korvib
