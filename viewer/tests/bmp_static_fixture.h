// Fixture of the image-view tests: a CBmpStatic on a notifying static in a parent that records what it is
// sent, mouse input as messages, and the view's client area painted and read back.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "bmp_static.h"
#include "test_dib.h"

namespace viewtest {

// The colour 0xBBGGRR (COLORREF) of picture column x, top-down row y in a placePicture.
inline COLORREF PlaceColor(int x, int y) { return RGB(x & 0xFF, y & 0xFF, (x >> 8 | (y >> 8) << 4) & 0x0F); }

// A bottom-up 24-bit DIB pixel buffer of width x height in PlaceColor.
inline std::vector<BYTE> PlacePixels(int width, int height)
{
    const int stride = DibStride(width, 24);
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = PlaceColor(x, y);
            BYTE* p = &pixels[static_cast<size_t>(height - 1 - y) * stride + 3 * x];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    return pixels;
}

// Never a PlaceColor: its blue is above 0x0F.
constexpr COLORREF kMarker = RGB(1, 2, 0xEE);

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASS wc{};
        wc.lpfnWndProc = ParentProc;
        wc.lpszClassName = "BmpStaticTestParent";
        ::RegisterClass(&wc);
        parentPaints = 0;
        parentPresses = 0;
        panned.clear();
        cropped = CropRecord{};
        croppedPixels.clear();
        parent_ = ::CreateWindowEx(0, "BmpStaticTestParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 600, 500, nullptr,
                                   nullptr, nullptr, nullptr);
        ASSERT_TRUE(parent_);
        HWND child = ::CreateWindowEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 10, 10, 240, 180, parent_,
                                      nullptr, nullptr, nullptr);
        ASSERT_TRUE(view.SubclassWindow(child));
    }
    void TearDown() override
    {
        if (::GetCapture())
            ::ReleaseCapture();
        ::DestroyWindow(parent_);
        MSG msg;
        while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    void Resize(int width, int height) { view.MoveWindow(10, 10, width, height, FALSE); }
    void Load(int width, int height, int stretch, int zoom)
    {
        std::vector<BYTE> pixels = PlacePixels(width, height);
        ASSERT_EQ(view.LoadBuffer(pixels.data(), width, height, 24, stretch, 0, zoom), 1);
    }

    void Send(UINT message, int x, int y, UINT flags) { view.SendMessage(message, flags, MAKELPARAM(x, y)); }
    void Press(int x, int y) { Send(WM_LBUTTONDOWN, x, y, MK_LBUTTON); }
    void Move(int x, int y, UINT flags = MK_LBUTTON) { Send(WM_MOUSEMOVE, x, y, flags); }
    void Release(int x, int y) { Send(WM_LBUTTONUP, x, y, 0); }
    // Press, one move, release.
    void Drag(POINT from, POINT to)
    {
        Press(from.x, from.y);
        Move(to.x, to.y);
        Release(to.x, to.y);
    }

    // Paints the view over a parent filled with kMarker, which shows where the view paints nothing;
    // returns the view's client pixels, rows from the top.
    std::vector<COLORREF> Paint()
    {
        CRect parent;
        ::GetClientRect(parent_, parent);
        HDC dc = ::GetDC(parent_);
        HBRUSH marker = ::CreateSolidBrush(kMarker);
        ::FillRect(dc, parent, marker);
        ::DeleteObject(marker);
        ::ReleaseDC(parent_, dc);
        view.Invalidate(FALSE);
        view.UpdateWindow();
        return ClientPixels();
    }
    // The view's client pixels as they are, rows from the top.
    std::vector<COLORREF> ClientPixels()
    {
        CRect client;
        view.GetClientRect(client);
        TestDib shot(client.Width(), client.Height());
        HDC dc = ::GetDC(view);
        ::BitBlt(shot.dc(), 0, 0, client.Width(), client.Height(), dc, 0, 0, SRCCOPY);
        ::ReleaseDC(view, dc);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < client.Height(); ++y)
            for (int x = 0; x < client.Width(); ++x)
                pixels.push_back(shot.Pixel(x, y));
        return pixels;
    }

    CBmpStatic view;
    HWND Parent() const { return parent_; }

    static inline int parentPaints = 0;
    static inline int parentPresses = 0;
    static inline std::vector<POINT> panned; // the origins WM_IMAGE_PANNED told
    static inline CropRecord cropped{};      // the last WM_IMAGE_CROPPED, its pixels copied
    static inline std::vector<BYTE> croppedPixels;

private:
    static LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_PAINT)
            ++parentPaints;
        if (message == WM_LBUTTONDOWN)
            ++parentPresses;
        if (message == WM_IMAGE_CROPPED) {
            cropped = *reinterpret_cast<const CropRecord*>(wParam);
            const size_t size = static_cast<size_t>(DibStride(cropped.width, static_cast<WORD>(cropped.bits))) *
                                static_cast<size_t>(cropped.height);
            croppedPixels.assign(cropped.pixels, cropped.pixels + size);
            return 0;
        }
        if (message == WM_IMAGE_PANNED) {
            const int* origin = reinterpret_cast<const int*>(wParam);
            panned.push_back(POINT{origin[0], origin[1]});
            return 0;
        }
        return ::DefWindowProc(hwnd, message, wParam, lParam);
    }

    HWND parent_ = nullptr;
};

} // namespace viewtest
