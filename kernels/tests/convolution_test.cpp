// ConvolutionFilter: the filter table, its orientation, borders, padding and refused selectors.
#include <kernels/pixano.h>

#include "picture.h"
#include "progress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

using pixano_test::Picture;
using pixano_test::Size;

namespace {

struct Weights {
    int k[3][3];
    int divisor;
    int offset;
};

// Weights[a][b] applies to buffer row r - 1 + a, column c - 1 + b.
Weights weightsOf(FILTER f) {
    switch (f) {
    case FILTER_SHARPEN: return {{{0, -2, 0}, {-2, 11, -2}, {0, -2, 0}}, 3, 0};
    case FILTER_HIGHPASS: return {{{-1, -1, -1}, {-1, 9, -1}, {-1, -1, -1}}, 1, 0};
    case FILTER_EMBOSS: return {{{1, 1, 1}, {0, 0, 0}, {-1, -1, -1}}, 1, 127};
    case FILTER_EDGE: return {{{-1, 0, -1}, {0, 4, 0}, {-1, 0, -1}}, 1, 127};
    case FILTER_SMOOTH: return {{{1, 2, 1}, {2, 4, 2}, {1, 2, 1}}, 16, 0};
    }
    return {};
}

// The filtered byte k of pixel (r, c), computed straight from the unfiltered picture.
BYTE referenceFilter(const Picture& original, FILTER f, LONG r, LONG c, int k) {
    const Weights w = weightsOf(f);
    int sum = 0;
    for (int a = 0; a < 3; ++a) {
        for (int b = 0; b < 3; ++b) {
            sum += w.k[a][b] * original.at(r - 1 + a, c - 1 + b, k);
        }
    }
    return static_cast<BYTE>(std::clamp(sum / w.divisor + w.offset, 0, 255));
}

constexpr FILTER kAllFilters[] = {FILTER_SHARPEN, FILTER_HIGHPASS, FILTER_EMBOSS, FILTER_EDGE, FILTER_SMOOTH};

class ConvolutionReference : public testing::TestWithParam<std::tuple<Size, WORD, FILTER>> {};

// Catches wrong weights, neighbours taken from already filtered pixels, channels mixed at 24 bits,
// borders or padding written, and rows or columns past the picture touched.
TEST_P(ConvolutionReference, InteriorMatchesReferenceAndBorderAndPaddingStay) {
    const auto [size, bits, filter] = GetParam();
    Picture original = Picture::noisy(size, bits, static_cast<uint32_t>(size.width * 31 + bits + filter));
    Picture picture = original;

    CPixano pixano;
    ASSERT_EQ(pixano.ConvolutionFilter(picture.data(), size.width, size.height, bits, filter), 0);

    const int channels = bits / 8;
    for (LONG r = 0; r < size.height; ++r) {
        for (std::ptrdiff_t i = 0; i < picture.stride; ++i) {
            const LONG c = static_cast<LONG>(i / channels);
            const bool interior = r > 0 && r < size.height - 1 && c > 0 && c < size.width - 1;
            const BYTE expected =
                interior ? referenceFilter(original, filter, r, c, static_cast<int>(i % channels)) : original.row(r)[i];
            ASSERT_EQ(picture.row(r)[i], expected) << "row " << r << " byte " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AwkwardSizes, ConvolutionReference,
                         testing::Combine(testing::ValuesIn(pixano_test::awkwardSizes()),
                                          testing::Values(WORD{8}, WORD{24}), testing::ValuesIn(kAllFilters)));

// Catches a filter table row whose weights do not add up as they should on a flat picture.
TEST(ConvolutionFilter, UniformPictureKeepsOrGoesTo127) {
    struct Case {
        FILTER filter;
        BYTE interior;
    };
    const Case cases[] = {{FILTER_SHARPEN, 90}, {FILTER_HIGHPASS, 90}, {FILTER_SMOOTH, 90},
                          {FILTER_EDGE, 127},   {FILTER_EMBOSS, 127}};
    for (const WORD bits : {WORD{8}, WORD{24}}) {
        for (const Case& c : cases) {
            Picture picture(6, 5, bits, 90);
            CPixano pixano;
            ASSERT_EQ(pixano.ConvolutionFilter(picture.data(), 6, 5, bits, c.filter), 0);
            EXPECT_EQ(picture.at(2, 3, bits / 8 - 1), c.interior) << "filter " << c.filter << " bits " << bits;
            EXPECT_EQ(picture.at(0, 3), 90);
            EXPECT_EQ(picture.at(2, 5), 90);
        }
    }
}

// 3x3 grey fixtures and the filtered centre. Catches the weight rows applied upside down (the first
// row belongs to the buffer row before) and missing clamping above 255 and below 0.
TEST(ConvolutionFilter, SmallFixtures) {
    struct Case {
        const char* what;
        FILTER filter;
        BYTE rows[3][3];
        BYTE centre;
    };
    const Case cases[] = {
        {"emboss adds the row before", FILTER_EMBOSS, {{10, 10, 10}, {0, 0, 0}, {0, 0, 0}}, 157},
        {"emboss takes off the row after", FILTER_EMBOSS, {{0, 0, 0}, {0, 0, 0}, {10, 10, 10}}, 97},
        {"sharpen of a lone white dot", FILTER_SHARPEN, {{0, 0, 0}, {0, 255, 0}, {0, 0, 0}}, 255},
        {"edge of a lone black dot", FILTER_EDGE, {{255, 255, 255}, {255, 0, 255}, {255, 255, 255}}, 0},
    };
    for (const Case& c : cases) {
        Picture picture(3, 3, 8);
        for (LONG r = 0; r < 3; ++r) {
            std::copy_n(c.rows[r], 3, picture.row(r));
        }
        CPixano pixano;
        ASSERT_EQ(pixano.ConvolutionFilter(picture.data(), 3, 3, 8, c.filter), 0);
        EXPECT_EQ(picture.at(1, 1), c.centre) << c.what;
    }
}

// Catches reads past the filter table, filtering at depths it does not handle, pictures without an
// interior being touched, and a null buffer being dereferenced.
TEST(ConvolutionFilter, RefusedOrIgnoredInputChangesNothing) {
    struct Case {
        const char* what;
        LONG width, height;
        WORD bits;
        int filter;
        int result;
    };
    const Case cases[] = {
        {"selector 5", 6, 5, 8, 5, 2},         {"selector -1", 6, 5, 24, -1, 2},
        {"selector 1000", 6, 5, 8, 1000, 2},   {"1 bit", 64, 5, 1, FILTER_SMOOTH, 0},
        {"4 bits", 16, 5, 4, FILTER_SMOOTH, 0}, {"16 bits", 6, 5, 16, FILTER_SMOOTH, 0},
        {"32 bits", 6, 5, 32, FILTER_SMOOTH, 0}, {"2 wide", 2, 5, 24, FILTER_EDGE, 0},
        {"2 high", 6, 2, 8, FILTER_EDGE, 0},
    };
    for (const Case& c : cases) {
        Picture picture(c.width, c.height, c.bits);
        picture.noise(7);
        const Picture original = picture;
        CPixano pixano;
        EXPECT_EQ(pixano.ConvolutionFilter(picture.data(), c.width, c.height, c.bits, static_cast<FILTER>(c.filter)),
                  c.result)
            << c.what;
        EXPECT_EQ(picture.bytes, original.bytes) << c.what;
    }
    CPixano pixano;
    EXPECT_EQ(pixano.ConvolutionFilter(nullptr, 6, 5, 24, FILTER_SHARPEN), 1);
}

// Catches the division by zero of the progress of a picture with a single interior row.
TEST(ConvolutionFilter, ThreeRowColourPictureIsFiltered) {
    Picture picture(4, 3, 24, 90);
    picture.at(1, 1, 2) = 0;
    CPixano pixano;
    ASSERT_EQ(pixano.ConvolutionFilter(picture.data(), 4, 3, 24, FILTER_SMOOTH), 0);
    EXPECT_EQ(picture.at(1, 1, 2), (90 * 12) / 16);
    EXPECT_EQ(picture.at(1, 2, 2), (90 * 14) / 16);
}

TEST(Progress, PercentOfTheSpanAndZeroForAnEmptySpan) {
    EXPECT_EQ(pixano::progressPercent(0, 1, 0), 0);
    EXPECT_EQ(pixano::progressPercent(0, 10, 4), 44);
    EXPECT_EQ(pixano::progressPercent(0, 10, 9), 100);
    EXPECT_EQ(pixano::progressPercent(5, 5, 5), 0);
}

} // namespace
