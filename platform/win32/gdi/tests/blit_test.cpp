// BitBlt and StretchBlt: raster operations, colour and monochrome conversions, strips and overlaps.
#include <gtest/gtest.h>

#include "gdi_fixture.h"

using namespace gdi_test;

namespace {

using Rows = std::vector<std::string>;

// The main window's transparent blit: black pixels of the source leave the destination unchanged.
void drawTransparent(HDC dst, int x, int y, int width, int height, HDC src, int xs, int ys, int ws, int hs,
                     COLORREF transparent) {
    HBITMAP colour = CreateCompatibleBitmap(dst, width, height);
    HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
    HDC colourDc = CreateCompatibleDC(dst), maskDc = CreateCompatibleDC(dst);
    HGDIOBJ oldColour = SelectObject(colourDc, colour), oldMask = SelectObject(maskDc, mask);
    if (ws == width && hs == height)
        BitBlt(colourDc, 0, 0, width, height, src, xs, ys, SRCCOPY);
    else
        StretchBlt(colourDc, 0, 0, width, height, src, xs, ys, ws, hs, SRCCOPY);
    SetBkColor(colourDc, transparent);
    BitBlt(maskDc, 0, 0, width, height, colourDc, 0, 0, SRCCOPY);
    SetBkColor(colourDc, RGB(0, 0, 0));
    SetTextColor(colourDc, RGB(255, 255, 255));
    BitBlt(colourDc, 0, 0, width, height, maskDc, 0, 0, SRCAND);
    SetBkColor(dst, RGB(255, 255, 255));
    SetTextColor(dst, RGB(0, 0, 0));
    BitBlt(dst, x, y, width, height, maskDc, 0, 0, SRCAND);
    BitBlt(dst, x, y, width, height, colourDc, 0, 0, SRCPAINT);
    SelectObject(colourDc, oldColour);
    SelectObject(maskDc, oldMask);
    DeleteDC(colourDc);
    DeleteDC(maskDc);
    DeleteObject(colour);
    DeleteObject(mask);
}

void paint(Picture& picture, const Rows& rows) {
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x)
            picture.set(static_cast<int>(x), static_cast<int>(y), colorOfLetter(rows[y][x]));
}

TEST(BitBlt, TransparentBlitThroughAMonochromeMaskKeepsTheDestinationUnderBlack) {
    Picture background(4, 3), screen(4, 3);
    paint(background, {"RKKG", "KBYK", "CKKM"});
    paint(screen, {"WWWW", "GGGG", "WWWW"});
    drawTransparent(screen.dc(), 0, 0, 4, 3, background.dc(), 0, 0, 4, 3, RGB(0, 0, 0));
    EXPECT_EQ(screen.letters(), (Rows{"RWWG", "GBYG", "CWWM"}));
    // Stretched from half the size.
    Picture half(2, 1), target(4, 2);
    paint(half, {"KR"});
    paint(target, {"GGGG", "BBBB"});
    drawTransparent(target.dc(), 0, 0, 4, 2, half.dc(), 0, 0, 2, 1, RGB(0, 0, 0));
    EXPECT_EQ(target.letters(), (Rows{"GGRR", "BBRR"}));
}

TEST(BitBlt, RasterOperationsCombineSourceAndDestination) {
    struct Case {
        const char* name;
        DWORD rop;
        COLORREF expected;
    };
    const COLORREF source = RGB(0xF0, 0x0F, 0x55), destination = RGB(0xCC, 0xAA, 0x33);
    const Case cases[] = {
        {"SRCCOPY", SRCCOPY, source},
        {"SRCAND", SRCAND, RGB(0xC0, 0x0A, 0x11)},
        {"SRCPAINT", SRCPAINT, RGB(0xFC, 0xAF, 0x77)},
        {"SRCINVERT", SRCINVERT, RGB(0x3C, 0xA5, 0x66)},
        {"NOTSRCCOPY", NOTSRCCOPY, RGB(0x0F, 0xF0, 0xAA)},
        {"DSTINVERT", DSTINVERT, RGB(0x33, 0x55, 0xCC)},
        {"BLACKNESS", BLACKNESS, RGB(0, 0, 0)},
    };
    for (const Case& c : cases) {
        Picture src(1, 1, source), dst(1, 1, destination);
        EXPECT_TRUE(BitBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, c.rop)) << c.name;
        EXPECT_EQ(dst.at(0, 0), c.expected) << c.name;
    }
    // Operations with a pattern are refused and change nothing.
    Picture src(1, 1, source), dst(1, 1, destination);
    constexpr DWORD kPatCopy = 0x00F00021u;
    EXPECT_FALSE(BitBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, kPatCopy));
    EXPECT_EQ(dst.at(0, 0), destination);
}

TEST(StretchBlt, PicksOneFrameOfAButtonStrip) {
    // A strip of three 2 x 1 frames: normal, hover, pressed; drawn into a 4 x 2 button.
    Picture strip(6, 1), button(4, 2);
    paint(strip, {"RRGGBB"});
    const int width = 6;
    const int frames[] = {0, width / 3, (2 * width) / 3};
    const char expected[] = {'R', 'G', 'B'};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(StretchBlt(button.dc(), 0, 0, 4, 2, strip.dc(), frames[i], 0, width / 3, 1, SRCCOPY));
        EXPECT_EQ(button.letters(), (Rows(2, std::string(4, expected[i])))) << "frame " << i;
    }
}

TEST(BitBlt, OverlappingCopyWithinOneBitmapMovesThePicture) {
    Picture picture(3, 4);
    paint(picture, {"RGB", "CMY", "KWR", "GBC"});
    BitBlt(picture.dc(), 0, 1, 3, 3, picture.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(picture.letters(), (Rows{"RGB", "RGB", "CMY", "KWR"}));
}

TEST(BitBlt, MonochromeBitmapsTakeTheDcColours) {
    // Mono to colour: black becomes the target's text colour, white its background colour.
    const BYTE rows[2] = {0xA0, 0}; // one row, pixels 1 0 1 0 from the left
    HBITMAP mono = CreateBitmap(4, 1, 1, 1, rows);
    HDC monoDc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(monoDc, mono);
    Picture picture(4, 1);
    SetTextColor(picture.dc(), RGB(255, 0, 0));
    SetBkColor(picture.dc(), RGB(0, 0, 255));
    BitBlt(picture.dc(), 0, 0, 4, 1, monoDc, 0, 0, SRCCOPY);
    EXPECT_EQ(picture.letters(), Rows{"BRBR"});
    SelectObject(monoDc, old);
    DeleteObject(mono);
    DeleteDC(monoDc);
}

} // namespace
