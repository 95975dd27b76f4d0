// CJpegFile: the in-place helpers, writing, reading and every failure path.
#include <jpeg/jpegfile.h>

#include "jpeg_test_pictures.h"
#include "support/foreign_tools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using jpegtest::readMarkers;
using testsupport::readFileBytes;
using testsupport::TempFolder;
using testsupport::writeFileBytes;

struct Decoded {
    std::unique_ptr<unsigned char[]> pixels;
    unsigned long width = 0;
    unsigned long height = 0;
};

Decoded decode(const std::string& path) {
    CJpegFile jpeg;
    Decoded d;
    d.width = d.height = 77; // must be overwritten
    d.pixels.reset(jpeg.JpegFileToRGB(path.c_str(), &d.width, &d.height));
    return d;
}

TEST(JpegFileHelpers, VertFlipBufExchangesRowsAndKeepsTheMiddleOne) {
    const struct {
        unsigned long rows;
        std::vector<unsigned char> before, after;
    } cases[] = {
        {0, {}, {}},
        {1, {1, 2}, {1, 2}},
        {2, {1, 2, 3, 4}, {3, 4, 1, 2}},
        {3, {1, 2, 3, 4, 5, 6}, {5, 6, 3, 4, 1, 2}},
    };
    CJpegFile jpeg;
    for (const auto& c : cases) {
        std::vector<unsigned char> buffer = c.before;
        buffer.push_back(99); // a byte after the rows stays untouched
        EXPECT_EQ(jpeg.VertFlipBuf(buffer.data(), 2, c.rows), 1) << c.rows;
        buffer.pop_back();
        EXPECT_EQ(buffer, c.after) << c.rows << " rows";
    }
    EXPECT_EQ(jpeg.VertFlipBuf(nullptr, 2, 2), 0);
}

TEST(JpegFileHelpers, BGRFromRGBSwapsBytesZeroAndTwoOfEveryPixel) {
    CJpegFile jpeg;
    std::vector<unsigned char> buffer{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 42};
    EXPECT_EQ(jpeg.BGRFromRGB(buffer.data(), 2, 2), 1);
    EXPECT_EQ(buffer, (std::vector<unsigned char>{3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 42}));
    EXPECT_EQ(jpeg.BGRFromRGB(buffer.data(), 0, 5), 1);
    EXPECT_EQ(jpeg.BGRFromRGB(nullptr, 2, 2), 0);
}

