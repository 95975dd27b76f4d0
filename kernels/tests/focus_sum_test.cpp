// TotalDifference1: the neighbour difference sum, its interior, the stride and the 32-bit limit.
#include <kernels/pixano.h>

#include "picture.h"

#include <gtest/gtest.h>

#include <cstdlib>

using pixano_test::Picture;
using pixano_test::Size;

namespace {

class FocusSumReference : public testing::TestWithParam<Size> {};

// Catches the border counted, neighbours taken at the wrong stride, and a direction left out.
TEST_P(FocusSumReference, MatchesStraightSum) {
    const Size size = GetParam();
    Picture picture = Picture::noisy(size, 8, static_cast<uint32_t>(size.width * 3));
    long long expected = 0;
    for (LONG r = 1; r + 1 < size.height; ++r) {
        for (LONG c = 1; c + 1 < size.width; ++c) {
            const int v = picture.at(r, c);
            expected += std::abs(v - picture.at(r - 1, c)) + std::abs(v - picture.at(r + 1, c)) +
                        std::abs(v - picture.at(r, c - 1)) + std::abs(v - picture.at(r, c + 1));
        }
    }
    CPixano pixano;
    EXPECT_EQ(pixano.TotalDifference1(picture.data(), size.width, size.height, 8), expected);
}

INSTANTIATE_TEST_SUITE_P(AwkwardSizes, FocusSumReference, testing::ValuesIn(pixano_test::awkwardSizes()));

TEST(TotalDifference1, DotAndRefusals) {
    Picture dot(3, 3, 8);
    dot.at(1, 1) = 10;
    CPixano pixano;
    EXPECT_EQ(pixano.TotalDifference1(dot.data(), 3, 3, 8), 40);
    EXPECT_EQ(pixano.TotalDifference1(dot.data(), 3, 2, 8), 0);
    Picture colour(3, 3, 24);
    EXPECT_EQ(pixano.TotalDifference1(colour.data(), 3, 3, 24), -1);
    EXPECT_EQ(pixano.TotalDifference1(nullptr, 3, 3, 8), -1);
}

// A checkerboard of 0 and 255 gives 1020 per interior pixel: 1598 x 1398 of them exceed 2^31 - 1,
// which a 32-bit sum would wrap into a negative or small value.
TEST(TotalDifference1, SumBeyond32BitsSaturates) {
    const LONG width = 1600, height = 1400;
    Picture board(width, height, 8);
    for (LONG r = 0; r < height; ++r) {
        for (LONG c = 0; c < width; ++c) {
            board.at(r, c) = (r + c) % 2 ? 255 : 0;
        }
    }
    CPixano pixano;
    EXPECT_EQ(pixano.TotalDifference1(board.data(), width, height, 8), INT32_MAX);
    // Just below the limit the exact sum comes back: 1598 x 1000 interior pixels.
    EXPECT_EQ(pixano.TotalDifference1(board.data(), width, 1002, 8), 1598 * 1000 * 1020);
}

} // namespace
