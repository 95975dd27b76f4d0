// Color24To8 and Threshold: grey weights, the 1-bit packing, row strides and what stays untouched.
#include <kernels/pixano.h>

#include "picture.h"

#include <gtest/gtest.h>

using pixano_test::Picture;
using pixano_test::Size;

namespace {

std::ptrdiff_t strideOf(LONG width, int bits) { return ((static_cast<std::ptrdiff_t>(width) * bits + 31) / 32) * 4; }

// The grey conversion done literally: pixel by pixel from the first row, in place.
void referenceGrey(std::vector<BYTE>& b, LONG width, LONG height) {
    const std::ptrdiff_t s24 = strideOf(width, 24), s8 = strideOf(width, 8);
    for (LONG i = 0; i < height; ++i) {
        for (LONG j = 0; j < width; ++j) {
            const BYTE* p = &b[i * s24 + 3 * j];
            b[i * s8 + j] = static_cast<BYTE>((p[0] + 6 * p[1] + 3 * p[2]) / 10);
        }
    }
}

// The 1-bit packing done literally: one bit set or cleared per pixel, in place.
void referenceBits(std::vector<BYTE>& b, LONG width, LONG height, BYTE level) {
    const std::ptrdiff_t s8 = strideOf(width, 8), s1 = strideOf(width, 1);
    for (LONG i = 0; i < height; ++i) {
        for (LONG j = 0; j < width; ++j) {
            BYTE& out = b[i * s1 + j / 8];
            const BYTE bit = static_cast<BYTE>(0x80 >> (j % 8));
            out = static_cast<BYTE>(b[i * s8 + j] > level ? out | bit : out & ~bit);
        }
    }
}

class ThresholdReference : public testing::TestWithParam<std::tuple<Size, WORD>> {};

// Compares the whole buffer with the literal algorithm. Catches grey rows laid out with the colour
// stride, 1-bit rows with the grey stride, bits in the wrong order, values overwritten before they
// were read, the kept bits of a row's last byte lost, and bytes past the new rows touched.
TEST_P(ThresholdReference, WholeBufferMatchesLiteralAlgorithm) {
    const auto [size, bits] = GetParam();
    Picture picture = Picture::noisy(size, bits, static_cast<uint32_t>(size.width + 100 * bits));
    std::vector<BYTE> expected = picture.bytes;
    if (bits == 24) {
        referenceGrey(expected, size.width, size.height);
    }
    referenceBits(expected, size.width, size.height, 120);

    CPixano pixano;
    ASSERT_EQ(pixano.Threshold(picture.data(), size.width, size.height, bits, 120), 0);
    EXPECT_EQ(picture.bytes, expected);
}

INSTANTIATE_TEST_SUITE_P(AwkwardSizes, ThresholdReference,
                         testing::Combine(testing::ValuesIn(pixano_test::awkwardSizes()),
                                          testing::Values(WORD{8}, WORD{24})));

class GreyReference : public testing::TestWithParam<Size> {};

// Same comparison for the grey conversion alone.
TEST_P(GreyReference, WholeBufferMatchesLiteralAlgorithm) {
    const Size size = GetParam();
    Picture picture = Picture::noisy(size, 24, static_cast<uint32_t>(size.height + 7));
    std::vector<BYTE> expected = picture.bytes;
    referenceGrey(expected, size.width, size.height);
    CPixano pixano;
    ASSERT_EQ(pixano.Color24To8(picture.data(), size.width, size.height), 0);
    EXPECT_EQ(picture.bytes, expected);
}

INSTANTIATE_TEST_SUITE_P(AwkwardSizes, GreyReference, testing::ValuesIn(pixano_test::awkwardSizes()));

// Catches a >= comparison at the level and wrong grey weights (blue 10, green 20, red 30 is grey 22).
TEST(Threshold, LevelIsExclusiveAndGreyWeighsBlueGreenRed) {
    Picture grey(8, 1, 8);
    grey.at(0, 0) = 128;
    grey.at(0, 1) = 129;
    Picture colour(2, 1, 24);
    const BYTE bgr[2][3] = {{10, 20, 30}, {30, 20, 10}}; // grey 22 and 18
    for (int c = 0; c < 2; ++c) {
        for (int k = 0; k < 3; ++k) {
            colour.at(0, c, k) = bgr[c][k];
        }
    }
    CPixano pixano;
    ASSERT_EQ(pixano.Threshold(grey.data(), 8, 1, 8, 128), 0);
    ASSERT_EQ(pixano.Threshold(colour.data(), 2, 1, 24, 21), 0);
    EXPECT_EQ(grey.bytes[0], 0x40);
    EXPECT_EQ(colour.bytes[0] & 0xC0, 0x80);
}

// A 1-bit picture is already thresholded; 4, 16 and 32 bits are refused; null is refused.
TEST(Threshold, OtherDepthsChangeNothing) {
    struct Case {
        WORD bits;
        int result;
    };
    for (const Case c : {Case{1, 0}, Case{4, 2}, Case{16, 2}, Case{32, 2}}) {
        Picture picture(10, 3, c.bits);
        picture.noise(21);
        const Picture original = picture;
        CPixano pixano;
        EXPECT_EQ(pixano.Threshold(picture.data(), 10, 3, c.bits, 100), c.result) << c.bits;
        EXPECT_EQ(picture.bytes, original.bytes) << c.bits;
    }
    CPixano pixano;
    EXPECT_EQ(pixano.Threshold(nullptr, 10, 3, 8, 100), 1);
    EXPECT_EQ(pixano.Color24To8(nullptr, 10, 3), 1);
}

} // namespace
