// HistogramEqualize and HistogramStretch: the curves, per-channel counting, padding and refusals.
#include <kernels/pixano.h>

#include "picture.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

using pixano_test::Picture;
using pixano_test::Size;

namespace {

// The equalised value of every byte k of the first width pixels, from a straight recount.
std::array<BYTE, 256> referenceEqualize(const Picture& p, int k) {
    const int channels = p.bits / 8;
    std::array<float, 256> count{};
    for (LONG r = 0; r < p.height; ++r) {
        for (LONG c = 0; c < p.width; ++c) {
            count[p.at(r, c, k)] += 1.0f;
        }
    }
    std::array<BYTE, 256> curve{};
    float cdf = 0.0f;
    for (int v = 0; v < 256; ++v) {
        cdf += count[v] / static_cast<float>(p.width * p.height);
        curve[v] = static_cast<BYTE>(cdf * 255.0f + (channels == 3 ? 0.5f : 0.0f));
    }
    return curve;
}

class EqualizeReference : public testing::TestWithParam<std::tuple<Size, WORD>> {};

// Catches padding counted or changed, channels sharing one histogram, and the 24-bit rounding lost.
TEST_P(EqualizeReference, EveryChannelFollowsItsOwnCumulativeHistogram) {
    const auto [size, bits] = GetParam();
    Picture original = Picture::noisy(size, bits, static_cast<uint32_t>(size.height * 17 + bits));
    // Keep one channel to a narrow range so that the channels' histograms differ clearly.
    for (LONG r = 0; r < size.height; ++r) {
        for (LONG c = 0; c < size.width; ++c) {
            original.at(r, c) = static_cast<BYTE>(original.at(r, c) % 8);
        }
    }
    Picture picture = original;
    CPixano pixano;
    ASSERT_EQ(pixano.HistogramEqualize(picture.data(), size.width, size.height, bits), 0);

    const int channels = bits / 8;
    for (int k = 0; k < channels; ++k) {
        const auto curve = referenceEqualize(original, k);
        for (LONG r = 0; r < size.height; ++r) {
            for (LONG c = 0; c < size.width; ++c) {
                ASSERT_EQ(picture.at(r, c, k), curve[original.at(r, c, k)]) << r << "," << c << " channel " << k;
            }
        }
    }
    for (LONG r = 0; r < size.height; ++r) {
        for (std::ptrdiff_t i = picture.rowBytes(); i < picture.stride; ++i) {
            ASSERT_EQ(picture.row(r)[i], original.row(r)[i]) << "padding of row " << r;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AwkwardSizes, EqualizeReference,
                         testing::Combine(testing::ValuesIn(pixano_test::awkwardSizes()),
                                          testing::Values(WORD{8}, WORD{24})));

TEST(HistogramEqualize, FlatPictureGoesWhite) {
    for (const WORD bits : {WORD{8}, WORD{24}}) {
        Picture picture(5, 3, bits, 100);
        CPixano pixano;
        ASSERT_EQ(pixano.HistogramEqualize(picture.data(), 5, 3, bits), 0);
        EXPECT_EQ(picture.at(1, 2, bits / 8 - 1), 255) << bits;
    }
}

// Catches equalisation at depths whose bytes are not grey or colour values, and a null dereference.
TEST(HistogramEqualize, OtherDepthsAndNullChangeNothing) {
    for (const WORD bits : {WORD{1}, WORD{4}, WORD{16}, WORD{32}}) {
        Picture picture(9, 4, bits);
        picture.noise(3);
        const Picture original = picture;
        CPixano pixano;
        EXPECT_EQ(pixano.HistogramEqualize(picture.data(), 9, 4, bits), 0);
        EXPECT_EQ(picture.bytes, original.bytes) << bits;
    }
    CPixano pixano;
    EXPECT_EQ(pixano.HistogramEqualize(nullptr, 9, 4, 8), 1);
}

// Each row maps the input bytes {0, 10, 100, 200, 255} (padding included) through one stretch.
TEST(HistogramStretch, MapsEveryByteIncludingPadding) {
    struct Case {
        const char* what;
        int inLow, inHigh, outLow, outHigh;
        std::vector<BYTE> expected;
    };
    const Case cases[] = {
        {"identity", 0, 255, 0, 255, {0, 10, 100, 200, 255}},
        {"double", 0, 127, 0, 255, {0, 20, 201, 255, 255}},
        {"raise", 0, 255, 100, 255, {100, 106, 161, 222, 255}},
        {"invert", 0, 255, 255, 0, {255, 245, 155, 55, 0}},
        {"equal bounds", 100, 100, 0, 255, {0, 0, 0, 255, 255}},
    };
    for (const Case& c : cases) {
        // Width 1 at 8 bits: one value and three padding bytes a row.
        Picture picture = Picture::valueRows(1, 8, {0, 10, 100, 200, 255});
        CPixano pixano;
        ASSERT_EQ(pixano.HistogramStretch(picture.data(), 1, 5, 8, c.inLow, c.inHigh, c.outLow, c.outHigh), 0);
        EXPECT_EQ(picture.bytes, Picture::valueRows(1, 8, c.expected).bytes) << c.what;
    }
}

// Catches integer overflow in the bound differences (extreme but legal int arguments).
TEST(HistogramStretch, ExtremeBoundsStayDefined) {
    Picture picture(4, 2, 24);
    picture.noise(11);
    CPixano pixano;
    EXPECT_EQ(pixano.HistogramStretch(picture.data(), 4, 2, 24, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN), 0);
}

TEST(HistogramStretch, RefusesNullThenDepth) {
    Picture picture(4, 2, 16);
    picture.noise(5);
    const Picture original = picture;
    CPixano pixano;
    EXPECT_EQ(pixano.HistogramStretch(nullptr, 4, 2, 16, 0, 255, 0, 255), 1);
    EXPECT_EQ(pixano.HistogramStretch(picture.data(), 4, 2, 16, 0, 255, 0, 255), 2);
    EXPECT_EQ(pixano.HistogramStretch(picture.data(), 4, 2, 1, 0, 255, 0, 255), 2);
    EXPECT_EQ(picture.bytes, original.bytes);
}

} // namespace
