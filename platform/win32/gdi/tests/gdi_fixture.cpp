// Test fixtures: pictures read back through DIB-section bits, and DIBs made from letter rows.
#include "gdi_fixture.h"

#include <cstring>
#include <gtest/gtest.h>

namespace gdi_test {
namespace {

struct Named {
    char letter;
    COLORREF color;
};
constexpr Named kColors[] = {{'R', RGB(255, 0, 0)},   {'G', RGB(0, 255, 0)},     {'B', RGB(0, 0, 255)},
                             {'C', RGB(0, 255, 255)}, {'M', RGB(255, 0, 255)},   {'Y', RGB(255, 255, 0)},
                             {'K', RGB(0, 0, 0)},     {'W', RGB(255, 255, 255)}};

} // namespace

char letterOf(COLORREF color) {
    for (const Named& n : kColors)
        if (n.color == color)
            return n.letter;
    return '?';
}

COLORREF colorOfLetter(char letter) {
    for (const Named& n : kColors)
        if (n.letter == letter)
            return n.color;
    ADD_FAILURE() << "no colour for letter " << letter;
    return 0;
}

Picture::Picture(int width, int height, COLORREF fill) : width_(width), height_(height) {
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
    if (!dc_ || !bitmap_ || !old_)
        ADD_FAILURE() << "picture fixture could not be made";
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            set(x, y, fill);
}

Picture::~Picture() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

COLORREF Picture::at(int x, int y) const {
    const DWORD v = bits_[y * width_ + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

void Picture::set(int x, int y, COLORREF c) {
    bits_[y * width_ + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

std::vector<std::string> Picture::letters() const {
    std::vector<std::string> rows(height_, std::string(width_, ' '));
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            rows[y][x] = letterOf(at(x, y));
    return rows;
}

std::vector<std::string> Picture::mask(COLORREF ink) const {
    std::vector<std::string> rows(height_, std::string(width_, '.'));
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (at(x, y) == ink)
                rows[y][x] = '#';
    return rows;
}

Dib makeDib(const std::vector<std::string>& rows, int bits, bool bottomUp, const std::string& palette,
            BYTE reserved) {
    const int width = static_cast<int>(rows[0].size()), height = static_cast<int>(rows.size());
    Dib dib;
    const size_t entries = bits <= 8 ? (size_t{1} << bits) : 0;
    dib.info.assign(sizeof(BITMAPINFOHEADER) + entries * sizeof(RGBQUAD), 0);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = bottomUp ? height : -height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bits);
    std::memcpy(dib.info.data(), &header, sizeof header);
    auto* table = reinterpret_cast<RGBQUAD*>(dib.info.data() + sizeof header);
    for (size_t i = 0; i < palette.size() && i < entries; ++i) {
        const COLORREF c = colorOfLetter(palette[i]);
        table[i] = RGBQUAD{GetBValue(c), GetGValue(c), GetRValue(c), reserved};
    }
    const LONG stride = DibStride(width, static_cast<WORD>(bits));
    dib.pixels.assign(static_cast<size_t>(stride) * height, 0);
    for (int y = 0; y < height; ++y) {
        BYTE* row = dib.pixels.data() + static_cast<size_t>(bottomUp ? height - 1 - y : y) * stride;
        for (int x = 0; x < width; ++x) {
            const char letter = rows[y][x];
            if (bits <= 8) {
                const auto index = static_cast<unsigned>(palette.find(letter));
                if (bits == 8)
                    row[x] = static_cast<BYTE>(index);
                else if (bits == 4)
                    row[x / 2] |= static_cast<BYTE>(index << ((x & 1) ? 0 : 4));
                else
                    row[x / 8] |= static_cast<BYTE>((index & 1) << (7 - x % 8));
            } else {
                const COLORREF c = colorOfLetter(letter);
                BYTE* p = row + x * (bits / 8);
                p[0] = GetBValue(c);
                p[1] = GetGValue(c);
                p[2] = GetRValue(c);
            }
        }
    }
    return dib;
}

} // namespace gdi_test
