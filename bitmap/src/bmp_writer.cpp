// BMP file writer: the 14-byte file header field by field, then the header block and the pixel rows.
#include "bmp_file.h"

#include <bit>

namespace rastel {
namespace {

// The header block is written as it lies in memory, which is the file's byte order only here.
static_assert(std::endian::native == std::endian::little);

void put16(BYTE* p, uint16_t value) {
    p[0] = static_cast<BYTE>(value);
    p[1] = static_cast<BYTE>(value >> 8);
}

void put32(BYTE* p, uint32_t value) {
    put16(p, static_cast<uint16_t>(value));
    put16(p + 2, static_cast<uint16_t>(value >> 16));
}

bool writeAll(std::FILE* file, const void* bytes, size_t count) {
    return std::fwrite(bytes, 1, count, file) == count;
}

} // namespace

bool writeBmpFile(std::FILE* file, const BITMAPINFO* info, DWORD entries, const BYTE* pixels,
                  DWORD imageSize) {
    const DWORD blockSize = sizeof(BITMAPINFOHEADER) + 4 * entries;
    const DWORD offBits = kBitmapFileHeaderSize + blockSize;
    BYTE fileHeader[kBitmapFileHeaderSize];
    put16(fileHeader, ORV_BMP_FILE_TYPE);
    put32(fileHeader + 2, offBits + imageSize);
    put16(fileHeader + 6, 0);
    put16(fileHeader + 8, 0);
    put32(fileHeader + 10, offBits);
    return writeAll(file, fileHeader, sizeof fileHeader) && writeAll(file, info, blockSize) &&
           writeAll(file, pixels, imageSize);
}

} // namespace rastel
