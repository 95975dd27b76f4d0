// Snapshot files: the BMP file header and rows, written whole or not at all; the JPEG from packed rows.
#include "snapshot_files.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include <jpeg/jpegfile.h>

namespace korvib {
namespace {

void PutWord(BYTE* at, WORD value) {
    at[0] = static_cast<BYTE>(value);
    at[1] = static_cast<BYTE>(value >> 8);
}

void PutDword(BYTE* at, DWORD value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<BYTE>(value >> (8 * i));
    }
}

// The 54 bytes before the rows: file header, then the info header field by field, all little-endian.
void BuildHeaders(const BITMAPINFOHEADER& format, BYTE (&out)[kBitmapFileHeaderSize + 40]) {
    constexpr DWORD kOffBits = kBitmapFileHeaderSize + 40;
    PutWord(out, ORV_BMP_FILE_TYPE);
    PutDword(out + 2, format.biSizeImage + kOffBits);
    PutWord(out + 6, 0);
    PutWord(out + 8, 0);
    PutDword(out + 10, kOffBits);
    BYTE* info = out + kBitmapFileHeaderSize;
    PutDword(info, format.biSize);
    PutDword(info + 4, static_cast<DWORD>(format.biWidth));
    PutDword(info + 8, static_cast<DWORD>(format.biHeight));
    PutWord(info + 12, format.biPlanes);
    PutWord(info + 14, format.biBitCount);
    PutDword(info + 16, format.biCompression);
    PutDword(info + 20, format.biSizeImage);
    PutDword(info + 24, static_cast<DWORD>(format.biXPelsPerMeter));
    PutDword(info + 28, static_cast<DWORD>(format.biYPelsPerMeter));
    PutDword(info + 32, format.biClrUsed);
    PutDword(info + 36, format.biClrImportant);
}

} // namespace

bool WriteBmpSnapshot(const char* path, const BITMAPINFOHEADER& format, const BYTE* pixels) {
    BYTE headers[kBitmapFileHeaderSize + 40];
    BuildHeaders(format, headers);
    const std::string partial = std::string(path) + ".part";
    std::FILE* file = std::fopen(partial.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool written = std::fwrite(headers, 1, sizeof headers, file) == sizeof headers &&
                   std::fwrite(pixels, 1, format.biSizeImage, file) == format.biSizeImage;
    // A full disk may only show when the buffered rest is flushed.
    written = std::fclose(file) == 0 && written;
    if (!written || std::rename(partial.c_str(), path) != 0) {
        std::remove(partial.c_str());
        return false;
    }
    return true;
}

bool WriteJpegSnapshot(const char* path, const BITMAPINFOHEADER& format, const BYTE* pixels, int quality) {
    const std::size_t width = static_cast<std::size_t>(format.biWidth);
    const std::size_t height = static_cast<std::size_t>(format.biHeight);
    if (width == 0 || height == 0) {
        return false;
    }
    const std::size_t stride = format.biSizeImage / height;
    const std::size_t rowBytes = width * 3;
    std::vector<BYTE> packed;
    try {
        packed.resize(rowBytes * height);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (std::size_t row = 0; row < height; ++row) {
        std::memcpy(packed.data() + row * rowBytes, pixels + row * stride, rowBytes);
    }
    CJpegFile jpeg;
    jpeg.BGRFromRGB(packed.data(), width, height);
    if (!jpeg.VertFlipBuf(packed.data(), rowBytes, height)) {
        return false;
    }
    return jpeg.RGBToJpegFile(path, packed.data(), static_cast<unsigned>(width), static_cast<unsigned>(height), 1,
                              quality) == 1;
}

} // namespace korvib
