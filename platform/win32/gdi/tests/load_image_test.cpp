// LoadImage and LoadBitmap of BMP files written by ImageMagick, and refusal of broken files.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

#include "gdi_fixture.h"

using namespace gdi_test;

namespace {

using Rows = std::vector<std::string>;
const Rows kPicture = {"RWW", "WWW", "WWB"}; // odd width: rows are padded

// Writes kPicture with ImageMagick in the given output format; empty when ImageMagick is missing.
std::string writeWithImageMagick(const std::string& name, const std::string& options) {
    const std::string path = ::testing::TempDir() + name;
    const std::string command = "convert -size 3x3 xc:white -fill red -draw 'point 0,0' -fill blue -draw "
                                "'point 2,2' " + options + path + " 2>/dev/null";
    return std::system(command.c_str()) == 0 ? path : std::string();
}

// What the bitmap shows when copied onto a picture.
Rows shown(HBITMAP bitmap) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    Picture picture(3, 3);
    BitBlt(picture.dc(), 0, 0, 3, 3, dc, 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
    return picture.letters();
}

struct FileCase {
    const char* name;
    const char* options;
    WORD sectionBits;
};
void PrintTo(const FileCase& c, std::ostream* os) { *os << c.name; }

class LoadImageTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(LoadImageTest, LoadsTheFileTopRowFirstAsBitmapOrDibSection) {
    const FileCase& c = GetParam();
    const std::string path = writeWithImageMagick(std::string(c.name) + ".bmp", c.options);
    if (path.empty())
        GTEST_SKIP() << "ImageMagick is not installed";
    for (UINT flags : {LR_LOADFROMFILE, LR_LOADFROMFILE | LR_CREATEDIBSECTION}) {
        auto bitmap = static_cast<HBITMAP>(LoadImage(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, flags));
        ASSERT_NE(bitmap, nullptr) << flags;
        BITMAP bm{};
        GetObject(bitmap, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, 3);
        EXPECT_EQ(bm.bmHeight, 3);
        const bool section = (flags & LR_CREATEDIBSECTION) != 0;
        EXPECT_EQ(bm.bmBitsPixel, section ? c.sectionBits : 32);
        EXPECT_EQ(bm.bmBits != nullptr, section);
        EXPECT_EQ(shown(bitmap), kPicture) << flags;
        DeleteObject(bitmap);
    }
}

INSTANTIATE_TEST_SUITE_P(ImageMagickFiles, LoadImageTest,
                         ::testing::Values(FileCase{"Rgb24", "-type TrueColor BMP3:", 24},
                                           FileCase{"Palette4", "-type Palette BMP3:", 4},
                                           FileCase{"LongHeader", "-type TrueColor BMP:", 24}),
                         [](const auto& info) { return std::string(info.param.name); });

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(LoadImage, RefusesMissingBrokenAndUnsupportedFiles) {
    const std::string good = writeWithImageMagick("good.bmp", "-type TrueColor BMP3:");
    if (good.empty())
        GTEST_SKIP() << "ImageMagick is not installed";
    const std::string bytes = readBytes(good);
    const std::string dir = ::testing::TempDir();
    // Width and height 30000: far more pixels than the file holds.
    std::string huge = bytes;
    huge.replace(18, 8, std::string("\x30\x75\x00\x00\x30\x75\x00\x00", 8));
    std::string rle = bytes;
    rle[30] = 1;
    struct Broken {
        const char* name;
        std::string content;
        DWORD error;
    };
    const Broken broken[] = {
        {"text.bmp", "not a bitmap at all, only words", ERROR_INVALID_DATA},
        {"cut.bmp", bytes.substr(0, bytes.size() - 5), ERROR_INVALID_DATA},
        {"header.bmp", bytes.substr(0, 30), ERROR_INVALID_DATA},
        {"huge.bmp", huge, ERROR_INVALID_DATA},
        {"rle.bmp", rle, ERROR_INVALID_DATA},
        {"empty.bmp", "", ERROR_INVALID_DATA},
    };
    for (const Broken& b : broken) {
        writeBytes(dir + b.name, b.content);
        SetLastError(0);
        EXPECT_EQ(LoadImage(nullptr, (dir + b.name).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr) << b.name;
        EXPECT_EQ(GetLastError(), b.error) << b.name;
    }
    EXPECT_EQ(LoadImage(nullptr, (dir + "missing.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    // Sizes other than the file's own and loads that are not from a file are not offered.
    EXPECT_EQ(LoadImage(nullptr, good.c_str(), IMAGE_BITMAP, 6, 6, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(LoadImage(nullptr, good.c_str(), IMAGE_BITMAP, 0, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

// The system passes Windows paths (the program folder cut at its last backslash).
TEST(LoadImage, TakesWindowsPaths) {
    const std::string path = writeWithImageMagick("windows_path.bmp", "-type TrueColor BMP3:");
    if (path.empty())
        GTEST_SKIP() << "ImageMagick is not installed";
    std::string windowsPath = path;
    std::replace(windowsPath.begin(), windowsPath.end(), '/', '\\');
    auto bitmap = static_cast<HBITMAP>(LoadImage(nullptr, windowsPath.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(bitmap, nullptr) << windowsPath;
    EXPECT_EQ(shown(bitmap), kPicture);
    DeleteObject(bitmap);
}

TEST(LoadBitmap, LoadsRegisteredResourceBitmapsById) {
    const std::string path = writeWithImageMagick("resource131.bmp", "-type TrueColor BMP3:");
    if (path.empty())
        GTEST_SKIP() << "ImageMagick is not installed";
    platform::gdi::registerResourceBitmap(131, path.c_str());
    HBITMAP bitmap = LoadBitmap(nullptr, MAKEINTRESOURCE(131));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(shown(bitmap), kPicture);
    DeleteObject(bitmap);
    EXPECT_EQ(LoadBitmap(nullptr, MAKEINTRESOURCE(999)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(LoadBitmap(nullptr, "named"), nullptr);
}

} // namespace