TEST(JpegFileWrite, RefusesMissingPixelsAndEmptySizesWithoutCreatingAFile) {
    TempFolder folder;
    const std::string path = folder.file("none.jpg");
    unsigned char pixel[3] = {1, 2, 3};
    CJpegFile jpeg;
    EXPECT_EQ(jpeg.RGBToJpegFile(path.c_str(), nullptr, 1, 1, 1, 70), 0);
    EXPECT_EQ(jpeg.RGBToJpegFile(path.c_str(), pixel, 0, 1, 1, 70), 0);
    EXPECT_EQ(jpeg.RGBToJpegFile(path.c_str(), pixel, 1, 0, 1, 70), 0);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(JpegFileWrite, ColourFileIsBaselineWithThreeComponentsAndReadsBackUnflipped) {
    TempFolder folder;
    const std::string path = folder.file("quadrants.jpg");
    std::vector<unsigned char> picture = jpegtest::quadrantPicture();
    const std::vector<unsigned char> original = picture;
    const unsigned side = 2 * jpegtest::kQuadrant;
    CJpegFile jpeg;
    ASSERT_EQ(jpeg.RGBToJpegFile(path.c_str(), picture.data(), side, side, 1, 90), 1);
    EXPECT_EQ(picture, original) << "the caller's pixels are not changed";

    const jpegtest::JpegMarkers markers = readMarkers(readFileBytes(path));
    EXPECT_TRUE(markers.baseline);
    EXPECT_EQ(markers.components, 3);
    EXPECT_EQ(markers.width, static_cast<int>(side));
    EXPECT_EQ(markers.height, static_cast<int>(side));

    const Decoded d = decode(path);
    ASSERT_TRUE(d.pixels);
    EXPECT_EQ(d.width, side);
    EXPECT_EQ(d.height, side);
    EXPECT_TRUE(jpegtest::matchesQuadrants(d.pixels.get(), 24));
}

// The grey products are truncated: green 255 gives 149, where rounding would give 150.
TEST(JpegFileWrite, GreyFileHasOneComponentAndTheTruncatedGreyValue) {
    const struct {
        unsigned char r, g, b;
        int grey;
    } cases[] = {{255, 0, 0, 76}, {0, 255, 0, 149}, {0, 0, 255, 29}, {200, 100, 50, 124}};
    TempFolder folder;
    CJpegFile jpeg;
    for (const auto& c : cases) {
        const unsigned side = 16; // uniform blocks survive quality 100 exactly
        std::vector<unsigned char> picture;
        for (unsigned i = 0; i < side * side; ++i)
            picture.insert(picture.end(), {c.r, c.g, c.b});
        const std::string path = folder.file("grey.jpg");
        ASSERT_EQ(jpeg.RGBToJpegFile(path.c_str(), picture.data(), side, side, 0, 100), 1);
        EXPECT_EQ(readMarkers(readFileBytes(path)).components, 1);
        const Decoded d = decode(path);
        ASSERT_TRUE(d.pixels);
        ASSERT_EQ(d.width * d.height, side * side);
        // A grey file still reads as 3 equal bytes a pixel.
        for (int channel = 0; channel < 3; ++channel)
            EXPECT_EQ(d.pixels[channel], c.grey) << int(c.r) << "," << int(c.g) << "," << int(c.b);
    }
}

// The quality reaches libjpeg unchanged and the tables stay baseline (8-bit) even at quality 1.
TEST(JpegFileWrite, QualityScalesTheQuantisationTables) {
    const struct {
        int quality;
        int luminanceDc;
    } cases[] = {{50, 16}, {70, 10}, {100, 1}, {1, 255}};
    TempFolder folder;
    CJpegFile jpeg;
    std::vector<unsigned char> picture = jpegtest::quadrantPicture();
    for (const auto& c : cases) {
        const std::string path = folder.file("q.jpg");
        ASSERT_EQ(jpeg.RGBToJpegFile(path.c_str(), picture.data(), 32, 32, 1, c.quality), 1);
        const jpegtest::JpegMarkers markers = readMarkers(readFileBytes(path));
        ASSERT_EQ(markers.firstQuantTable.size(), 64u) << "quality " << c.quality;
        EXPECT_EQ(markers.firstQuantTable[0], c.luminanceDc) << "quality " << c.quality;
        EXPECT_LE(*std::max_element(markers.firstQuantTable.begin(), markers.firstQuantTable.end()), 255);
    }
}

// libjpeg refuses a width above 65500: the error jumps back, the call answers 0 and frees everything.
TEST(JpegFileWrite, CodecErrorIsReportedAsFailure) {
    TempFolder folder;
    const unsigned width = 70000;
    std::vector<unsigned char> row(width * 3, 128);
    CJpegFile jpeg;
    EXPECT_EQ(jpeg.RGBToJpegFile(folder.file("wide.jpg").c_str(), row.data(), width, 1, 1, 70), 0);
    EXPECT_EQ(jpeg.RGBToJpegFile(folder.file("wide-grey.jpg").c_str(), row.data(), width, 1, 0, 70), 0);
}

TEST(JpegFileRead, BadFilesGiveNoBufferAndZeroSizes) {
    TempFolder folder;
    CJpegFile jpeg;
    std::vector<unsigned char> picture = jpegtest::quadrantPicture();
    const std::string good = folder.file("good.jpg");
    ASSERT_EQ(jpeg.RGBToJpegFile(good.c_str(), picture.data(), 32, 32, 1, 90), 1);
    const std::vector<unsigned char> valid = readFileBytes(good);

    std::vector<unsigned char> huge = valid;
    // Patch the frame header to claim 60000 x 60000 pixels: refused before anything is allocated.
    for (size_t at = 2; at + 9 < huge.size(); at += 2 + (huge[at + 2] << 8 | huge[at + 3])) {
        if (huge[at + 1] == 0xC0) {
            huge[at + 5] = huge[at + 7] = 0xEA;
            huge[at + 6] = huge[at + 8] = 0x60;
            break;
        }
    }
    const struct {
        const char* name;
        std::vector<unsigned char> bytes;
    } cases[] = {
        {"empty", {}},
        {"text", {'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'}},
        {"headers only", std::vector<unsigned char>(valid.begin(), valid.begin() + 200)},
        {"truncated", std::vector<unsigned char>(valid.begin(), valid.begin() + valid.size() / 2)},
        {"huge", huge},
    };
    for (const auto& c : cases) {
        const std::string path = folder.file("bad.jpg");
        writeFileBytes(path, c.bytes);
        const Decoded d = decode(path);
        EXPECT_FALSE(d.pixels) << c.name;
        EXPECT_EQ(d.width, 0u) << c.name;
        EXPECT_EQ(d.height, 0u) << c.name;
    }
    EXPECT_FALSE(decode(folder.file("missing.jpg")).pixels);
    unsigned long width = 5;
    unsigned long height = 5;
    EXPECT_EQ(jpeg.JpegFileToRGB(nullptr, &width, &height), nullptr);
    EXPECT_EQ(width, 0u);
    EXPECT_EQ(jpeg.JpegFileToRGB(good.c_str(), nullptr, &height), nullptr);
}

} // namespace
