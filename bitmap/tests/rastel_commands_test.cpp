// CRastel processing commands: what reaches the kernels, depth changes and their header blocks.
#include <bitmap/rastel.h>

#include "rastel_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using bmptest::Bytes;
using bmptest::le32;
using bmptest::pixelsOf;
using testsupport::TempFolder;

Bytes savedFile(CRastel& picture) {
    return bmptest::savedBytes(picture, TempFolder());
}

// A 24-bit picture of width 5 (padded rows) whose pixel i has blue i, green 2i and red 3i.
CRastel colourPicture(int width = 5, int height = 3) {
    const uint32_t stride = bmptest::strideOf(width, 24);
    Bytes pixels(stride * height, 0xEE);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int i = y * width + x;
            uint8_t* p = &pixels[y * stride + 3 * x];
            p[0] = static_cast<uint8_t>(i * 9);
            p[1] = static_cast<uint8_t>(i * 13);
            p[2] = static_cast<uint8_t>(i * 17);
        }
    }
    CRastel picture;
    EXPECT_EQ(picture.ReadBitmap(pixels.data(), width, height, 24), 1);
    return picture;
}

CRastel uniformPicture(int bits, BYTE value) {
    Bytes pixels(bmptest::strideOf(6, bits) * 4, value);
    CRastel picture;
    EXPECT_EQ(picture.ReadBitmap(pixels.data(), 6, 4, bits), 1);
    return picture;
}

TEST(RastelCommands, EveryCommandAnswersZeroWithoutAPicture) {
    const struct {
        const char* name;
        int (*run)(CRastel&);
    } commands[] = {
        {"Negative", [](CRastel& r) { return r.Negative(); }},
        {"HistogramEqualize", [](CRastel& r) { return r.HistogramEqualize(); }},
        {"Sharpen", [](CRastel& r) { return r.Sharpen(); }},
        {"Smooth", [](CRastel& r) { return r.Smooth(); }},
        {"Edge", [](CRastel& r) { return r.Edge(); }},
        {"Emboss", [](CRastel& r) { return r.Emboss(); }},
        {"Flip", [](CRastel& r) { return r.Flip(); }},
        {"Mirror", [](CRastel& r) { return r.Mirror(); }},
        {"Contrast", [](CRastel& r) { return r.Contrast(10, 10); }},
        {"Gamma1", [](CRastel& r) { return r.Gamma1(2.0f); }},
        {"HistogramStretch", [](CRastel& r) { return r.HistogramStretch(0, 255, 0, 255); }},
        {"RGBtoYUV", [](CRastel& r) { return r.RGBtoYUV(); }},
        {"YUVtoRGB", [](CRastel& r) { return r.YUVtoRGB(); }},
        {"RGBtoHSL", [](CRastel& r) { return r.RGBtoHSL(); }},
        {"HSLtoRGB", [](CRastel& r) { return r.HSLtoRGB(); }},
        {"ConvertToBW", [](CRastel& r) { return r.ConvertToBW(); }},
        {"Threshold", [](CRastel& r) { return r.Threshold(100); }},
    };
    for (const auto& c : commands) {
        CRastel empty;
        EXPECT_EQ(c.run(empty), 0) << c.name;
    }
}

// The arguments reach the kernels in their order: contrast -100 flattens every byte to 128 + brightness,
// and a stretch from (0, 255) to (255, 0) inverts.
TEST(RastelCommands, ArgumentsReachTheKernels) {
    CRastel flat = colourPicture();
    ASSERT_EQ(flat.Contrast(10, -100), 1);
    EXPECT_EQ(flat.GetBmpPixel()[0], 138);
    EXPECT_EQ(flat.GetBmpPixel()[14], 138);

    CRastel inverted = uniformPicture(8, 40);
    ASSERT_EQ(inverted.HistogramStretch(0, 255, 255, 0), 1);
    EXPECT_EQ(inverted.GetBmpPixel()[0], 215);

    for (float gamma : {-1.0f, 0.0f, NAN}) {
        CRastel grey = uniformPicture(8, 40);
        ASSERT_EQ(grey.Gamma1(gamma), 1);
        EXPECT_EQ(grey.GetBmpPixel()[0], 255) << "gamma " << gamma << " is applied as 0";
    }
}

// A kernel that does not handle the depth leaves the pixels and the command still answers 1.
TEST(RastelCommands, KernelRefusalsAreNotPassedOn) {
    CRastel bilevel = uniformPicture(1, 0x5A);
    const Bytes before = pixelsOf(bilevel);
    EXPECT_EQ(bilevel.Sharpen(), 1);
    EXPECT_EQ(pixelsOf(bilevel), before);

    CRastel grey = uniformPicture(8, 77);
    EXPECT_EQ(grey.RGBtoYUV(), 1);
    EXPECT_EQ(grey.GetBmpPixel()[0], 77);
}

TEST(RastelCommands, ConvertToBWMakesAGreyPictureWithTheGreyTable) {
    CRastel picture = colourPicture(641, 2);
    const Bytes colour = pixelsOf(picture);
    ASSERT_EQ(picture.ConvertToBW(), 1);
    EXPECT_EQ(picture.GetBitCount(), 8);
    EXPECT_EQ(picture.GetBmpSize(), 644u * 2);
    // Pixel 7 of the second row: (B + 6G + 3R) / 10 of its colour bytes.
    const uint8_t* c = &colour[1924 + 3 * 7];
    EXPECT_EQ(picture.GetBmpPixel()[644 + 7], (c[0] + 6 * c[1] + 3 * c[2]) / 10);
    const Bytes file = savedFile(picture);
    EXPECT_EQ(le32(file, 10), 1078u);
    EXPECT_EQ(file[54 + 4 * 200], 200);
    EXPECT_EQ(file[54 + 4 * 200 + 3], 200);

    for (int bits : {8, 16}) {
        CRastel other = uniformPicture(bits, 50);
        EXPECT_EQ(other.ConvertToBW(), 0) << bits;
        EXPECT_EQ(other.GetBitCount(), bits);
    }
}

TEST(RastelCommands, ThresholdMakesABilevelPicture) {
    CRastel picture = colourPicture(40, 2);
    ASSERT_EQ(picture.Threshold(100), 1);
    EXPECT_EQ(picture.GetBitCount(), 1);
    EXPECT_EQ(picture.GetBmpSize(), 8u * 2);
    // Pixel 4 (grey (36 + 312 + 204) / 10 = 55) is black, pixel 10 (grey 138) white.
    EXPECT_EQ(picture.GetBmpPixel()[0] & 0x08, 0);
    EXPECT_EQ(picture.GetBmpPixel()[1] & 0x20, 0x20);
    const Bytes file = savedFile(picture);
    EXPECT_EQ(le32(file, 10), 62u);
    EXPECT_EQ(Bytes(file.begin() + 54, file.begin() + 62), (Bytes{0, 0, 0, 0, 255, 255, 255, 0}));

    const Bytes bilevel = pixelsOf(picture);
    EXPECT_EQ(picture.Threshold(200), 1) << "a bilevel picture stays as it is";
    EXPECT_EQ(pixelsOf(picture), bilevel);

    CRastel sixteen = uniformPicture(4, 0x12);
    EXPECT_EQ(sixteen.Threshold(100), 0);
    EXPECT_EQ(sixteen.GetBitCount(), 4);
}

} // namespace
