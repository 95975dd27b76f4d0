// CRastel BMP files: the layout SaveBitmap writes, round trips, and what ReadBitmap refuses or normalises.
#include <bitmap/rastel.h>

#include "rastel_files.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

using bmptest::assembleBmp;
using bmptest::BmpSpec;
using bmptest::buildBmp;
using bmptest::Bytes;
using bmptest::coreHeader;
using bmptest::infoHeader;
using bmptest::le16;
using bmptest::le32;
using bmptest::littleEndian;
using bmptest::loadBytes;
using bmptest::pixelsOf;
using bmptest::savedBytes;
using testsupport::readFileBytes;
using testsupport::TempFolder;
using testsupport::writeFileBytes;

// Pixels of a DIB buffer, counting up from `start`.
Bytes countingPixels(int width, int height, int bits, int start = 0) {
    Bytes pixels(bmptest::strideOf(width, bits) * height);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<uint8_t>(start + i * 7);
    return pixels;
}

struct Layout {
    int bits;
    int width;
    uint32_t stride;
    uint32_t offBits;
};

void PrintTo(const Layout& l, std::ostream* out) {
    *out << l.bits << " bits, width " << l.width;
}

class BmpLayout : public testing::TestWithParam<Layout> {};

// The file header, info header and colour table that SaveBitmap writes for a buffer-loaded picture.
TEST_P(BmpLayout, SaveWritesTheStandardHeaderAndTable) {
    const Layout l = GetParam();
    const int height = 3;
    Bytes pixels = countingPixels(l.width, height, l.bits);
    CRastel picture;
    ASSERT_EQ(picture.ReadBitmap(pixels.data(), l.width, height, l.bits), 1);
    EXPECT_EQ(picture.GetBmpSize(), l.stride * height);
    TempFolder folder;
    const Bytes file = savedBytes(picture, folder);
    ASSERT_EQ(file.size(), l.offBits + l.stride * height);
    EXPECT_EQ(le16(file, 0), 0x4D42);
    EXPECT_EQ(le32(file, 2), file.size());
    EXPECT_EQ(le16(file, 6) | le16(file, 8), 0);
    EXPECT_EQ(le32(file, 10), l.offBits);
    EXPECT_EQ(le32(file, 14), 40u);
    EXPECT_EQ(le32(file, 18), static_cast<uint32_t>(l.width));
    EXPECT_EQ(le32(file, 22), static_cast<uint32_t>(height));
    EXPECT_EQ(le16(file, 26), 1);
    EXPECT_EQ(le16(file, 28), l.bits);
    EXPECT_EQ(le32(file, 30), 0u);
    EXPECT_EQ(le32(file, 46), 0u);
    EXPECT_EQ(Bytes(file.begin() + l.offBits, file.end()), pixels);

    const uint32_t entries = (l.offBits - 54) / 4;
    for (uint32_t i = 0; i < entries; ++i) {
        const uint8_t* q = &file[54 + 4 * i];
        // 1 bit: black and white; 4 bits: a 16-step grey ramp; 8 bits: {i, i, i, i}.
        const uint8_t level =
            entries == 2 ? static_cast<uint8_t>(i * 255) : static_cast<uint8_t>(i * (255 / (entries - 1)));
        const uint8_t reserved = entries == 256 ? level : 0;
        EXPECT_EQ(q[0], level) << i;
        EXPECT_EQ(q[1], level) << i;
        EXPECT_EQ(q[2], level) << i;
        EXPECT_EQ(q[3], reserved) << i;
    }
}

// A saved file reads back to the same pixels and saves to the same bytes again.
TEST_P(BmpLayout, RoundTripKeepsPixelsAndHeader) {
    const Layout l = GetParam();
    Bytes pixels = countingPixels(l.width, 5, l.bits, 3);
    CRastel first;
    ASSERT_EQ(first.ReadBitmap(pixels.data(), l.width, 5, l.bits), 1);
    TempFolder folder;
    const std::string path = folder.file("first.bmp");
    ASSERT_EQ(first.SaveBitmap(path.c_str()), 0);
    CRastel second;
    ASSERT_EQ(second.ReadBitmap(path.c_str()), 1);
    EXPECT_EQ(second.GetBmpWidth(), static_cast<ULONG>(l.width));
    EXPECT_EQ(second.GetBmpHeight(), 5u);
    EXPECT_EQ(second.GetBitCount(), l.bits);
    EXPECT_EQ(pixelsOf(second), pixels);
    EXPECT_EQ(savedBytes(second, folder), readFileBytes(path));
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpLayout,
                         testing::Values(Layout{1, 10, 4, 62}, Layout{4, 10, 8, 118}, Layout{8, 10, 12, 1078},
                                         Layout{24, 10, 32, 54}, Layout{24, 641, 1924, 54}),
                         [](const testing::TestParamInfo<Layout>& info) {
                             return std::to_string(info.param.bits) + "bit_width" +
                                    std::to_string(info.param.width);
                         });

