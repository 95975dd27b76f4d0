// Negative, Contrast and Gamma1: per-byte curves, what they cover (pixels or whole rows) and refusals.
#include <kernels/pixano.h>

#include "picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using pixano_test::Picture;
using pixano_test::Size;

namespace {

class NegativeEveryDepth : public testing::TestWithParam<std::tuple<Size, WORD>> {};

// Catches bytes skipped (padding, the last row, sub-byte depths) or written past the buffer.
TEST_P(NegativeEveryDepth, EveryByteInvertedPaddingIncluded) {
    const auto [size, bits] = GetParam();
    Picture picture = Picture::noisy(size, bits, static_cast<uint32_t>(bits * 3 + size.height));
    std::vector<BYTE> expected(picture.bytes.size());
    std::transform(picture.bytes.begin(), picture.bytes.end(), expected.begin(),
                   [](BYTE b) { return static_cast<BYTE>(255 - b); });
    CPixano pixano;
    ASSERT_EQ(pixano.Negative(picture.data(), size.width, size.height, bits), 0);
    EXPECT_EQ(picture.bytes, expected);
}

INSTANTIATE_TEST_SUITE_P(AwkwardSizes, NegativeEveryDepth,
                         testing::Combine(testing::ValuesIn(pixano_test::awkwardSizes()),
                                          testing::Values(WORD{1}, WORD{4}, WORD{8}, WORD{16}, WORD{24}, WORD{32})));

// Each case: one value v through Contrast(brightness, contrast).
TEST(Contrast, ValuesFollowTheSinglePrecisionFormula) {
    struct Case {
        const char* what;
        LONG brightness, contrast;
        BYTE v, expected;
    };
    const Case cases[] = {
        {"neutral", 0, 0, 77, 77},
        {"flat", 10, -100, 3, 138},
        {"flat from white", 10, -100, 255, 138},
        {"float rounding up", 0, 10, 18, 7},    // 1.1f * -110 + 128 is 7.0 in float, 6.99... in double
        {"float rounding down", 0, 7, 28, 20},  // and here 20.99... in float, 21.0 in double
        {"clamped high", 300, 0, 10, 255},
        {"clamped low", -300, 0, 250, 0},
        {"fraction dropped", 0, 10, 200, 207},
        {"extreme arguments", INT32_MAX, INT32_MAX, 200, 255},
    };
    for (const Case& c : cases) {
        for (const WORD bits : {WORD{8}, WORD{24}}) {
            Picture picture(3, 2, bits, c.v);
            CPixano pixano;
            ASSERT_EQ(pixano.Contrast(picture.data(), 3, 2, bits, c.brightness, c.contrast), 0);
            EXPECT_EQ(picture.at(1, 2, bits / 8 - 1), c.expected) << c.what << " at " << bits << " bits";
            // Width 3 leaves padding in both depths: it stays.
            EXPECT_EQ(picture.row(1)[picture.stride - 1], c.v) << c.what << " padding";
        }
    }
}

TEST(Contrast, RefusesDepthBeforeNull) {
    Picture picture(3, 2, 16, 50);
    CPixano pixano;
    EXPECT_EQ(pixano.Contrast(nullptr, 3, 2, 16, 10, 10), 2);
    EXPECT_EQ(pixano.Contrast(nullptr, 3, 2, 8, 10, 10), 1);
    EXPECT_EQ(pixano.Contrast(picture.data(), 3, 2, 16, 10, 10), 2);
    EXPECT_EQ(picture.bytes, Picture(3, 2, 16, 50).bytes);
}

// Each case: the byte values {0, 100, 127, 128, 255} through Gamma1(gamma), padding included.
TEST(Gamma1, TableOfValuesCoversWholeRows) {
    struct Case {
        const char* what;
        float gamma;
        std::vector<BYTE> expected;
    };
    const Case cases[] = {
        {"gamma 1 lifts the lower half", 1.0f, {1, 101, 128, 128, 255}},
        {"gamma 0 is white", 0.0f, {255, 255, 255, 255, 255}},
        {"gamma 2 darkens", 2.0f, {0, 40, 64, 65, 255}},
        {"negative gamma is white", -1.0f, {255, 255, 255, 255, 255}},
        {"not a number: black but 1 ^ NaN", std::numeric_limits<float>::quiet_NaN(), {0, 0, 0, 0, 255}},
    };
    for (const Case& c : cases) {
        // Width 1 at 24 bits: three colour bytes and one padding byte a row.
        Picture picture = Picture::valueRows(1, 24, {0, 100, 127, 128, 255});
        CPixano pixano;
        ASSERT_EQ(pixano.Gamma1(picture.data(), 1, 5, 24, c.gamma), 0);
        EXPECT_EQ(picture.bytes, Picture::valueRows(1, 24, c.expected).bytes) << c.what;
    }
}

TEST(Gamma1, RefusesNullBeforeDepth) {
    Picture picture(3, 2, 32, 50);
    CPixano pixano;
    EXPECT_EQ(pixano.Gamma1(nullptr, 3, 2, 32, 1.0f), 1);
    EXPECT_EQ(pixano.Gamma1(picture.data(), 3, 2, 32, 1.0f), 2);
    EXPECT_EQ(pixano.Gamma1(picture.data(), 3, 2, 4, 1.0f), 2);
    EXPECT_EQ(picture.bytes, Picture(3, 2, 32, 50).bytes);
    EXPECT_EQ(pixano.Negative(nullptr, 3, 2, 8), 1);
}

} // namespace
