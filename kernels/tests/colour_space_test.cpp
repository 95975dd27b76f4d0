// RGBtoYUV, YUVtoRGB, RGBtoHSL, HSLtoRGB: the formulas on chosen pixels, the walk and refusals.
#include <kernels/pixano.h>

#include "picture.h"

#include <gtest/gtest.h>

#include <array>

using pixano_test::Picture;
using pixano_test::Size;

namespace {

using Kernel = int (CPixano::*)(BYTE*, LONG, LONG, WORD);
using Bytes = std::array<BYTE, 3>;

struct Named {
    const char* name;
    Kernel kernel;
};
std::ostream& operator<<(std::ostream& os, const Named& n) { return os << n.name; }

const Named kKernels[] = {{"RGBtoYUV", &CPixano::RGBtoYUV},
                          {"YUVtoRGB", &CPixano::YUVtoRGB},
                          {"RGBtoHSL", &CPixano::RGBtoHSL},
                          {"HSLtoRGB", &CPixano::HSLtoRGB}};

// One pixel through a kernel, alone in a 1x1 picture.
Bytes convertOne(Kernel kernel, Bytes in) {
    Picture one(1, 1, 24);
    std::copy(in.begin(), in.end(), one.data());
    CPixano pixano;
    EXPECT_EQ((pixano.*kernel)(one.data(), 1, 1, 24), 0);
    return {one.bytes[0], one.bytes[1], one.bytes[2]};
}

// Bytes 0, 1, 2 in and out of one kernel; the expected values follow the formulas with their
// single-precision constants, truncation and clamping.
struct Case {
    Named kernel;
    Bytes in;
    Bytes out;
};
std::ostream& operator<<(std::ostream& os, const Case& c) {
    return os << c.kernel.name << "(" << int(c.in[0]) << "," << int(c.in[1]) << "," << int(c.in[2]) << ")";
}

const Case kCases[] = {
    // Greys keep their value with neutral colour differences.
    {kKernels[0], {0, 0, 0}, {0, 128, 128}},
    {kKernels[0], {100, 100, 100}, {100, 128, 128}},
    {kKernels[0], {255, 255, 255}, {255, 128, 128}},
    // Byte 0 is blue: pure red has a high V, pure blue a high U; both clamp.
    {kKernels[0], {0, 0, 255}, {76, 85, 255}},
    {kKernels[0], {255, 0, 0}, {29, 255, 107}},
    {kKernels[0], {40, 200, 90}, {148, 66, 86}},
    {kKernels[1], {100, 128, 128}, {100, 100, 100}},
    // Clamped, not wrapped: 250 + 1.77 x 127 is blue 255; 10 - 1.77 x 128 is blue 0.
    {kKernels[1], {250, 255, 128}, {255, 206, 250}},
    {kKernels[1], {10, 0, 128}, {0, 54, 10}},
    {kKernels[1], {128, 40, 220}, {0, 92, 255}},
    // Byte 0 is red here: greys get hue 170.
    {kKernels[2], {0, 0, 0}, {0, 0, 170}},
    {kKernels[2], {77, 77, 77}, {77, 0, 170}},
    {kKernels[2], {255, 255, 255}, {255, 0, 170}},
    {kKernels[2], {255, 0, 0}, {128, 255, 0}},
    {kKernels[2], {0, 255, 0}, {128, 255, 85}},
    {kKernels[2], {0, 0, 255}, {128, 255, 170}},
    {kKernels[2], {255, 0, 128}, {128, 255, 235}}, // hue 21 - 42 wraps into the byte
    {kKernels[2], {100, 50, 50}, {75, 85, 0}},     // lightness at most 127: the other saturation form
    {kKernels[3], {77, 0, 9}, {77, 77, 77}},
    {kKernels[3], {128, 255, 0}, {254, 1, 1}},
    {kKernels[3], {128, 255, 170}, {1, 1, 254}},
    {kKernels[3], {75, 85, 0}, {100, 49, 49}},
    {kKernels[3], {200, 100, 50}, {213, 221, 178}},
};

class ColourFormula : public testing::TestWithParam<Case> {};

TEST_P(ColourFormula, PixelConvertsAsComputed) {
    const Case& c = GetParam();
    EXPECT_EQ(convertOne(c.kernel.kernel, c.in), c.out);
}

INSTANTIATE_TEST_SUITE_P(ChosenPixels, ColourFormula, testing::ValuesIn(kCases));

// The lightness survives the trip through the HSL bytes of a grey for every value.
TEST(HSLtoRGB, GreyOfEveryLightnessWritesItIntoAllBytes) {
    for (int v = 0; v < 256; ++v) {
        const BYTE b = static_cast<BYTE>(v);
        ASSERT_EQ(convertOne(&CPixano::HSLtoRGB, {b, 0, 99}), (Bytes{b, b, b})) << v;
    }
}

class ColourWalk : public testing::TestWithParam<std::tuple<Size, Named>> {};

// Catches pixels found with the wrong stride, a pixel's bytes read after it was partly written,
// padding converted, and rows past the picture touched.
TEST_P(ColourWalk, EachPixelAsAloneAndPaddingStays) {
    const auto [size, named] = GetParam();
    Picture picture = Picture::noisy(size, 24, static_cast<uint32_t>(size.width * 13 + size.height));
    const Picture original = picture;
    CPixano pixano;
    ASSERT_EQ((pixano.*named.kernel)(picture.data(), size.width, size.height, 24), 0);
    for (LONG r = 0; r < size.height; ++r) {
        for (LONG c = 0; c < size.width; ++c) {
            const Bytes in = {original.at(r, c, 0), original.at(r, c, 1), original.at(r, c, 2)};
            const Bytes out = {picture.at(r, c, 0), picture.at(r, c, 1), picture.at(r, c, 2)};
            ASSERT_EQ(out, convertOne(named.kernel, in)) << "row " << r << " pixel " << c;
        }
        for (std::ptrdiff_t i = picture.rowBytes(); i < picture.stride; ++i) {
            ASSERT_EQ(picture.row(r)[i], original.row(r)[i]) << "padding of row " << r;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AwkwardSizes, ColourWalk,
                         testing::Combine(testing::ValuesIn(pixano_test::awkwardSizes()), testing::ValuesIn(kKernels)));

// Only 24-bit pictures are converted; others and null are refused untouched.
TEST(ColourSpace, RefusesOtherDepthsAndNull) {
    for (const Named& named : kKernels) {
        for (const WORD bits : {WORD{1}, WORD{8}, WORD{16}, WORD{32}}) {
            Picture picture(6, 3, bits);
            picture.noise(bits);
            const Picture original = picture;
            CPixano pixano;
            EXPECT_EQ((pixano.*named.kernel)(picture.data(), 6, 3, bits), 2) << named.name << " " << bits;
            EXPECT_EQ(picture.bytes, original.bytes) << named.name << " " << bits;
        }
        CPixano pixano;
        EXPECT_EQ((pixano.*named.kernel)(nullptr, 6, 3, 24), 1) << named.name;
        EXPECT_EQ((pixano.*named.kernel)(nullptr, 6, 3, 8), 1) << named.name;
    }
}

} // namespace
