// Flip and Mirror: rows exchanged, pixels (not bytes) reversed, padding kept at the row's end.
#include <kernels/pixano.h>

#include "picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using pixano_test::Picture;
using pixano_test::Size;

namespace {

// Bit `index` of a row, most significant bit of each byte first.
int bitAt(const BYTE* row, std::ptrdiff_t index) { return row[index / 8] >> (7 - index % 8) & 1; }

// The value of pixel c of a row at `bits` per pixel, read bit by bit.
uint32_t pixelAt(const BYTE* row, LONG c, WORD bits) {
    uint32_t v = 0;
    for (int b = 0; b < bits; ++b) {
        v = v << 1 | static_cast<uint32_t>(bitAt(row, static_cast<std::ptrdiff_t>(c) * bits + b));
    }
    return v;
}

using GeometryParam = std::tuple<Size, WORD>;
const auto kEveryDepth = testing::Combine(testing::ValuesIn(pixano_test::awkwardSizes()),
                                          testing::Values(WORD{1}, WORD{2}, WORD{4}, WORD{8}, WORD{16}, WORD{24},
                                                          WORD{32}));

class MirrorEveryDepth : public testing::TestWithParam<GeometryParam> {};

// Catches bytes reversed instead of pixels (colours swapped at 24 bits, sub-byte pixels scrambled),
// padding moved to the row's start, and the middle pixel of an odd row moved.
TEST_P(MirrorEveryDepth, PixelsReversedPaddingStays) {
    const auto [size, bits] = GetParam();
    Picture picture = Picture::noisy(size, bits, static_cast<uint32_t>(bits + size.width));
    const Picture original = picture;
    CPixano pixano;
    ASSERT_EQ(pixano.Mirror(picture.data(), size.width, size.height, bits), 0);
    for (LONG r = 0; r < size.height; ++r) {
        for (LONG c = 0; c < size.width; ++c) {
            ASSERT_EQ(pixelAt(picture.row(r), c, bits), pixelAt(original.row(r), size.width - 1 - c, bits))
                << "row " << r << " pixel " << c;
        }
        for (std::ptrdiff_t b = static_cast<std::ptrdiff_t>(size.width) * bits; b < picture.stride * 8; ++b) {
            ASSERT_EQ(bitAt(picture.row(r), b), bitAt(original.row(r), b)) << "row " << r << " padding bit " << b;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AwkwardSizes, MirrorEveryDepth, kEveryDepth);

class FlipEveryDepth : public testing::TestWithParam<GeometryParam> {};

// Catches a middle row moved, the last row missed and padding not travelling with its row.
TEST_P(FlipEveryDepth, RowsExchangedWhole) {
    const auto [size, bits] = GetParam();
    Picture picture = Picture::noisy(size, bits, static_cast<uint32_t>(bits * 5 + size.height));
    const Picture original = picture;
    CPixano pixano;
    ASSERT_EQ(pixano.Flip(picture.data(), size.width, size.height, bits), 0);
    for (LONG r = 0; r < size.height; ++r) {
        ASSERT_EQ(std::memcmp(picture.row(r), original.row(size.height - 1 - r), picture.stride), 0) << "row " << r;
    }
}

INSTANTIATE_TEST_SUITE_P(AwkwardSizes, FlipEveryDepth, kEveryDepth);

// The two small rows that show the byte-reversal fault.
TEST(Mirror, SmallRows) {
    Picture grey(4, 1, 8);
    const BYTE greyRow[4] = {1, 2, 3, 4};
    std::copy_n(greyRow, 4, grey.data());
    // Width 3 at 24 bits: nine colour bytes and three padding bytes.
    Picture colour(3, 1, 24);
    const BYTE colourRow[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0xA, 0xB, 0xC};
    std::copy_n(colourRow, 12, colour.data());

    CPixano pixano;
    ASSERT_EQ(pixano.Mirror(grey.data(), 4, 1, 8), 0);
    ASSERT_EQ(pixano.Mirror(colour.data(), 3, 1, 24), 0);
    EXPECT_EQ(grey.bytes, (std::vector<BYTE>{4, 3, 2, 1}));
    EXPECT_EQ(colour.bytes, (std::vector<BYTE>{7, 8, 9, 4, 5, 6, 1, 2, 3, 0xA, 0xB, 0xC}));
}

// Depths without a whole number of pixels per byte or bytes per pixel are refused untouched.
TEST(Mirror, RefusesOddDepthsAndNull) {
    for (const WORD bits : {WORD{3}, WORD{12}, WORD{20}}) {
        Picture picture(5, 2, bits);
        picture.noise(9);
        const Picture original = picture;
        CPixano pixano;
        EXPECT_EQ(pixano.Mirror(picture.data(), 5, 2, bits), 2) << bits;
        EXPECT_EQ(picture.bytes, original.bytes) << bits;
    }
    CPixano pixano;
    EXPECT_EQ(pixano.Mirror(nullptr, 5, 2, 8), 1);
    EXPECT_EQ(pixano.Flip(nullptr, 5, 2, 8), 1);
}

// A negative height is a top-down picture of |height| rows: flipped as a whole, nothing past it.
TEST(Flip, NegativeHeightFlipsAllRows) {
    Picture picture(2, 3, 8);
    picture.noise(4);
    const Picture original = picture;
    CPixano pixano;
    ASSERT_EQ(pixano.Flip(picture.data(), 2, -3, 8), 0);
    EXPECT_EQ(std::memcmp(picture.row(0), original.row(2), 4), 0);
    EXPECT_EQ(std::memcmp(picture.row(2), original.row(0), 4), 0);
}

} // namespace
