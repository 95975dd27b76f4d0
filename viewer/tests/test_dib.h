// TestDib: a 24-bit DIB section selected into a memory DC, for drawing into and reading pixels back.
#pragma once

#include "framework.h"

class TestDib {
public:
    TestDib(int width, int height) : width_(width), height_(height) {
        HDC screen = ::GetDC(nullptr);
        dc_ = ::CreateCompatibleDC(screen);
        ::ReleaseDC(nullptr, screen);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        old_ = ::SelectObject(dc_, bitmap_);
    }
    ~TestDib() {
        ::SelectObject(dc_, old_);
        ::DeleteObject(bitmap_);
        ::DeleteDC(dc_);
    }
    TestDib(const TestDib&) = delete;
    TestDib& operator=(const TestDib&) = delete;

    HDC dc() const { return dc_; }
    // The pixel at (x, y), y counted from the top.
    COLORREF Pixel(int x, int y) const {
        const BYTE* p = static_cast<const BYTE*>(bits_) + DibStride(width_, 24) * (height_ - 1 - y) + 3 * x;
        return RGB(p[2], p[1], p[0]);
    }

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    void* bits_ = nullptr;
};
