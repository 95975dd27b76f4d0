// CRastel focus sums over a caller's 8-bit buffer, including regions reaching past the picture.
#include <bitmap/rastel.h>

#include "bmp_builder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

// A heap buffer of exactly stride x height grey bytes, so reads past it are caught.
std::unique_ptr<BYTE[]> greyPicture(int width, int height) {
    const uint32_t stride = bmptest::strideOf(width, 8);
    auto pixels = std::make_unique<BYTE[]>(stride * height);
    for (uint32_t i = 0; i < stride * height; ++i)
        pixels[i] = static_cast<BYTE>((i * 37 + i / stride * 11) % 256);
    return pixels;
}

// The sum written out directly for an interior region.
ULONG referenceSum(const BYTE* p, int stride, int x0, int y0, int x1, int y1, bool squared) {
    ULONG sum = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const int c = p[y * stride + x];
            const int d[4] = {c - p[y * stride + x - 1], c - p[y * stride + x + 1],
                              c - p[(y - 1) * stride + x], c - p[(y + 1) * stride + x]};
            for (int v : d)
                sum += squared ? static_cast<ULONG>(v * v) : static_cast<ULONG>(std::abs(v));
        }
    }
    return sum;
}

TEST(RastelFocus, SumsTheFourNeighbourDifferencesOfInteriorPixels) {
    BYTE centre[12] = {0, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0, 0};
    CRastel r;
    EXPECT_EQ(r.TotalDifference(centre, 3, 3), 40u);
    EXPECT_EQ(r.TotalDifference2(centre, 3, 3), 400u);
    EXPECT_EQ(r.TotalDifference(centre, 3, 2), 0u);
    EXPECT_EQ(r.TotalDifference2(centre, 2, 3), 0u);
    EXPECT_EQ(r.TotalDifference(nullptr, 3, 3), 0u);

    const auto picture = greyPicture(13, 7); // stride 16
    EXPECT_EQ(r.TotalDifference(picture.get(), 13, 7), referenceSum(picture.get(), 16, 1, 1, 12, 6, false));
    EXPECT_EQ(r.TotalDifference2(picture.get(), 13, 7), referenceSum(picture.get(), 16, 1, 1, 12, 6, true));
}

// Regions are clamped to imageWidth x imageHeight: one reaching past the picture sums what lies inside.
TEST(RastelFocus, RegionIsClampedToThePicture) {
    const auto picture = greyPicture(13, 7);
    CRastel r;
    const struct {
        ULONG x, y, width, height;
        ULONG expected;
    } cases[] = {
        {2, 1, 5, 4, referenceSum(picture.get(), 16, 3, 2, 6, 4, false)},
        {2, 1, 1000, 1000, referenceSum(picture.get(), 16, 3, 2, 12, 6, false)},
        {0, 0, 0xFFFFFFFFu, 0xFFFFFFFFu, referenceSum(picture.get(), 16, 1, 1, 12, 6, false)},
        {11, 0, 5, 7, 0},
        {13, 0, 5, 5, 0},
        {0, 7, 5, 5, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(r.TotalDifference(picture.get(), c.x, c.y, c.width, c.height, 13, 7), c.expected)
            << c.x << "," << c.y << " " << c.width << "x" << c.height;
    }
}

} // namespace
