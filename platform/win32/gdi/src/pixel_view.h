// A stride-aware view of DIB-layout pixels and the conversion between colours and pixel values.
#pragma once

#include <cstdint>

#include <win32/dib.h>
#include <win32/types.h>

namespace platform::gdi {

struct Bitmap;

// Pixel values are what a pixel stores: a colour table index for 1 to 8 bits, 0x00RRGGBB for 24 and 32
// bits (blue in the lowest byte, as in memory).
struct PixelView {
    BYTE* bits = nullptr;
    int width = 0;
    int height = 0;
    LONG stride = 0;
    int bitsPerPixel = 32;
    bool bottomUp = false;
    const RGBQUAD* colors = nullptr;
    int colorCount = 0;
    // A 1-bit device-dependent bitmap: transfers map its pixels by the DCs' text and background colours.
    bool monoDevice = false;

    // Row `y` counted from the top of the picture.
    BYTE* row(int y) const { return bits + static_cast<std::ptrdiff_t>(bottomUp ? height - 1 - y : y) * stride; }
    uint32_t valueMask() const { return bitsPerPixel >= 24 ? 0xFFFFFFu : (1u << bitsPerPixel) - 1u; }
};

PixelView viewOf(Bitmap& bitmap);

// The value that stands for `color`: the colour itself, or the nearest colour table entry.
uint32_t pixelValue(const PixelView& view, COLORREF color);
// The colour a value stands for; an index beyond the table is black.
COLORREF colorOfValue(const PixelView& view, uint32_t value);

inline uint32_t readPixel(const BYTE* row, int x, int bitsPerPixel) {
    switch (bitsPerPixel) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xFu;
    case 8: return row[x];
    case 24: return row[3 * x] | (row[3 * x + 1] << 8) | (static_cast<uint32_t>(row[3 * x + 2]) << 16);
    default: return (reinterpret_cast<const uint32_t*>(row)[x]) & 0xFFFFFFu;
    }
}

inline void writePixel(BYTE* row, int x, int bitsPerPixel, uint32_t value) {
    switch (bitsPerPixel) {
    case 1: {
        const BYTE bit = static_cast<BYTE>(0x80u >> (x & 7));
        row[x >> 3] = static_cast<BYTE>(value ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
        break;
    }
    case 4: {
        const int shift = (x & 1) ? 0 : 4;
        row[x >> 1] = static_cast<BYTE>((row[x >> 1] & ~(0xF << shift)) | ((value & 0xFu) << shift));
        break;
    }
    case 8: row[x] = static_cast<BYTE>(value); break;
    case 24:
        row[3 * x] = static_cast<BYTE>(value);
        row[3 * x + 1] = static_cast<BYTE>(value >> 8);
        row[3 * x + 2] = static_cast<BYTE>(value >> 16);
        break;
    default: reinterpret_cast<uint32_t*>(row)[x] = value; break;
    }
}

// COLORREF (0x00BBGGRR) and 0x00RRGGBB pixel values.
inline uint32_t rgbValue(COLORREF c) { return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu); }
inline COLORREF colorOfRgb(uint32_t v) { return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF); }

} // namespace platform::gdi
