// The BMP forms other programs write: each loads to the pixels it holds, at the depths the commands and the
// writer work on.
#include <bitmap/rastel.h>

#include "rastel_files.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

using bmptest::assembleBmp;
using bmptest::Bytes;
using bmptest::coreHeader;
using bmptest::infoHeader;
using bmptest::joined;
using bmptest::le32;
using bmptest::littleEndian;
using bmptest::loadBytes;
using bmptest::packRows;
using bmptest::savedBytes;
using testsupport::TempFolder;
using Values = std::vector<uint32_t>;

constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;
constexpr uint32_t kAlphaBitFields = 6;

// `count` colour entries, blue, green, red (and a zero byte unless `triples`), different in every entry.
Bytes palette(uint32_t count, bool triples = false) {
    Bytes out;
    for (uint32_t i = 0; i < count; ++i) {
        out.insert(out.end(), {static_cast<uint8_t>(8 * i + 1), static_cast<uint8_t>(8 * i + 2),
                               static_cast<uint8_t>(8 * i + 3)});
        if (!triples)
            out.push_back(0);
    }
    return out;
}

// The picture's pixels from the top row down: indexes up to 8 bits, 0xRRGGBB at 24 bits.
Values heldValues(CRastel& picture) {
    const int width = static_cast<int>(picture.GetBmpWidth());
    const int height = static_cast<int>(picture.GetBmpHeight());
    const int bits = picture.GetBitCount();
    const uint32_t stride = bmptest::strideOf(width, bits);
    const BYTE* pixels = picture.GetBmpPixel();
    Values out;
    for (int y = height - 1; y >= 0; --y) {
        const BYTE* row = pixels + static_cast<size_t>(y) * stride;
        for (int x = 0; x < width; ++x) {
            if (bits == 24)
                out.push_back(row[3 * x + 2] << 16 | row[3 * x + 1] << 8 | row[3 * x]);
            else
                out.push_back((row[x * bits / 8] >> (8 - bits - x * bits % 8)) & ((1u << bits) - 1));
        }
    }
    return out;
}

struct Form {
    const char* name;
    Bytes file;
    int width;
    int bits;      // depth held after loading
    Bytes table;   // colour table held
    Values pixels; // held pixels from the top row down
};

void PrintTo(const Form& form, std::ostream* out) {
    *out << form.name;
}

