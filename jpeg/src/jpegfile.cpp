// CJpegFile: argument checks, the grey conversion and the in-place byte-order and flip helpers.
#include <jpeg/jpegfile.h>

#include "jpeg_codec.h"
#include "jpeg_messages.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

namespace {

// Largest picture JpegFileToRGB hands out.
constexpr unsigned long kMaxDecodedBytes = 1ul << 28;

// Grey value of one R, G, B pixel, summed in this order and truncated.
unsigned char greyOf(const unsigned char* pixel) {
    return static_cast<unsigned char>((0.587 * pixel[1] + 0.299 * pixel[0]) + 0.114 * pixel[2]);
}

} // namespace

CJpegFile::CJpegFile() = default;

CJpegFile::~CJpegFile() = default;

int CJpegFile::RGBToJpegFile(const char* fileName, unsigned char* dataBuf, unsigned int widthPix,
                             unsigned int height, int color, int quality) {
    if (!dataBuf || widthPix == 0 || height == 0)
        return 0;
    std::unique_ptr<unsigned char[]> grey;
    if (!color) {
        const size_t count = static_cast<size_t>(widthPix) * height;
        grey.reset(new (std::nothrow) unsigned char[count]);
        if (!grey) {
            jpegfile::showMemoryError();
            return 0;
        }
        for (size_t i = 0; i < count; ++i)
            grey[i] = greyOf(dataBuf + 3 * i);
    }
    const unsigned char* pixels = color ? dataBuf : grey.get();
    switch (jpegfile::writeJpeg(fileName, pixels, widthPix, height, color ? 3 : 1, quality)) {
    case jpegfile::WriteResult::Written:
        return 1;
    case jpegfile::WriteResult::OpenFailed:
        jpegfile::showOpenFailure(fileName ? fileName : "");
        return 0;
    case jpegfile::WriteResult::CodecFailed:
        break;
    }
    return 0;
}

unsigned char* CJpegFile::JpegFileToRGB(const char* fileName, unsigned long* width, unsigned long* height) {
    if (!width || !height)
        return nullptr;
    *width = 0;
    *height = 0;
    std::FILE* file = fileName ? std::fopen(fileName, "rb") : nullptr;
    if (!file)
        return nullptr;
    unsigned char* pixels = jpegfile::readJpeg(file, kMaxDecodedBytes, width, height);
    std::fclose(file);
    return pixels;
}

int CJpegFile::BGRFromRGB(unsigned char* buf, unsigned long widthPix, unsigned long height) {
    if (!buf)
        return 0;
    const size_t count = static_cast<size_t>(widthPix) * height;
    for (size_t i = 0; i < count; ++i)
        std::swap(buf[3 * i], buf[3 * i + 2]);
    return 1;
}

int CJpegFile::VertFlipBuf(unsigned char* inbuf, unsigned long widthBytes, unsigned long height) {
    if (!inbuf)
        return 0;
    std::unique_ptr<unsigned char[]> row(new (std::nothrow) unsigned char[widthBytes]);
    if (!row)
        return 0;
    for (unsigned long top = 0, bottom = height; top + 1 < bottom; ++top, --bottom) {
        unsigned char* upper = inbuf + top * widthBytes;
        unsigned char* lower = inbuf + (bottom - 1) * widthBytes;
        std::memcpy(row.get(), upper, widthBytes);
        std::memcpy(upper, lower, widthBytes);
        std::memcpy(lower, row.get(), widthBytes);
    }
    return 1;
}