// A file's own colour table (20 entries by biClrUsed) is kept and written back as it was.
TEST(BmpRead, DeclaredColourCountIsKeptOnSave) {
    TempFolder folder;
    const Bytes original = buildBmp({.width = 5, .height = 2, .bits = 8, .clrUsed = 20, .tableEntries = 20});
    CRastel picture;
    ASSERT_EQ(loadBytes(picture, folder, original), 1);
    const Bytes saved = savedBytes(picture, folder);
    EXPECT_EQ(le32(saved, 10), 134u);
    EXPECT_EQ(le32(saved, 46), 20u);
    EXPECT_EQ(saved, original);
}

// Top-down files load bottom-up with a positive height.
TEST(BmpRead, TopDownFileIsTurnedBottomUp) {
    TempFolder folder;
    const Bytes file = buildBmp({.width = 3, .height = -2, .bits = 24});
    CRastel picture;
    ASSERT_EQ(loadBytes(picture, folder, file), 1);
    EXPECT_EQ(picture.GetBmpHeight(), 2u);
    const Bytes pixels = pixelsOf(picture);
    const Bytes fileTop(file.begin() + 54, file.begin() + 66);
    const Bytes fileBottom(file.begin() + 66, file.end());
    EXPECT_EQ(Bytes(pixels.begin(), pixels.begin() + 12), fileBottom);
    EXPECT_EQ(Bytes(pixels.begin() + 12, pixels.end()), fileTop);
    EXPECT_EQ(static_cast<int32_t>(le32(savedBytes(picture, folder), 22)), 2);
}

// A larger info header (here the 124-byte form) has its colour table after it, and a gap may follow
// the table: both are read from where the file puts them and saved in the 40-byte form.
TEST(BmpRead, LargerHeaderAndGapAreNormalised) {
    TempFolder folder;
    const Bytes file = buildBmp({.width = 4,
                                 .height = 2,
                                 .bits = 8,
                                 .infoSize = 124,
                                 .tableEntries = 256,
                                 .offBits = 14 + 124 + 1024 + 10});
    CRastel picture;
    ASSERT_EQ(loadBytes(picture, folder, file), 1);
    const Bytes saved = savedBytes(picture, folder);
    EXPECT_EQ(le32(saved, 10), 1078u);
    EXPECT_EQ(le32(saved, 14), 40u);
    EXPECT_EQ(Bytes(saved.begin() + 54, saved.begin() + 1078),
              Bytes(file.begin() + 138, file.begin() + 1162));
    EXPECT_EQ(Bytes(saved.begin() + 1078, saved.end()), Bytes(file.end() - 8, file.end()));
}

struct Refusal {
    const char* name;
    Bytes file;
};

