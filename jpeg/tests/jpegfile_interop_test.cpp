// CJpegFile against libjpeg's own command-line tools: djpeg reads our files, we read cjpeg's.
#include <jpeg/jpegfile.h>

#include "jpeg_test_pictures.h"
#include "support/foreign_tools.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using testsupport::haveTool;
using testsupport::runCommand;
using testsupport::TempFolder;

constexpr unsigned kSide = 2 * jpegtest::kQuadrant;

TEST(JpegFileInterop, DjpegDecodesOurFileToTheRightSizeAndColours) {
    if (!haveTool("djpeg"))
        GTEST_SKIP() << "djpeg is not installed";
    TempFolder folder;
    const std::string path = folder.file("ours.jpg");
    std::vector<unsigned char> picture = jpegtest::quadrantPicture();
    CJpegFile jpeg;
    ASSERT_EQ(jpeg.RGBToJpegFile(path.c_str(), picture.data(), kSide, kSide, 1, 70), 1);

    bool ok = false;
    const std::string ppm = runCommand("djpeg -pnm '" + path + "'", ok);
    ASSERT_TRUE(ok);
    const std::string header = "P6\n" + std::to_string(kSide) + " " + std::to_string(kSide) + "\n255\n";
    ASSERT_EQ(ppm.compare(0, header.size(), header), 0) << ppm.substr(0, 20);
    ASSERT_EQ(ppm.size(), header.size() + kSide * kSide * 3);
    EXPECT_TRUE(
        jpegtest::matchesQuadrants(reinterpret_cast<const unsigned char*>(ppm.data() + header.size()), 32));
}

TEST(JpegFileInterop, CjpegFilesLoadTopRowFirstInRedGreenBlueOrder) {
    if (!haveTool("cjpeg"))
        GTEST_SKIP() << "cjpeg is not installed";
    TempFolder folder;
    const std::string ppm = folder.file("in.ppm");
    const std::vector<unsigned char> picture = jpegtest::quadrantPicture();
    std::FILE* out = std::fopen(ppm.c_str(), "wb");
    ASSERT_TRUE(out);
    std::fprintf(out, "P6\n%u %u\n255\n", kSide, kSide);
    std::fwrite(picture.data(), 1, picture.size(), out);
    std::fclose(out);

    const struct {
        const char* options;
        bool grey;
    } cases[] = {{"-quality 90", false}, {"-quality 90 -progressive", false}, {"-grayscale", true}};
    for (const auto& c : cases) {
        const std::string path = folder.file("theirs.jpg");
        bool ok = false;
        runCommand("cjpeg " + std::string(c.options) + " -outfile '" + path + "' '" + ppm + "'", ok);
        ASSERT_TRUE(ok) << c.options;
        CJpegFile jpeg;
        unsigned long width = 0;
        unsigned long height = 0;
        std::unique_ptr<unsigned char[]> pixels(jpeg.JpegFileToRGB(path.c_str(), &width, &height));
        ASSERT_TRUE(pixels) << c.options;
        EXPECT_EQ(width, kSide);
        EXPECT_EQ(height, kSide);
        if (c.grey) {
            // Red top-left and blue bottom-left differ in grey, and each pixel has 3 equal bytes.
            const unsigned char* topLeft = &pixels[(8 * kSide + 8) * 3];
            const unsigned char* bottomLeft = &pixels[(24 * kSide + 8) * 3];
            EXPECT_NEAR(topLeft[0], 76, 4);
            EXPECT_NEAR(bottomLeft[0], 29, 4);
            EXPECT_EQ(topLeft[0], topLeft[1]);
            EXPECT_EQ(topLeft[0], topLeft[2]);
        } else {
            EXPECT_TRUE(jpegtest::matchesQuadrants(pixels.get(), 24)) << c.options;
        }
    }
}

} // namespace
