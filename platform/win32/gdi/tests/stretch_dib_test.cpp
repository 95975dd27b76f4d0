// StretchDIBits and SetDIBitsToDevice: row order, source y, stretching, clipping and colour tables.
#include <gtest/gtest.h>

#include "gdi_fixture.h"

using namespace gdi_test;

namespace {

using Rows = std::vector<std::string>;

struct StretchCase {
    const char* name;
    int bits;
    bool bottomUp;
    int x, y, width, height;             // destination
    int xSrc, ySrc, srcWidth, srcHeight; // source, y from the lowest row of a bottom-up DIB
    Rows expected;                       // 6 x 4 picture, white at the start
};

const Rows kSource = {"RGB", "CMY"}; // top row first
const std::string kPalette = "RGBCMYKW";

// The same picture in the two colours a 1-bit DIB can hold: neighbours differ, the untouched white stays.
const std::string kTwoColourPalette = "KR";
Rows inTwoColours(Rows rows) {
    for (std::string& row : rows)
        for (char& letter : row)
            if (letter != 'W')
                letter = kTwoColourPalette[(std::string("RGBCMY").find(letter) + 1) % 2];
    return rows;
}

void PrintTo(const StretchCase& c, std::ostream* os) {
    *os << c.name;
}

class StretchDibTest : public ::testing::TestWithParam<StretchCase> {};

TEST_P(StretchDibTest, DrawsTheExpectedPixels) {
    const StretchCase& c = GetParam();
    Picture picture(6, 4);
    const bool twoColours = c.bits == 1;
    const Dib dib = makeDib(twoColours ? inTwoColours(kSource) : kSource, c.bits, c.bottomUp,
                            twoColours ? kTwoColourPalette : kPalette, 0x5A);
    ASSERT_EQ(SetStretchBltMode(picture.dc(), COLORONCOLOR), BLACKONWHITE);
    const int rows = StretchDIBits(picture.dc(), c.x, c.y, c.width, c.height, c.xSrc, c.ySrc, c.srcWidth,
                                   c.srcHeight, dib.pixels.data(), dib.header(), DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(rows, std::abs(c.srcHeight));
    EXPECT_EQ(picture.letters(), c.expected);
}

// Every case at 24 bits and through 8-, 4- and 1-bit colour tables whose reserved bytes are not zero.
std::vector<StretchCase> cases() {
    const std::vector<StretchCase> base = {
        {"Copy", 24, true, 0, 0, 3, 2, 0, 0, 3, 2, {"RGBWWW", "CMYWWW", "WWWWWW", "WWWWWW"}},
        {"StretchUp", 24, true, 0, 0, 6, 4, 0, 0, 3, 2, {"RRGGBB", "RRGGBB", "CCMMYY", "CCMMYY"}},
        {"StretchDown", 24, true, 0, 0, 1, 1, 0, 0, 3, 2, {"MWWWWW", "WWWWWW", "WWWWWW", "WWWWWW"}},
        {"LowestRowIsSourceY0", 24, true, 0, 0, 3, 1, 0, 0, 3, 1, {"CMYWWW", "WWWWWW", "WWWWWW", "WWWWWW"}},
        {"SourceY1IsTopRow", 24, true, 1, 1, 3, 1, 0, 1, 3, 1, {"WWWWWW", "WRGBWW", "WWWWWW", "WWWWWW"}},
        {"TopDownCountsFromTop", 24, false, 0, 0, 3, 1, 0, 1, 3, 1, {"CMYWWW", "WWWWWW", "WWWWWW", "WWWWWW"}},
        {"SourceClippedAtRight", 24, true, 0, 0, 2, 2, 2, 0, 2, 2, {"BWWWWW", "YWWWWW", "WWWWWW", "WWWWWW"}},
        {"SourceClippedAtTop", 24, true, 0, 0, 3, 2, 0, 1, 3, 2, {"WWWWWW", "RGBWWW", "WWWWWW", "WWWWWW"}},
        {"DestinationClipped", 24, true, 4, 3, 6, 4, 0, 0, 3, 2, {"WWWWWW", "WWWWWW", "WWWWWW", "WWWWRR"}},
        {"NegativeWidthMirrors", 24, true, 3, 0, -3, 2, 0, 0, 3, 2, {"BGRWWW", "YMCWWW", "WWWWWW", "WWWWWW"}},
    };
    std::vector<StretchCase> all = base;
    for (int bits : {8, 4, 1}) {
        for (StretchCase c : base) {
            c.bits = bits;
            if (bits == 1)
                c.expected = inTwoColours(c.expected);
            all.push_back(c);
        }
    }
    return all;
}

INSTANTIATE_TEST_SUITE_P(Depths, StretchDibTest, ::testing::ValuesIn(cases()), [](const auto& info) {
    return std::string(info.param.name) + "_" + std::to_string(info.param.bits);
});

TEST(StretchDibBits, PackedPixelsGoThroughTheirColourTable) {
    struct Packed {
        int bits;
        std::string palette;
        std::string row;
    };
    const Packed cases[] = {{1, "RB", "RBBRRRRRBR"}, {4, "RGBCMYKW", "KCMYWRGBC"}};
    for (const Packed& c : cases) {
        const int width = static_cast<int>(c.row.size());
        Picture picture(width, 1);
        const Dib dib = makeDib({c.row}, c.bits, true, c.palette);
        StretchDIBits(picture.dc(), 0, 0, width, 1, 0, 0, width, 1, dib.pixels.data(), dib.header(),
                      DIB_RGB_COLORS, SRCCOPY);
        EXPECT_EQ(picture.letters(), Rows{c.row}) << c.bits << " bits";
    }
}

TEST(StretchDibBits, RefusesWhatItCannotDrawAndDrawsNothing) {
    Picture picture(3, 2);
    Dib dib = makeDib(kSource, 24, true);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(dib.info.data());
    struct Bad {
        const char* what;
        void (*spoil)(BITMAPINFOHEADER&);
    };
    const Bad bad[] = {
        {"run-length compression", [](BITMAPINFOHEADER& h) { h.biCompression = BI_RLE8; }},
        {"16 bits", [](BITMAPINFOHEADER& h) { h.biBitCount = 16; }},
        {"zero width", [](BITMAPINFOHEADER& h) { h.biWidth = 0; }},
        {"two planes", [](BITMAPINFOHEADER& h) { h.biPlanes = 2; }},
    };
    for (const Bad& b : bad) {
        const BITMAPINFOHEADER saved = *header;
        b.spoil(*header);
        EXPECT_EQ(StretchDIBits(picture.dc(), 0, 0, 3, 2, 0, 0, 3, 2, dib.pixels.data(), dib.header(),
                                DIB_RGB_COLORS, SRCCOPY),
                  0)
            << b.what;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << b.what;
        *header = saved;
    }
    EXPECT_EQ(StretchDIBits(picture.dc(), 0, 0, 3, 2, 0, 0, 3, 2, dib.pixels.data(), dib.header(),
                            DIB_PAL_COLORS, SRCCOPY),
              0);
    EXPECT_EQ(picture.letters(), (Rows{"WWW", "WWW"}));
}

TEST(SetDibitsToDevice, DrawsABandOfRowsUnscaled) {
    Picture picture(3, 3);
    // A bottom-up DIB of three rows, of which the buffer holds rows 1 and 2 (the upper two).
    const Dib whole = makeDib({"RGB", "CMY", "KKK"}, 24, true);
    const LONG stride = DibStride(3, 24);
    const int drawn = SetDIBitsToDevice(picture.dc(), 0, 0, 3, 2, 0, 1, 1, 2, whole.pixels.data() + stride,
                                        whole.header(), DIB_RGB_COLORS);
    EXPECT_EQ(drawn, 2);
    EXPECT_EQ(picture.letters(), (Rows{"RGB", "CMY", "WWW"}));
}

} // namespace
