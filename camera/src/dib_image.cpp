// DibImage loading: the BMP file's headers checked against the file's length before the rows are read.
#include "dib_image.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include <win32/native_path.h>

namespace korvib {
namespace {

constexpr std::size_t kInfoHeaderSize = 40;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

WORD ReadWord(const BYTE* bytes) {
    return static_cast<WORD>(bytes[0] | bytes[1] << 8);
}

DWORD ReadDword(const BYTE* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<DWORD>(bytes[3]) << 24;
}

[[nodiscard]] bool ReadExactly(std::FILE* file, void* target, std::size_t bytes) {
    return std::fread(target, 1, bytes, file) == bytes;
}

bool KnownBitCount(WORD bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Length of an open file in bytes; -1 when it cannot be told.
long FileLength(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) {
        return -1;
    }
    const long length = std::ftell(file);
    return std::fseek(file, 0, SEEK_SET) == 0 ? length : -1;
}

} // namespace

bool DibImage::LoadBmp(const char* path) {
    Reset();
    if (path == nullptr) {
        return false;
    }
    const File file(std::fopen(platform::toNativePath(path).c_str(), "rb"));
    return file != nullptr && ReadBmp(file.get());
}

bool DibImage::ReadBmp(std::FILE* file) {
    Reset();
    const long length = FileLength(file);
    BYTE fileHeader[kBitmapFileHeaderSize];
    BYTE info[kInfoHeaderSize];
    if (length < 0 || !ReadExactly(file, fileHeader, sizeof(fileHeader)) ||
        ReadWord(fileHeader) != ORV_BMP_FILE_TYPE || !ReadExactly(file, info, sizeof(info))) {
        return false;
    }
    // The rows start at bfOffBits, after the info header and any palette.
    const DWORD offBits = ReadDword(fileHeader + 10);
    const LONG width = static_cast<LONG>(ReadDword(info + 4));
    const LONG height = static_cast<LONG>(ReadDword(info + 8));
    const WORD bitCount = ReadWord(info + 14);
    const DWORD compression = ReadDword(info + 16);
    if (offBits < kBitmapFileHeaderSize + kInfoHeaderSize || !KnownBitCount(bitCount) ||
        compression != BI_RGB || width <= 0) {
        return false;
    }
    // The rows the header describes must lie in the file; biSizeImage is not trusted for that.
    const std::size_t stride = (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
    const std::size_t rows = static_cast<std::size_t>(std::llabs(height));
    const std::size_t available = static_cast<std::size_t>(length) > offBits ? length - offBits : 0;
    if (rows > available / stride || std::fseek(file, static_cast<long>(offBits), SEEK_SET) != 0) {
        return false;
    }
    try {
        pixels_.resize(stride * rows);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!ReadExactly(file, pixels_.data(), pixels_.size())) {
        Reset();
        return false;
    }
    width_ = width;
    height_ = height;
    bitCount_ = bitCount;
    stride_ = stride;
    loaded_ = true;
    return true;
}

void DibImage::Reset() {
    std::vector<BYTE>().swap(pixels_);
    defects_.clear();
    width_ = 0;
    height_ = 0;
    bitCount_ = 0;
    stride_ = 0;
    loaded_ = false;
}

bool DibImage::MatchesFormat(const BITMAPINFOHEADER& format) const {
    return loaded_ && bitCount_ == 24 && format.biBitCount == bitCount_ && format.biWidth == width_ &&
           format.biHeight == height_;
}

} // namespace korvib
