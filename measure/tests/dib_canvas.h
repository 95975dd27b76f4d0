// A memory DC on a white 24-bit bottom-up DIB section, with pixel reads for drawing tests.
#pragma once

#include <win32/gdi.h>

#include <cstring>

class DibCanvas {
public:
    DibCanvas(int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<BYTE*>(bits);
        if (bits_)
            std::memset(bits_, 0xFF, static_cast<size_t>(DibStride(width, 24)) * height);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~DibCanvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    HDC dc() const { return dc_; }
    bool ready() const { return bits_ && old_; }

    // The colour at (x, y) in top-down DC coordinates.
    COLORREF pixel(int x, int y) const {
        const BYTE* p = bits_ + static_cast<size_t>(height_ - 1 - y) * DibStride(width_, 24) + 3 * x;
        return RGB(p[2], p[1], p[0]);
    }
    // Pixels of `colour` in the whole canvas.
    int count(COLORREF colour) const {
        int n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                n += pixel(x, y) == colour;
        return n;
    }
    // Whether `colour` lies within one pixel of (x, y).
    bool near(int x, int y, COLORREF colour) const {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (x + dx >= 0 && x + dx < width_ && y + dy >= 0 && y + dy < height_ &&
                    pixel(x + dx, y + dy) == colour)
                    return true;
        return false;
    }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    BYTE* bits_ = nullptr;
};
