// Test fixtures: a memory DC on a 32-bit DIB section that tests read back, and DIBs built from letters.
#pragma once

#include <string>
#include <vector>

#include <win32/gdi.h>

namespace gdi_test {

// Letters for the colours tests use: R G B C M Y K (black) W (white) and '?' for anything else.
char letterOf(COLORREF color);
COLORREF colorOfLetter(char letter);

// A memory DC holding a top-down 32-bit DIB section, filled with `fill` at the start.
class Picture {
public:
    Picture(int width, int height, COLORREF fill = RGB(255, 255, 255));
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    HDC dc() const { return dc_; }
    COLORREF at(int x, int y) const;
    void set(int x, int y, COLORREF color);
    // Rows from the top, one letter per pixel.
    std::vector<std::string> letters() const;
    // Rows from the top: '#' where the pixel is `ink`, '.' elsewhere.
    std::vector<std::string> mask(COLORREF ink) const;
    std::vector<DWORD> pixels() const { return std::vector<DWORD>(bits_, bits_ + width_ * height_); }

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    DWORD* bits_ = nullptr;
};

// A DIB of `bits` per pixel drawn from rows of letters (top row first). Up to 8 bits, `palette` gives the
// letter of each colour table entry; `reserved` goes into every entry's reserved byte.
struct Dib {
    std::vector<BYTE> info;
    std::vector<BYTE> pixels;
    const BITMAPINFO* header() const { return reinterpret_cast<const BITMAPINFO*>(info.data()); }
};
Dib makeDib(const std::vector<std::string>& rows, int bits, bool bottomUp, const std::string& palette = "",
            BYTE reserved = 0);

} // namespace gdi_test
