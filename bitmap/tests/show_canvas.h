// Test helpers of the display tests: a memory DC that is read back, and pictures whose pixels name their
// place.
#pragma once

#include <bitmap/rastel.h>
#include <win32/gdi.h>

#include <cstdint>
#include <vector>

namespace showtest {

// A memory DC holding a top-down 32-bit DIB section, white at the start.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<DWORD*>(bits);
        old_ = SelectObject(dc_, bitmap_);
        for (int i = 0; i < width * height; ++i)
            bits_[i] = 0xFFFFFF;
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    // The pixel as 0xRRGGBB.
    uint32_t at(int x, int y) const { return bits_[y * width_ + x] & 0xFFFFFF; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    DWORD* bits_ = nullptr;
};

// The colour 0xRRGGBB that placePicture gives the pixel in column x, top-down row y.
inline uint32_t placeColor(int x, int y) {
    const uint32_t red = static_cast<uint32_t>(x) & 0xFF, green = static_cast<uint32_t>(y) & 0xFF;
    const uint32_t blue = ((static_cast<uint32_t>(x) >> 8) | (static_cast<uint32_t>(y) >> 8) << 4) & 0xFF;
    return red << 16 | green << 8 | blue;
}

// A bottom-up 24-bit DIB pixel buffer of width x height whose pixels have placeColor.
inline std::vector<BYTE> placePixels(int width, int height) {
    const int stride = DibStride(width, 24);
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * height);
    for (int y = 0; y < height; ++y) {
        BYTE* row = pixels.data() + static_cast<size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const uint32_t c = placeColor(x, y);
            row[3 * x] = static_cast<BYTE>(c);
            row[3 * x + 1] = static_cast<BYTE>(c >> 8);
            row[3 * x + 2] = static_cast<BYTE>(c >> 16);
        }
    }
    return pixels;
}

// Loads `picture` with a placePixels picture; returns the buffer loader's result.
inline int loadPlaces(CRastel& picture, int width, int height) {
    std::vector<BYTE> pixels = placePixels(width, height);
    return picture.ReadBitmap(pixels.data(), width, height, 24);
}

} // namespace showtest
