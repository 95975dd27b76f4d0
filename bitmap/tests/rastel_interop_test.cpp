// CRastel BMP files judged by ImageMagick: it reads what we write, and we read what it writes.
#include <bitmap/rastel.h>

#include "bmp_builder.h"
#include "support/foreign_tools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using bmptest::Bytes;
using testsupport::haveTool;
using testsupport::runCommand;
using testsupport::TempFolder;

constexpr int kWidth = 7; // odd, so every depth pads its rows
constexpr int kHeight = 5;

std::string quoted(const std::string& path) {
    return "'" + path + "'";
}

// Width, height and depth as ImageMagick reports them.
std::string identify(const std::string& path) {
    bool ok = false;
    const std::string out = runCommand("identify -format '%w %h %z' " + quoted(path), ok);
    return ok ? out : "identify failed";
}

// The picture as ImageMagick decodes it: top-down rows of red, green, blue.
Bytes decodedRgb(const std::string& path) {
    bool ok = false;
    const std::string out = runCommand("convert " + quoted(path) + " -depth 8 rgb:-", ok);
    return ok ? Bytes(out.begin(), out.end()) : Bytes();
}

// Standard colour of palette index `v` at `bits`, as the buffer loader's header block has it.
uint8_t standardLevel(int bits, int v) {
    return static_cast<uint8_t>(bits == 1 ? v * 255 : bits == 4 ? v * 17 : v);
}

struct Depth {
    int bits;
    const char* depth; // ImageMagick's %z
};

void PrintTo(const Depth& d, std::ostream* out) {
    *out << d.bits << " bits";
}

class RastelWrittenBmp : public testing::TestWithParam<Depth> {};

// A picture saved by SaveBitmap has the right size, depth and pixel values for ImageMagick.
TEST_P(RastelWrittenBmp, ImageMagickReadsSizeDepthAndPixels) {
    if (!haveTool("identify") || !haveTool("convert"))
        GTEST_SKIP() << "ImageMagick is not installed";
    const int bits = GetParam().bits;
    const uint32_t stride = bmptest::strideOf(kWidth, bits);
    Bytes pixels(stride * kHeight);
    Bytes expected; // top-down RGB
    const int levels = bits == 24 ? 256 : 1 << bits;
    for (int row = kHeight - 1; row >= 0; --row) {
        for (int x = 0; x < kWidth; ++x) {
            const int v = (x * 5 + row * 3) % levels;
            if (bits == 24) {
                const uint8_t bgr[3] = {static_cast<uint8_t>(v), static_cast<uint8_t>(x * 30),
                                        static_cast<uint8_t>(row * 50)};
                std::copy(bgr, bgr + 3, &pixels[row * stride + 3 * x]);
                expected.insert(expected.end(), {bgr[2], bgr[1], bgr[0]});
                continue;
            }
            const int perByte = 8 / bits;
            const int shift = 8 - bits * (x % perByte + 1);
            pixels[row * stride + x / perByte] |= static_cast<uint8_t>(v << shift);
            const uint8_t level = standardLevel(bits, v);
            expected.insert(expected.end(), {level, level, level});
        }
    }
    CRastel picture;
    ASSERT_EQ(picture.ReadBitmap(pixels.data(), kWidth, kHeight, bits), 1);
    TempFolder folder;
    const std::string path = folder.file("ours.bmp");
    ASSERT_EQ(picture.SaveBitmap(path.c_str()), 0);
    EXPECT_EQ(identify(path), "7 5 " + std::string(GetParam().depth));
    EXPECT_EQ(decodedRgb(path), expected);
}

INSTANTIATE_TEST_SUITE_P(Depths, RastelWrittenBmp,
                         testing::Values(Depth{1, "1"}, Depth{4, "4"}, Depth{8, "8"}, Depth{24, "8"}),
                         [](const testing::TestParamInfo<Depth>& info) {
                             return std::to_string(info.param.bits) + "bit";
                         });

// A 7 x 5 PPM picture of 35 colours; returns its path.
std::string writeSourcePicture(const TempFolder& folder) {
    const std::string path = folder.file("source.ppm");
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return path;
    std::fprintf(out, "P6\n%d %d\n255\n", kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const uint8_t rgb[3] = {static_cast<uint8_t>(x * 36), static_cast<uint8_t>(y * 60),
                                    static_cast<uint8_t>((x + y) * 20)};
            std::fwrite(rgb, 1, 3, out);
        }
    }
    std::fclose(out);
    return path;
}

struct Foreign {
    const char* name;
    const char* options;
    const char* format; // BMP3: 40-byte header; BMP: 108 or 124-byte header; BMP2: core header
    int fileBits;
    uint32_t compression; // as ImageMagick writes it: 0 none, 1 run-length, 3 bit fields
    int heldBits;  // depth after loading: 16 and 32 bits are held at 24
    int tolerance; // ImageMagick scales 5 and 6-bit fields to 8 bits a step away from ours for some values
};

