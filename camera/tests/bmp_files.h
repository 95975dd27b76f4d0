// Test helper: small DIB pictures and the BMP file bytes that hold them, for mask and dark-frame files.
#pragma once

#include <cstddef>
#include <fstream>
#include <string>
#include <vector>

#include <win32/dib.h>

namespace testbmp {

// A 24-bit picture: bottom-up rows of `stride` bytes, padding zero.
struct Picture {
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
    std::vector<BYTE> rows;

    Picture(int w, int h, BYTE blue, BYTE green, BYTE red)
        : width(w), height(h), stride(static_cast<std::size_t>(DibStride(w, 24))), rows(stride * h, 0) {
        for (int row = 0; row < h; ++row) {
            for (int column = 0; column < w; ++column) {
                Set(column, row, blue, green, red);
            }
        }
    }
    // Byte offset of the pixel in `column` of stored row `row` (row 0 is the bottom one).
    std::size_t At(int column, int row) const { return row * stride + 3 * static_cast<std::size_t>(column); }
    void Set(int column, int row, BYTE blue, BYTE green, BYTE red) {
        BYTE* pixel = rows.data() + At(column, row);
        pixel[0] = blue;
        pixel[1] = green;
        pixel[2] = red;
    }
};

inline void PutWord(std::vector<BYTE>& bytes, std::size_t at, unsigned value) {
    bytes[at] = static_cast<BYTE>(value);
    bytes[at + 1] = static_cast<BYTE>(value >> 8);
}

inline void PutDword(std::vector<BYTE>& bytes, std::size_t at, DWORD value) {
    PutWord(bytes, at, value & 0xFFFF);
    PutWord(bytes, at + 2, value >> 16);
}

// A BMP file of `rows` at `bits` per pixel (a grey palette follows the header below 16 bits). Field
// offsets: 2 bfSize, 10 bfOffBits, 18 biWidth, 22 biHeight, 28 biBitCount, 30 biCompression, 34 biSizeImage.
inline std::vector<BYTE> BmpBytes(int width, int height, WORD bits, const std::vector<BYTE>& rows) {
    const DWORD palette = bits < 16 ? (1u << bits) * 4 : 0;
    const DWORD offBits = 54 + palette;
    std::vector<BYTE> bytes(offBits, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutDword(bytes, 2, static_cast<DWORD>(offBits + rows.size()));
    PutDword(bytes, 10, offBits);
    PutDword(bytes, 14, 40);
    PutDword(bytes, 18, static_cast<DWORD>(width));
    PutDword(bytes, 22, static_cast<DWORD>(height));
    PutWord(bytes, 26, 1);
    PutWord(bytes, 28, bits);
    PutDword(bytes, 34, static_cast<DWORD>(rows.size()));
    for (DWORD entry = 0; entry < palette / 4; ++entry) {
        const BYTE grey = static_cast<BYTE>(entry * 255 / (palette / 4 - 1));
        bytes[54 + entry * 4] = bytes[55 + entry * 4] = bytes[56 + entry * 4] = grey;
    }
    bytes.insert(bytes.end(), rows.begin(), rows.end());
    return bytes;
}

inline std::vector<BYTE> BmpBytes(const Picture& picture) {
    return BmpBytes(picture.width, picture.height, 24, picture.rows);
}

inline void SaveFile(const std::string& path, const std::vector<BYTE>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace testbmp