// Files ReadBitmap refuses; each also empties an object that held a picture.
TEST(BmpRead, RefusedFilesLeaveTheObjectEmpty) {
    Bytes badType = buildBmp({});
    badType[1] = 'A';
    Bytes shortPixels = buildBmp({});
    shortPixels.pop_back();
    const Bytes good8 = buildBmp({.width = 4, .height = 2, .bits = 8, .tableEntries = 256});
    const Bytes masks565 = littleEndian({0xF800, 0x07E0, 0x001F});
    const Bytes palette16(64);
    Bytes rlePastEnd = assembleBmp(infoHeader(40, 4, 2, 8, 1, 16), palette16, {});
    bmptest::put32(rlePastEnd, 10, static_cast<uint32_t>(rlePastEnd.size() + 4));
    const Refusal cases[] = {
        {"type BA", badType},
        {"13 bytes", Bytes(good8.begin(), good8.begin() + 13)},
        {"offset inside the info header", buildBmp({.offBits = 50})},
        {"header of 20 bytes", buildBmp({.infoSize = 20})},
        {"table past the pixel offset", buildBmp({.width = 4, .bits = 8, .tableEntries = 100})},
        {"table past the end", Bytes(good8.begin(), good8.begin() + 600)},
        {"pixels one byte short", shortPixels},
        {"width 0", buildBmp({.width = 0})},
        {"negative width", buildBmp({.width = -3})},
        {"height 0", buildBmp({.height = 0})},
        {"bit fields at 24 bits", buildBmp({.bits = 24, .compression = 3})},
        {"JPEG inside", buildBmp({.bits = 24, .compression = 4})},
        {"PNG inside", buildBmp({.bits = 24, .compression = 5})},
        {"3 bits", buildBmp({.bits = 3, .tableEntries = 8})},
        {"more colours than indexes", buildBmp({.width = 4, .bits = 4, .clrUsed = 17, .tableEntries = 17})},
        {"2 bits, 5 colours", buildBmp({.bits = 2, .clrUsed = 5, .tableEntries = 5})},
        {"core header, 16 bits", assembleBmp(coreHeader(3, 2, 16), {}, Bytes(16))},
        {"core header, width 0", assembleBmp(coreHeader(0, 2, 24), {}, Bytes(16))},
        {"core header, no room for colours", assembleBmp(coreHeader(3, 2, 8), Bytes(2), Bytes(8))},
        {"bit fields in a 44-byte header", assembleBmp(infoHeader(44, 3, 2, 16, 3), masks565, Bytes(16))},
        {"masks past the pixel offset", assembleBmp(infoHeader(40, 3, 2, 16, 3), Bytes(8), Bytes(16))},
        {"mask in two pieces", assembleBmp(infoHeader(40, 3, 2, 16, 3), littleEndian({0xF801, 0x07E0, 0x001E}),
                                           Bytes(16))},
        {"mask past 16 bits", assembleBmp(infoHeader(40, 3, 2, 16, 3), littleEndian({0x1F800, 0x07E0, 0x001F}),
                                          Bytes(16))},
        {"run-length 8 on 4 bits", assembleBmp(infoHeader(40, 4, 2, 4, 1), palette16, {4, 1, 0, 1})},
        {"run-length 4 on 8 bits", assembleBmp(infoHeader(40, 4, 2, 8, 2, 16), palette16, {4, 1, 0, 1})},
        {"run-length coded top-down", assembleBmp(infoHeader(40, 4, -2, 8, 1, 16), palette16, {4, 1, 0, 1})},
        {"delta past the row end", assembleBmp(infoHeader(40, 4, 2, 8, 1, 16), palette16, {1, 1, 0, 2, 4, 0})},
        {"delta past the top", assembleBmp(infoHeader(40, 4, 2, 8, 1, 16), palette16, {0, 2, 0, 3, 0, 1})},
        {"run-length data past the end", rlePastEnd},
        {"run-length picture far larger than its data",
         assembleBmp(infoHeader(40, 2048, 1024, 8, 1, 16), palette16, {0, 1})},
        {"absurd size", buildBmp({.width = 100000, .height = 100000})},
        // 3 x 1431655768 bytes is 2^32 + 8: a 32-bit stride would wrap to 8, which the file holds.
        {"stride past 32 bits", buildBmp({.width = 1431655768, .height = 2})},
        {"most negative height", buildBmp({.width = 1, .height = INT_MIN})},
    };
    TempFolder folder;
    for (const Refusal& c : cases) {
        CRastel picture;
        ASSERT_EQ(loadBytes(picture, folder, good8, "good.bmp"), 1);
        EXPECT_EQ(loadBytes(picture, folder, c.file, "bad.bmp"), 0) << c.name;
        EXPECT_EQ(picture.GetBmpPixel(), nullptr) << c.name;
        EXPECT_EQ(picture.GetBmpWidth(), 0u) << c.name;
        EXPECT_EQ(picture.GetBitCount(), 0) << c.name;
        EXPECT_EQ(picture.SaveBitmap(folder.file("out.bmp").c_str()), -1) << c.name;
    }
    CRastel picture;
    EXPECT_EQ(picture.ReadBitmap(folder.file("missing.bmp").c_str()), 0);
    EXPECT_EQ(picture.ReadBitmap(static_cast<const char*>(nullptr)), 0);
    EXPECT_EQ(picture.ReadBitmap(folder.file("").c_str()), 0) << "a folder";
}

TEST(BmpWrite, FailuresAnswerMinusOne) {
    TempFolder folder;
    CRastel empty;
    const std::string path = folder.file("empty.bmp");
    EXPECT_EQ(empty.SaveBitmap(path.c_str()), -1);
    EXPECT_FALSE(std::filesystem::exists(path)) << "an empty object writes nothing";

    Bytes pixels = countingPixels(8, 8, 24);
    CRastel picture;
    ASSERT_EQ(picture.ReadBitmap(pixels.data(), 8, 8, 24), 1);
    EXPECT_EQ(picture.SaveBitmap(folder.file("no/such/folder.bmp").c_str()), -1);
    EXPECT_EQ(picture.SaveBitmap(nullptr), -1);
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_EQ(picture.SaveBitmap("/dev/full"), -1) << "a write that fails";
    }
}

} // namespace