std::vector<Form> forms() {
    const Values rgb3x2 = {0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0x0A0B0C};
    return {
        {"core header, 1 bit", assembleBmp(coreHeader(3, 2, 1), palette(2, true), packRows({1, 0, 1, 0, 0, 1}, 3, 1)),
         3, 1, palette(2), {1, 0, 1, 0, 0, 1}},
        // A core header holds no colour count: the table ends where the pixels start.
        {"core header, 8 bits, 5 colours before the pixels",
         assembleBmp(coreHeader(3, 2, 8), palette(5, true), packRows({4, 0, 2, 3, 1, 4}, 3, 8)), 3, 8, palette(5),
         {4, 0, 2, 3, 1, 4}},
        {"core header, 24 bits, gap before the pixels",
         assembleBmp(coreHeader(3, 2, 24), Bytes(6, 0xEE), packRows(rgb3x2, 3, 24)), 3, 24, {}, rgb3x2},
        {"2 bits", assembleBmp(infoHeader(40, 5, 2, 2), palette(4), packRows({3, 2, 1, 0, 1, 2, 3, 0, 0, 3}, 5, 2)),
         5, 4, palette(4), {3, 2, 1, 0, 1, 2, 3, 0, 0, 3}},
        {"2 bits, 3 colours, top-down",
         assembleBmp(infoHeader(40, 3, -2, 2, 0, 3), palette(3), packRows({2, 1, 0, 0, 2, 1}, 3, 2, true)), 3, 4,
         palette(3), {2, 1, 0, 0, 2, 1}},
        // Without bit fields 16 bits are 5-5-5 with the top bit unused.
        {"16 bits",
         assembleBmp(infoHeader(40, 3, 2, 16), {}, packRows({0x7C00, 0x03E0, 0x001F, 0x4210, 0x7FFF, 0x8000}, 3, 16)),
         3, 24, {}, {0xFF0000, 0x00FF00, 0x0000FF, 0x848484, 0xFFFFFF, 0x000000}},
        {"16 bits, 5-6-5 masks after a 40-byte header, gap",
         assembleBmp(infoHeader(40, 3, 2, 16, kBitFields), joined({littleEndian({0xF800, 0x07E0, 0x001F}), Bytes(4)}),
                     packRows({0xF800, 0x07E0, 0x001F, 0x8410, 0xFFFF, 0x0821}, 3, 16)),
         3, 24, {}, {0xFF0000, 0x00FF00, 0x0000FF, 0x848284, 0xFFFFFF, 0x080408}},
        {"16 bits, 4-4-4 masks in a 52-byte header",
         assembleBmp(infoHeader(52, 3, 2, 16, kBitFields, 0, littleEndian({0x0F00, 0x00F0, 0x000F})), {},
                     packRows({0x0F00, 0x00F0, 0x000F, 0x0842, 0xFFFF, 0x1000}, 3, 16)),
         3, 24, {}, {0xFF0000, 0x00FF00, 0x0000FF, 0x884422, 0xFFFFFF, 0x000000}},
        // A header's masks count only with bit fields.
        {"16 bits, 124-byte header, masks without bit fields",
         assembleBmp(infoHeader(124, 3, -2, 16, 0, 0, littleEndian({0xF800, 0x07E0, 0x001F})), {},
                     packRows({0x7C00, 0x03E0, 0x001F, 0x4210, 0x7FFF, 0x8000}, 3, 16, true)),
         3, 24, {}, {0xFF0000, 0x00FF00, 0x0000FF, 0x848484, 0xFFFFFF, 0x000000}},
        {"32 bits",
         assembleBmp(infoHeader(40, 3, 2, 32), {},
                     packRows({0xAA102030, 0x00405060, 0xFF708090, 0x01A0B0C0, 0x80D0E0F0, 0x000A0B0C}, 3, 32)),
         3, 24, {}, rgb3x2},
        {"32 bits, R-G-B-A alpha bit fields in a 56-byte header",
         assembleBmp(infoHeader(56, 3, 2, 32, kAlphaBitFields, 0,
                                littleEndian({0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000})),
                     {}, packRows({0xFF302010, 0x00605040, 0x80908070, 0x01C0B0A0, 0x7FF0E0D0, 0x000C0B0A}, 3, 32)),
         3, 24, {}, rgb3x2},
        {"32 bits, alpha bit fields after a 40-byte header, top-down",
         assembleBmp(infoHeader(40, 3, -2, 32, kAlphaBitFields),
                     littleEndian({0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}),
                     packRows({0xFF102030, 0x00405060, 0x80708090, 0x01A0B0C0, 0x7FD0E0F0, 0x000A0B0C}, 3, 32, true)),
         3, 24, {}, rgb3x2},
        // 10 bits a channel: 512 of 1023 is 128, 1 is 0 and 3 is 1 after rounding.
        {"32 bits, 10-bit masks after a 40-byte header",
         assembleBmp(infoHeader(40, 3, 2, 32, kBitFields), littleEndian({0x3FF00000, 0x000FFC00, 0x000003FF}),
                     packRows({0x3FF00000, 512 << 10, 1, 3, 0xC0000000, 0x3FFFFFFF}, 3, 32)),
         3, 24, {}, {0xFF0000, 0x008000, 0x000000, 0x000001, 0x000000, 0xFFFFFF}},
        {"32 bits, 108-byte header, bit fields, top-down",
         assembleBmp(infoHeader(108, 3, -2, 32, kBitFields, 0, littleEndian({0x00FF0000, 0x0000FF00, 0x000000FF})), {},
                     packRows(rgb3x2, 3, 32, true)),
         3, 24, {}, rgb3x2},
        // Runs, an absolute run with its pad byte, a delta along a row and one up a row; skipped pixels are 0.
        {"8-bit run-length data",
         assembleBmp(infoHeader(40, 5, 3, 8, kRle8, 10), palette(10),
                     {2, 7, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 0, 1, 9, 0, 2, 1, 1, 1, 6, 0, 1}),
         5, 8, palette(10), {0, 0, 0, 0, 6, 0, 0, 9, 0, 0, 7, 7, 1, 2, 3}},
        {"8-bit run-length data ending inside an absolute run",
         assembleBmp(infoHeader(40, 5, 3, 8, kRle8, 10), palette(10), {5, 4, 0, 0, 0, 4, 1, 2}), 5, 8, palette(10),
         {0, 0, 0, 0, 0, 1, 2, 0, 0, 0, 4, 4, 4, 4, 4}},
        // A run alternates the two nibbles of its byte.
        {"4-bit run-length data",
         assembleBmp(infoHeader(40, 5, 2, 4, kRle4), palette(16), {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 2, 0x6F, 0, 1}), 5,
         4, palette(16), {3, 4, 5, 6, 15, 1, 2, 1, 2, 1}},
        {"4-bit run-length data with a delta, cut short",
         assembleBmp(infoHeader(40, 5, 2, 4, kRle4), palette(16), {0, 2, 3, 0, 2, 0xAB, 0, 0, 0, 5, 0x12}), 5, 4,
         palette(16), {1, 2, 0, 0, 0, 0, 0, 0, 10, 11}},
    };
}

class BmpForm : public testing::TestWithParam<Form> {};

// Each form loads to the expected depth, colour table and pixels, and is written back under a 40-byte
// header with that table.
TEST_P(BmpForm, LoadsToItsPixels) {
    const Form& form = GetParam();
    TempFolder folder;
    CRastel picture;
    ASSERT_EQ(loadBytes(picture, folder, form.file), 1);
    EXPECT_EQ(picture.GetBmpWidth(), static_cast<ULONG>(form.width));
    EXPECT_EQ(picture.GetBmpHeight(), form.pixels.size() / form.width);
    EXPECT_EQ(picture.GetBitCount(), form.bits);
    EXPECT_EQ(heldValues(picture), form.pixels);
    const Bytes saved = savedBytes(picture, folder);
    ASSERT_GE(saved.size(), 54u);
    EXPECT_EQ(le32(saved, 14), 40u);
    EXPECT_EQ(le32(saved, 30), 0u) << "uncompressed";
    EXPECT_EQ(Bytes(saved.begin() + 54, saved.begin() + le32(saved, 10)), form.table);
}

INSTANTIATE_TEST_SUITE_P(Forms, BmpForm, testing::ValuesIn(forms()), [](const testing::TestParamInfo<Form>& info) {
    std::string name;
    for (const char* c = info.param.name; *c; ++c)
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
});

} // namespace
