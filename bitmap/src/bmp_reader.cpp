// BMP file reader: checks every size against the file before it allocates, normalises the header.
#include "bmp_file.h"

#include <algorithm>
#include <new>

namespace rastel {
namespace {

constexpr uint64_t kFileHeaderSize = kBitmapFileHeaderSize;
constexpr uint64_t kInfoHeaderSize = sizeof(BITMAPINFOHEADER);

uint16_t le16(const BYTE* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t le32(const BYTE* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

BITMAPINFOHEADER parseInfoHeader(const BYTE* p) {
    BITMAPINFOHEADER header;
    header.biSize = le32(p);
    header.biWidth = static_cast<LONG>(le32(p + 4));
    header.biHeight = static_cast<LONG>(le32(p + 8));
    header.biPlanes = le16(p + 12);
    header.biBitCount = le16(p + 14);
    header.biCompression = le32(p + 16);
    header.biSizeImage = le32(p + 20);
    header.biXPelsPerMeter = static_cast<LONG>(le32(p + 24));
    header.biYPelsPerMeter = static_cast<LONG>(le32(p + 28));
    header.biClrUsed = le32(p + 32);
    header.biClrImportant = le32(p + 36);
    return header;
}

bool readAt(std::FILE* file, uint64_t offset, void* target, size_t bytes) {
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0 &&
           std::fread(target, 1, bytes, file) == bytes;
}

bool fileLength(std::FILE* file, uint64_t& length) {
    if (fseeko(file, 0, SEEK_END) != 0)
        return false;
    const off_t end = ftello(file);
    length = static_cast<uint64_t>(end);
    return end >= 0;
}

// Colour entries a header may declare: at most one per index value, and 256 for 24-bit pictures.
DWORD maxColorEntries(int bits) {
    return bits <= 8 ? DWORD{1} << bits : 256;
}

bool supportedDepth(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 24;
}

void turnRowsOver(BYTE* pixels, size_t stride, size_t rows) {
    for (size_t top = 0, bottom = rows; top + 1 < bottom; ++top, --bottom) {
        BYTE* upper = pixels + top * stride;
        std::swap_ranges(upper, upper + stride, pixels + (bottom - 1) * stride);
    }
}

} // namespace

bool readBmpFile(std::FILE* file, BmpImage& image) {
    BYTE fileHeader[kFileHeaderSize];
    if (std::fread(fileHeader, 1, sizeof fileHeader, file) != sizeof fileHeader ||
        le16(fileHeader) != ORV_BMP_FILE_TYPE)
        return false;
    const uint64_t offBits = le32(fileHeader + 10);
    BYTE rawHeader[kInfoHeaderSize];
    if (offBits < kFileHeaderSize + kInfoHeaderSize ||
        !readAt(file, kFileHeaderSize, rawHeader, sizeof rawHeader))
        return false;
    BITMAPINFOHEADER header = parseInfoHeader(rawHeader);
    const int bits = header.biBitCount;
    if (header.biSize < kInfoHeaderSize || header.biCompression != BI_RGB || !supportedDepth(bits) ||
        header.biWidth <= 0 || header.biHeight == 0)
        return false;
    const DWORD entries = header.biClrUsed != 0 ? header.biClrUsed : standardColorEntries(bits);
    const uint64_t tableOffset = kFileHeaderSize + header.biSize;
    if (entries > maxColorEntries(bits) || tableOffset + uint64_t{4} * entries > offBits)
        return false;
    const uint64_t rows = header.biHeight < 0 ? -static_cast<int64_t>(header.biHeight) : header.biHeight;
    const uint64_t imageSize = pixelBytes(static_cast<uint64_t>(header.biWidth), bits, rows);
    uint64_t length = 0;
    if (imageSize > kMaxPixelBytes || !fileLength(file, length) || offBits + imageSize > length)
        return false;

    HeaderBlock info = newHeaderBlock(entries);
    std::unique_ptr<BYTE[]> pixels(new (std::nothrow) BYTE[imageSize]);
    if (!info || !pixels)
        return false;
    if (!readAt(file, tableOffset, colorTableOf(info.get()), size_t{4} * entries) ||
        !readAt(file, offBits, pixels.get(), imageSize))
        return false;
    if (header.biHeight < 0)
        turnRowsOver(pixels.get(), imageSize / rows, rows);
    header.biSize = kInfoHeaderSize;
    header.biHeight = static_cast<LONG>(rows);
    info->bmiHeader = header;
    image.info = std::move(info);
    image.pixels = std::move(pixels);
    return true;
}

} // namespace rastel
