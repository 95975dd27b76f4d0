// DIB sections: drawing through a DC lands in the section's own bits at once, rows bottom-up.
#include <cstring>
#include <gtest/gtest.h>

#include "gdi_fixture.h"

using namespace gdi_test;

namespace {

BITMAPINFOHEADER headerOf(LONG width, LONG height, WORD bits) {
    return BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, bits, BI_RGB, 0, 0, 0, 0, 0};
}

TEST(DibSection, DrawingLandsInTheBottomUpBits) {
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = headerOf(3, 2, 24);
    BYTE* bits = nullptr;
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    ASSERT_NE(section, nullptr);
    ASSERT_NE(bits, nullptr);
    HGDIOBJ old = SelectObject(dc, section);
    // The picture's top row is the last row in memory.
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT top{0, 0, 3, 1};
    FillRect(dc, &top, red);
    const BYTE expected[2][12] = {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                                  {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0}};
    EXPECT_EQ(std::memcmp(bits, expected, sizeof expected), 0);
    // Bits changed behind the DC's back show in what the DC draws out.
    bits[0] = 255; // blue at the bottom left
    Picture picture(3, 2);
    BitBlt(picture.dc(), 0, 0, 3, 2, dc, 0, 0, SRCCOPY);
    EXPECT_EQ(picture.letters(), (std::vector<std::string>{"RRR", "BKK"}));
    SelectObject(dc, old);
    DeleteObject(red);
    DeleteObject(section);
    DeleteDC(dc);
}

TEST(DibSection, IndexedSectionsTakeTheNearestColourTableEntry) {
    // An 8-bit grey picture as the bitmap object shows it: entry i is {i, i, i}.
    std::vector<BYTE> block(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    const BITMAPINFOHEADER header = headerOf(4, 1, 8);
    std::memcpy(block.data(), &header, sizeof header);
    auto* table = reinterpret_cast<RGBQUAD*>(block.data() + sizeof header);
    for (int i = 0; i < 256; ++i)
        table[i] = RGBQUAD{static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0};
    HDC dc = CreateCompatibleDC(nullptr);
    BYTE* bits = nullptr;
    HBITMAP section = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(block.data()), DIB_RGB_COLORS,
                                       reinterpret_cast<void**>(&bits), nullptr, 0);
    HGDIOBJ old = SelectObject(dc, section);
    std::memset(bits, 200, 4);
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    SelectObject(dc, red);
    MoveToEx(dc, 1, 0, nullptr);
    LineTo(dc, 3, 0);
    // (255, 0, 0) is nearest to grey 85; XOR then works on the indexes.
    EXPECT_EQ((std::vector<BYTE>(bits, bits + 4)), (std::vector<BYTE>{200, 85, 85, 200}));
    SetROP2(dc, R2_NOT);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 1, 0);
    EXPECT_EQ(bits[0], 255 - 200);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, old);
    DeleteObject(red);
    DeleteObject(section);
    DeleteDC(dc);
}

TEST(DibSection, RefusesFileMappingsAndUnsupportedFormats) {
    BITMAPINFO info{};
    void* bits = reinterpret_cast<void*>(1);
    info.bmiHeader = headerOf(2, 2, 16);
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(bits, nullptr);
    info.bmiHeader = headerOf(2, 2, 24);
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, reinterpret_cast<HANDLE>(8), 0), nullptr);
    info.bmiHeader = headerOf(100000, 2, 24);
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(DibBitmaps, CreateDibitmapAndGetDibitsRoundTrip) {
    const Dib dib = makeDib({"RGBC", "MYKW"}, 24, true);
    HDC screen = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBitmap(nullptr, &dib.header()->bmiHeader, CBM_INIT, dib.pixels.data(), dib.header(),
                                    DIB_RGB_COLORS);
    ASSERT_NE(bitmap, nullptr);
    BITMAPINFO query{};
    query.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    ASSERT_TRUE(GetDIBits(screen, bitmap, 0, 0, nullptr, &query, DIB_RGB_COLORS));
    EXPECT_EQ(query.bmiHeader.biWidth, 4);
    EXPECT_EQ(query.bmiHeader.biHeight, 2);
    EXPECT_EQ(query.bmiHeader.biBitCount, 32);
    BITMAPINFO out{};
    out.bmiHeader = headerOf(4, 2, 24);
    std::vector<BYTE> rows(dib.pixels.size(), 0xEE);
    EXPECT_EQ(GetDIBits(screen, bitmap, 0, 2, rows.data(), &out, DIB_RGB_COLORS), 2);
    EXPECT_EQ(rows, dib.pixels);
    // One band: the upper row only, which is bottom-up row 1.
    std::vector<BYTE> band(DibStride(4, 24), 0);
    EXPECT_EQ(GetDIBits(screen, bitmap, 1, 5, band.data(), &out, DIB_RGB_COLORS), 1);
    EXPECT_TRUE(std::equal(band.begin(), band.end(), dib.pixels.begin() + DibStride(4, 24)));
    DeleteObject(bitmap);
    DeleteDC(screen);
}

} // namespace