void PrintTo(const Foreign& f, std::ostream* out) {
    *out << f.name;
}

class ForeignBmp : public testing::TestWithParam<Foreign> {};

// A BMP written by ImageMagick loads with the pixels ImageMagick itself sees in it (checked through a
// save, which it reads as the same picture), and its 24-bit pixels arrive bottom-up in blue-green-red.
TEST_P(ForeignBmp, LoadsWithThePixelsImageMagickSees) {
    if (!haveTool("convert"))
        GTEST_SKIP() << "ImageMagick is not installed";
    const Foreign f = GetParam();
    TempFolder folder;
    const std::string ppm = writeSourcePicture(folder);
    const std::string theirs = folder.file("theirs.bmp");
    bool ok = false;
    runCommand("convert " + quoted(ppm) + " " + f.options + " " + f.format + ":" + quoted(theirs), ok);
    ASSERT_TRUE(ok);
    const Bytes theirBytes = testsupport::readFileBytes(theirs);
    const bool core = bmptest::le32(theirBytes, 14) == 12;
    ASSERT_EQ(bmptest::le16(theirBytes, core ? 24 : 28), f.fileBits) << "ImageMagick chose another depth";
    if (!core) {
        ASSERT_EQ(bmptest::le32(theirBytes, 30), f.compression) << "ImageMagick chose another coding";
    }

    CRastel picture;
    ASSERT_EQ(picture.ReadBitmap(theirs.c_str()), 1) << f.name;
    EXPECT_EQ(picture.GetBitCount(), f.heldBits);
    EXPECT_EQ(picture.GetBmpWidth(), static_cast<ULONG>(kWidth));
    EXPECT_EQ(picture.GetBmpHeight(), static_cast<ULONG>(kHeight));
    const std::string ours = folder.file("ours.bmp");
    ASSERT_EQ(picture.SaveBitmap(ours.c_str()), 0);
    const Bytes seen = decodedRgb(theirs);
    ASSERT_EQ(seen.size(), static_cast<size_t>(kWidth * kHeight * 3));
    const Bytes held = decodedRgb(ours);
    ASSERT_EQ(held.size(), seen.size());
    int worst = 0;
    for (size_t i = 0; i < seen.size(); ++i)
        worst = std::max(worst, std::abs(held[i] - seen[i]));
    EXPECT_LE(worst, f.tolerance);
    if (f.heldBits == 24) {
        const BYTE* bottomLeft = picture.GetBmpPixel();
        const uint8_t* seenBottomLeft = &seen[(kHeight - 1) * kWidth * 3];
        EXPECT_NEAR(bottomLeft[0], seenBottomLeft[2], f.tolerance);
        EXPECT_NEAR(bottomLeft[1], seenBottomLeft[1], f.tolerance);
        EXPECT_NEAR(bottomLeft[2], seenBottomLeft[0], f.tolerance);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Depths, ForeignBmp,
    testing::Values(Foreign{"bilevel", "-monochrome -compress none", "BMP3", 1, 0, 1, 0},
                    Foreign{"bilevel_v4", "-monochrome -compress none", "BMP", 1, 0, 1, 0},
                    Foreign{"palette16", "-colors 12 -type palette -compress none", "BMP3", 4, 0, 4, 0},
                    Foreign{"palette16_v5", "-colors 12 -type palette -compress none", "BMP", 4, 0, 4, 0},
                    Foreign{"palette256", "-type palette -compress none", "BMP3", 8, 0, 8, 0},
                    Foreign{"palette256_v5", "-type palette -compress none", "BMP", 8, 0, 8, 0},
                    // ImageMagick's default for 256 colours: run-length coded, the row padding coded as pixels.
                    Foreign{"palette256_rle", "-type palette", "BMP3", 8, 1, 8, 0},
                    Foreign{"palette256_rle_v5", "-type palette", "BMP", 8, 1, 8, 0},
                    Foreign{"palette256_core", "-type palette", "BMP2", 8, 0, 8, 0},
                    Foreign{"truecolour", "-type truecolor -compress none", "BMP3", 24, 0, 24, 0},
                    Foreign{"truecolour_v5", "-type truecolor -compress none", "BMP", 24, 0, 24, 0},
                    Foreign{"truecolour_core", "-type truecolor", "BMP2", 24, 0, 24, 0},
                    Foreign{"rgb565_v5", "-define bmp:subtype=RGB565", "BMP", 16, 3, 24, 1},
                    Foreign{"rgb555_v5", "-define bmp:subtype=RGB555", "BMP", 16, 3, 24, 1},
                    Foreign{"alpha_v5", "-alpha on -channel A -evaluate set 50% +channel", "BMP", 32, 3, 24, 0},
                    Foreign{"alpha", "-alpha on -define bmp3:alpha=true", "BMP3", 32, 0, 24, 0}),
    [](const testing::TestParamInfo<Foreign>& info) { return std::string(info.param.name); });

} // namespace
