// CRastel regions: SplitBmp and ReadSplitBmp copy the right rows and bytes, clamp, and refuse bad regions.
#include <bitmap/rastel.h>

#include "show_canvas.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int kWidth = 9;
constexpr int kHeight = 6;

// The region {x, y (lowest bottom-up row), width, height} of a bottom-up DIB pixel buffer as DIB rows of
// the region's size, zero padding.
std::vector<BYTE> regionOf(const std::vector<BYTE>& pixels, int picWidth, int bits, int x, int y, int width,
                           int height) {
    const int bytes = bits / 8;
    const int stride = DibStride(picWidth, static_cast<WORD>(bits));
    const int rowBytes = DibStride(width, static_cast<WORD>(bits));
    std::vector<BYTE> region(static_cast<size_t>(rowBytes) * height, 0);
    for (int i = 0; i < height; ++i)
        for (int b = 0; b < width * bytes; ++b)
            region[static_cast<size_t>(i * rowBytes + b)] =
                pixels[static_cast<size_t>((y + i) * stride + x * bytes + b)];
    return region;
}

std::vector<BYTE> greyPixels(int width, int height) {
    std::vector<BYTE> pixels(static_cast<size_t>(DibStride(width, 8)) * height);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<BYTE>(i * 7 + 1);
    return pixels;
}

struct RegionCase {
    const char* name;
    int bits;
    int x, y, width, height;     // as asked
    int cx, cy, cwidth, cheight; // after clamping
};

void PrintTo(const RegionCase& c, std::ostream* out) {
    *out << c.name;
}

std::vector<BYTE> picturePixels(int bits) {
    return bits == 24 ? showtest::placePixels(kWidth, kHeight) : greyPixels(kWidth, kHeight);
}

class RastelRegion : public testing::TestWithParam<RegionCase> {};

// SplitBmp copies the clamped region of the working pixels, rows padded with zeros.
TEST_P(RastelRegion, SplitCopiesTheClampedRegion) {
    const RegionCase& c = GetParam();
    std::vector<BYTE> pixels = picturePixels(c.bits);
    CRastel picture;
    ASSERT_EQ(picture.ReadBitmap(pixels.data(), kWidth, kHeight, c.bits), 1);
    const std::vector<BYTE> want = regionOf(pixels, kWidth, c.bits, c.cx, c.cy, c.cwidth, c.cheight);
    std::vector<BYTE> got(want.size() + 16, 0xAA);
    ASSERT_EQ(picture.SplitBmp(c.x, c.y, c.width, c.height, c.bits, got.data()), 1);
    EXPECT_EQ(std::vector<BYTE>(got.begin(), got.begin() + static_cast<long>(want.size())), want);
    EXPECT_EQ(got[want.size()], 0xAA) << "wrote past the region";
}

// ReadSplitBmp makes a picture of the clamped region of a buffer sized exactly to its rows, so a copy
// past its end shows under the address sanitizer.
TEST_P(RastelRegion, ReadSplitLoadsTheClampedRegion) {
    const RegionCase& c = GetParam();
    const std::vector<BYTE> pixels = picturePixels(c.bits);
    std::vector<BYTE> source = pixels;
    CRastel picture;
    ASSERT_EQ(picture.ReadSplitBmp(source.data(), kWidth, kHeight, c.x, c.y, c.width, c.height, c.bits), 1);
    EXPECT_EQ(static_cast<int>(picture.GetBmpWidth()), c.cwidth);
    EXPECT_EQ(static_cast<int>(picture.GetBmpHeight()), c.cheight);
    EXPECT_EQ(picture.GetBitCount(), c.bits);
    const std::vector<BYTE> want = regionOf(pixels, kWidth, c.bits, c.cx, c.cy, c.cwidth, c.cheight);
    ASSERT_EQ(picture.GetBmpSize(), want.size());
    EXPECT_EQ(std::vector<BYTE>(picture.GetBmpPixel(), picture.GetBmpPixel() + want.size()), want);
}

INSTANTIATE_TEST_SUITE_P(
    Regions, RastelRegion,
    testing::Values(RegionCase{"Inside24", 24, 2, 1, 5, 3, 2, 1, 5, 3},
                    RegionCase{"Inside8", 8, 1, 2, 3, 4, 1, 2, 3, 4},
                    RegionCase{"PastTheRightEdgeMovesBack", 24, 6, 0, 5, 2, 4, 0, 5, 2},
                    RegionCase{"PastTheTopMovesDown", 8, 0, 4, 2, 5, 0, 1, 2, 5},
                    RegionCase{"LargerThanThePicture", 24, 3, 3, 50, 50, 0, 0, 9, 6},
                    RegionCase{"LastRowShorterThanRegionRow", 24, 8, 5, 2, 1, 7, 5, 2, 1}),
    [](const testing::TestParamInfo<RegionCase>& info) { return std::string(info.param.name); });

