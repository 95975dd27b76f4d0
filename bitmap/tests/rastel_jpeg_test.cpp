// CRastel JPEG files: what SaveToJpegFile writes, judged by djpeg, and what it refuses.
#include <bitmap/rastel.h>

#include "support/foreign_tools.h"

#include <seams/message_box.h>
#include <win32/message_box.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using testsupport::haveTool;
using testsupport::runCommand;
using testsupport::TempFolder;

constexpr int kWidth = 33; // odd: padded rows
constexpr int kHeight = 32;

// Bottom-up 24-bit rows: the upper half red, the lower half blue, the left 8 columns green.
std::vector<BYTE> halvesPicture() {
    const int stride = DibStride(kWidth, 24);
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * kHeight);
    for (int row = 0; row < kHeight; ++row) {
        const bool upper = row >= kHeight / 2; // bottom-up
        for (int x = 0; x < kWidth; ++x) {
            BYTE* p = pixels.data() + static_cast<size_t>(row * stride + 3 * x);
            p[0] = x >= 8 && !upper ? 255 : 0; // blue
            p[1] = x < 8 ? 255 : 0;            // green
            p[2] = x >= 8 && upper ? 255 : 0;  // red
        }
    }
    return pixels;
}

bool near(int value, int want) {
    return std::abs(value - want) <= 40;
}

// djpeg finds the picture's size, its upper half red and lower half blue (rows top-down, red first).
TEST(RastelJpeg, DjpegDecodesSizeOrientationAndColours) {
    if (!haveTool("djpeg"))
        GTEST_SKIP() << "djpeg is not installed";
    TempFolder folder;
    const std::string path = folder.file("picture.jpg");
    std::vector<BYTE> pixels = halvesPicture();
    CRastel picture;
    ASSERT_EQ(picture.ReadBitmap(pixels.data(), kWidth, kHeight, 24), 1);
    ASSERT_EQ(picture.SaveToJpegFile(path.c_str(), 0), 1);

    bool ok = false;
    const std::string ppm = runCommand("djpeg -pnm '" + path + "'", ok);
    ASSERT_TRUE(ok);
    const std::string header = "P6\n" + std::to_string(kWidth) + " " + std::to_string(kHeight) + "\n255\n";
    ASSERT_EQ(ppm.compare(0, header.size(), header), 0) << ppm.substr(0, 20);
    ASSERT_EQ(ppm.size(), header.size() + kWidth * kHeight * 3);
    auto rgb = [&](int x, int y) {
        const size_t at = header.size() + static_cast<size_t>((y * kWidth + x) * 3);
        return std::vector<int>{static_cast<unsigned char>(ppm[at]), static_cast<unsigned char>(ppm[at + 1]),
                                static_cast<unsigned char>(ppm[at + 2])};
    };
    const std::vector<int> top = rgb(24, 4), bottom = rgb(24, 28), left = rgb(2, 4);
    EXPECT_TRUE(near(top[0], 255) && near(top[1], 0) && near(top[2], 0))
        << top[0] << " " << top[1] << " " << top[2];
    EXPECT_TRUE(near(bottom[0], 0) && near(bottom[1], 0) && near(bottom[2], 255));
    EXPECT_TRUE(near(left[0], 0) && near(left[1], 255) && near(left[2], 0));
}

// Nothing is written, and 0 answered, for an empty object, a picture that is not 24-bit, or a file that
// cannot be created (which the writer tells the user about).
TEST(RastelJpeg, RefusalsWriteNoFile) {
    TempFolder folder;
    const std::string path = folder.file("refused.jpg");
    CRastel empty;
    EXPECT_EQ(empty.SaveToJpegFile(path.c_str(), 0), 0);
    std::vector<BYTE> grey(static_cast<size_t>(DibStride(kWidth, 8)) * kHeight, 90);
    CRastel eight;
    ASSERT_EQ(eight.ReadBitmap(grey.data(), kWidth, kHeight, 8), 1);
    EXPECT_EQ(eight.SaveToJpegFile(path.c_str(), 0), 0);
    EXPECT_FALSE(std::filesystem::exists(path));

    std::vector<BYTE> pixels = halvesPicture();
    CRastel colour;
    ASSERT_EQ(colour.ReadBitmap(pixels.data(), kWidth, kHeight, 24), 1);
    platform::seams::MessageBoxRecorder boxes(IDOK);
    EXPECT_EQ(colour.SaveToJpegFile(folder.file("no/such/folder.jpg").c_str(), 0), 0);
    EXPECT_EQ(boxes.calls().size(), 1u);
    EXPECT_EQ(colour.SaveToJpegFile(nullptr, 0), 0);
}

} // namespace
