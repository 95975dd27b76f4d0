// BMP file parsing with every offset and size checked against the file.
#include "bmp_reader.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "dib_format.h"

namespace platform::gdi {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kMaxFileSize = size_t{1} << 30;

uint32_t le32(const BYTE* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint16_t le16(const BYTE* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

} // namespace

PixelView LoadedDib::view() {
    PixelView v;
    // parseBmp accepted this description, so the view is always made.
    [[maybe_unused]] const bool made = dibView(reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS,
                                               bits.data(), &v);
    return v;
}

bool parseBmp(const BYTE* data, size_t size, LoadedDib* dib) {
    if (size < kFileHeaderSize + sizeof(BITMAPINFOHEADER) || le16(data) != ORV_BMP_FILE_TYPE)
        return false;
    const size_t pixelOffset = le32(data + 10);
    const BYTE* h = data + kFileHeaderSize;
    BITMAPINFOHEADER header{};
    header.biSize = le32(h);
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > 124 || kFileHeaderSize + header.biSize > size)
        return false;
    header.biWidth = static_cast<LONG>(le32(h + 4));
    header.biHeight = static_cast<LONG>(le32(h + 8));
    header.biPlanes = le16(h + 12);
    header.biBitCount = le16(h + 14);
    header.biCompression = le32(h + 16);
    header.biClrUsed = le32(h + 32);
    if (header.biBitCount <= 8 && header.biClrUsed > (1u << header.biBitCount))
        return false;
    if (!dibSupported(header, DIB_RGB_COLORS))
        return false;
    const size_t tableOffset = kFileHeaderSize + header.biSize;
    const size_t tableBytes = static_cast<size_t>(colorTableSize(header)) * sizeof(RGBQUAD);
    const size_t stride = static_cast<size_t>(DibStride(header.biWidth, header.biBitCount));
    const size_t rows = static_cast<size_t>(header.biHeight < 0 ? -static_cast<int64_t>(header.biHeight) : header.biHeight);
    if (tableOffset + tableBytes > size || pixelOffset < tableOffset + tableBytes || pixelOffset > size ||
        stride * rows > size - pixelOffset)
        return false;
    header.biSize = sizeof(BITMAPINFOHEADER);
    dib->info.assign(sizeof header + tableBytes, 0);
    std::memcpy(dib->info.data(), &header, sizeof header);
    std::memcpy(dib->info.data() + sizeof header, data + tableOffset, tableBytes);
    dib->bits.assign(data + pixelOffset, data + pixelOffset + stride * rows);
    return true;
}

bool readBmpFile(const std::string& path, LoadedDib* dib) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    std::vector<BYTE> data;
    if (std::fseek(file.get(), 0, SEEK_END) == 0) {
        const long length = std::ftell(file.get());
        if (length > 0 && static_cast<size_t>(length) <= kMaxFileSize && std::fseek(file.get(), 0, SEEK_SET) == 0) {
            data.resize(static_cast<size_t>(length));
            if (std::fread(data.data(), 1, data.size(), file.get()) != data.size())
                data.clear();
        }
    }
    if (data.empty() || !parseBmp(data.data(), data.size(), dib)) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    return true;
}

} // namespace platform::gdi