struct Refusal {
    const char* name;
    int x, y, width, height, bits;
};

void PrintTo(const Refusal& r, std::ostream* out) {
    *out << r.name;
}

class RastelRegionRefusal : public testing::TestWithParam<Refusal> {};

// Empty regions, regions starting outside the picture and depths that do not match (or that regions cannot
// cut on a byte) are refused: SplitBmp writes nothing and ReadSplitBmp leaves the object empty.
TEST_P(RastelRegionRefusal, NothingIsCopied) {
    const Refusal& r = GetParam();
    std::vector<BYTE> pixels = showtest::placePixels(kWidth, kHeight);
    CRastel picture;
    ASSERT_EQ(picture.ReadBitmap(pixels.data(), kWidth, kHeight, 24), 1);
    std::vector<BYTE> out(4096, 0xAA);
    EXPECT_EQ(picture.SplitBmp(r.x, r.y, r.width, r.height, r.bits, out.data()), 0);
    EXPECT_EQ(out, std::vector<BYTE>(4096, 0xAA));

    if (r.bits == 8)
        return; // a mismatch of SplitBmp only; the buffer of ReadSplitBmp has the depth it is told
    CRastel loaded;
    ASSERT_EQ(loaded.ReadBitmap(pixels.data(), kWidth, kHeight, 24), 1);
    EXPECT_EQ(loaded.ReadSplitBmp(pixels.data(), kWidth, kHeight, r.x, r.y, r.width, r.height, r.bits), 0);
    EXPECT_EQ(loaded.GetBmpPixel(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, RastelRegionRefusal,
    testing::Values(Refusal{"ZeroWidth", 0, 0, 0, 3, 24}, Refusal{"NegativeHeight", 0, 0, 3, -1, 24},
                    Refusal{"NegativeX", -1, 0, 3, 3, 24}, Refusal{"NegativeY", 0, -2, 3, 3, 24},
                    Refusal{"XBeyondTheRightEdge", kWidth, 0, 3, 3, 24},
                    Refusal{"YAboveTheTop", 0, kHeight, 3, 3, 24}, Refusal{"OtherDepth", 0, 0, 3, 3, 8},
                    Refusal{"OneBit", 0, 0, 3, 3, 1}),
    [](const testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

// The remaining refusals: no buffer, no picture, a source buffer without size or of an absurd size.
TEST(RastelRegionMissing, NullBuffersAndEmptyObjects) {
    std::vector<BYTE> pixels = showtest::placePixels(kWidth, kHeight);
    CRastel empty;
    std::vector<BYTE> out(64, 0xAA);
    EXPECT_EQ(empty.SplitBmp(0, 0, 2, 2, 24, out.data()), 0);
    CRastel picture;
    ASSERT_EQ(picture.ReadBitmap(pixels.data(), kWidth, kHeight, 24), 1);
    EXPECT_EQ(picture.SplitBmp(0, 0, 2, 2, 24, nullptr), 0);
    EXPECT_EQ(picture.ReadSplitBmp(nullptr, kWidth, kHeight, 0, 0, 2, 2, 24), 0);
    EXPECT_EQ(picture.ReadSplitBmp(pixels.data(), 0, kHeight, 0, 0, 2, 2, 24), 0);
    EXPECT_EQ(picture.ReadSplitBmp(pixels.data(), kWidth, -kHeight, 0, 0, 2, 2, 24), 0);
    // A width whose 24-bit stride wraps 32 bits to 8 bytes: refused, not read as 8-byte rows.
    EXPECT_EQ(picture.ReadSplitBmp(pixels.data(), 1431655768, 1, 0, 0, 2, 1, 24), 0);
}

// A region loaded at 8 bits gets the grey colour table: it shows as the grey of its values.
TEST(RastelRegionLoaded, EightBitRegionIsGrey) {
    std::vector<BYTE> pixels = greyPixels(kWidth, kHeight);
    CRastel picture;
    ASSERT_EQ(picture.ReadSplitBmp(pixels.data(), kWidth, kHeight, 2, 1, 4, 3, 8), 1);
    showtest::Canvas canvas(4, 3);
    _tagSHOWRECT dst{0, 0, 4, 3}, src{0, 0, 4, 3};
    ASSERT_EQ(picture.ShowBitmap(canvas.dc(), &dst, &src), 0);
    // Top-left of the region is its highest row, bottom-up row 1 + 2 = 3, column 2.
    const BYTE v = pixels[static_cast<size_t>(3 * DibStride(kWidth, 8) + 2)];
    EXPECT_EQ(canvas.at(0, 0), static_cast<uint32_t>(v) * 0x010101u);
}

} // namespace
