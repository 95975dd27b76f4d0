// End-to-end: opening and saving Edit pictures through the file dialogs (answered by the seam): BMP and
// JPEG round trips, names by extension, JPEG of palette pictures, unreadable files.
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <testing/picture_tools.h>

#include "program_fixture.h"

namespace {

using platform::testing::djpegRgb;
using platform::testing::meanDifference;
using platform::testing::topDownRgb;

constexpr int kWidth = 61; // rows of 183 bytes and one pad byte
constexpr int kHeight = 40;

// Smooth gradients, so that JPEG keeps them within a few levels.
std::vector<BYTE> GradientRows()
{
    const int stride = DibStride(kWidth, 24);
    std::vector<BYTE> rows(static_cast<size_t>(stride) * kHeight, 0);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            BYTE* p = &rows[static_cast<size_t>(y) * stride + 3 * x];
            p[0] = static_cast<BYTE>(x * 4);
            p[1] = static_cast<BYTE>(y * 6);
            p[2] = static_cast<BYTE>(255 - x * 2 - y);
        }
    return rows;
}

std::string Magic(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    char bytes[2] = {};
    in.read(bytes, 2);
    return std::string(bytes, 2);
}

class FilesTest : public ProgramTest {
protected:
    static void LoadGradient(COrvanelDlg& dlg)
    {
        std::vector<BYTE> rows = GradientRows();
        dlg.m_EditView.LoadBuffer(rows.data(), kWidth, kHeight, 24, 0, 0, 1);
        dlg.TakeEditPicture();
    }
    static std::vector<BYTE> ShownRgb(COrvanelDlg& dlg)
    {
        CBmpStatic& view = dlg.m_EditView;
        const int width = int(view.GetBmpWidth());
        return topDownRgb(view.GetBmpPixel(), width, int(view.GetBmpHeight()), DibStride(width, 24));
    }
};

// Save as BMP and open it again gives the same pixels; save as JPEG and open it again gives them within
// the losses of quality 70, with every row's pad byte zero. Each open starts a fresh history.
TEST_F(FilesTest, BmpAndJpegRoundTrips)
{
    RunDialog([&](COrvanelDlg& dlg) {
        LoadGradient(dlg);
        const std::vector<BYTE> original = ShownRgb(dlg);
        ChooseFile("a.bmp");
        ChooseFile("b.jpg");
        Click(dlg, IDC_BUTTON_SAVE);
        Click(dlg, IDC_BUTTON_SAVE);
        ASSERT_EQ(FileDialogCalls().size(), 2u);
        EXPECT_FALSE(FileDialogCalls()[0].open);
        EXPECT_EQ(FileDialogCalls()[0].filter, "BMP Files (*.bmp)|*.bmp|JPEG Files (*.jpg)|*.jpg||");
        EXPECT_EQ(FileDialogCalls()[0].flags, DWORD(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT));

        int width = 0;
        int height = 0;
        EXPECT_LT(meanDifference(djpegRgb(File("b.jpg").string(), width, height), original), 3.0);

        Click(dlg, IDC_BUTTON_NEGATIVE);
        ChooseFile("a.bmp");
        Click(dlg, IDC_BUTTON_OPEN);
        ASSERT_EQ(FileDialogCalls().size(), 3u);
        EXPECT_TRUE(FileDialogCalls()[2].open);
        EXPECT_EQ(FileDialogCalls()[2].title, "Open");
        EXPECT_EQ(FileDialogCalls()[2].flags, DWORD(OFN_EXPLORER | OFN_FILEMUSTEXIST));
        EXPECT_EQ(ShownRgb(dlg), original);
        EXPECT_EQ(dlg.m_EditView.m_nHistoryCount, 1);
        EXPECT_EQ(dlg.m_nImageWidth, kWidth);
        EXPECT_FALSE(dlg.m_bImageLarger);

        Click(dlg, IDC_BUTTON_NEGATIVE);
        ChooseFile("b.jpg");
        Click(dlg, IDC_BUTTON_OPEN);
        EXPECT_EQ(dlg.m_nImageBits, 24);
        EXPECT_EQ(dlg.m_nImageHeight, kHeight);
        EXPECT_LT(meanDifference(ShownRgb(dlg), original), 3.0);
        EXPECT_EQ(dlg.m_EditView.m_nHistoryCount, 1);
        const BYTE* rows = dlg.m_EditView.GetBmpPixel();
        const int stride = DibStride(kWidth, 24);
        for (int y = 0; y < kHeight; ++y)
            EXPECT_EQ(rows[y * stride + kWidth * 3], 0) << "pad byte of row " << y;
        dlg.SendMessage(WM_CLOSE);
    });
    EXPECT_TRUE(Boxes().calls().empty());
}

struct SaveCase {
    const char* chosen;
    const char* written; // null: nothing written
    const char* magic;
};

// The kind of file follows the extension in any case; a name without one takes the chosen filter's (the
// first, BMP); any other extension writes nothing and says so.
TEST_F(FilesTest, SaveWritesByExtension)
{
    const SaveCase cases[] = {
        {"c.BMP", "c.BMP", "BM"},
        {"d.JPG", "d.JPG", "\xFF\xD8"},
        {"e", "e.bmp", "BM"},
        {"f.png", nullptr, nullptr},
    };
    RunDialog([&](COrvanelDlg& dlg) {
        LoadGradient(dlg);
        for (const SaveCase& c : cases) {
            ChooseFile(c.chosen);
            Click(dlg, IDC_BUTTON_SAVE);
            if (c.written)
                EXPECT_EQ(Magic(File(c.written)), c.magic) << c.chosen;
            else
                EXPECT_FALSE(std::filesystem::exists(File(c.chosen))) << c.chosen;
        }
        ChooseFile(std::nullopt);
        Click(dlg, IDC_BUTTON_SAVE);
        dlg.SendMessage(WM_CLOSE);
    });
    const auto boxes = Boxes().calls();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The picture cannot be saved:\n" + File("f.png").string());
}

// The Edit view's 8-bit grey or 1-bit black-and-white picture as top-down R, G, B.
std::vector<BYTE> GreyRgb(COrvanelDlg& dlg)
{
    const int bits = dlg.m_EditView.GetBitCount();
    const BYTE* rows = dlg.m_EditView.GetBmpPixel();
    std::vector<BYTE> rgb;
    for (int y = kHeight - 1; y >= 0; --y) {
        const BYTE* row = rows + y * DibStride(kWidth, WORD(bits));
        for (int x = 0; x < kWidth; ++x)
            rgb.insert(rgb.end(), 3, bits == 8 ? row[x] : ((row[x / 8] >> (7 - x % 8)) & 1) * 255);
    }
    return rgb;
}

// A 4 x 2 8-bit BMP whose colour table maps 0 to red and 1 to blue: left half red, right half blue.
void WritePaletteBmp(const std::filesystem::path& path)
{
    std::vector<BYTE> file(54 + 256 * 4 + 8, 0);
    auto put32 = [&](size_t at, DWORD v) {
        for (int i = 0; i < 4; ++i)
            file[at + i] = static_cast<BYTE>(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, DWORD(file.size()));
    put32(10, 54 + 256 * 4);
    put32(14, 40);
    put32(18, 4);
    put32(22, 2);
    file[26] = 1;
    file[28] = 8;
    put32(34, 8);
    put32(46, 256);
    file[54 + 2] = 255; // entry 0: red (B, G, R, 0)
    file[54 + 4] = 255; // entry 1: blue
    const BYTE pixels[8] = {0, 0, 1, 1, 0, 0, 1, 1};
    std::copy(pixels, pixels + 8, file.begin() + 54 + 256 * 4);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), long(file.size()));
}

// JPEG export of pictures with a colour table goes through the table: an 8-bit grey picture gives equal
// channels at its grey levels, a binary one black and white, and an 8-bit colour picture its colours.
TEST_F(FilesTest, JpegOfPalettePicturesUsesTheirColours)
{
    WritePaletteBmp(File("palette.bmp"));
    RunDialog([&](COrvanelDlg& dlg) {
        int width = 0;
        int height = 0;
        LoadGradient(dlg);
        Click(dlg, IDC_BUTTON_EIGHT);
        ASSERT_EQ(dlg.m_nImageBits, 8);
        ChooseFile("grey.jpg");
        Click(dlg, IDC_BUTTON_SAVE);
        EXPECT_LT(meanDifference(djpegRgb(File("grey.jpg").string(), width, height), GreyRgb(dlg)), 3.0);

        Click(dlg, IDC_BUTTON_THRESHOLD);
        ASSERT_EQ(dlg.m_nImageBits, 1);
        ChooseFile("binary.jpg");
        Click(dlg, IDC_BUTTON_SAVE);
        EXPECT_LT(meanDifference(djpegRgb(File("binary.jpg").string(), width, height), GreyRgb(dlg)), 12.0);

        ChooseFile("palette.bmp");
        Click(dlg, IDC_BUTTON_OPEN);
        ASSERT_EQ(dlg.m_nImageBits, 8);
        ChooseFile("palette.jpg");
        Click(dlg, IDC_BUTTON_SAVE);
        const std::vector<BYTE> colours = {255, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 255,
                                           255, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 255};
        EXPECT_LT(meanDifference(djpegRgb(File("palette.jpg").string(), width, height), colours), 40.0);
        dlg.SendMessage(WM_CLOSE);
    });
    EXPECT_TRUE(Boxes().calls().empty());
}

// A file that cannot be read, or one of another kind, shows a message and leaves the picture and its
// history as they were; Cancel does nothing at all.
TEST_F(FilesTest, UnreadableFileKeepsThePicture)
{
    for (const char* name : {"bad.jpg", "bad.bmp", "other.png"})
        std::ofstream(File(name)) << "not a picture";
    RunDialog([&](COrvanelDlg& dlg) {
        LoadGradient(dlg);
        Click(dlg, IDC_BUTTON_NEGATIVE);
        const std::vector<BYTE> shown = ShownRgb(dlg);
        for (const char* name : {"bad.jpg", "bad.bmp", "other.png"}) {
            ChooseFile(name);
            Click(dlg, IDC_BUTTON_OPEN);
            EXPECT_EQ(ShownRgb(dlg), shown) << name;
            EXPECT_EQ(dlg.m_EditView.m_nHistoryCount, 2) << name;
        }
        ChooseFile(std::nullopt);
        Click(dlg, IDC_BUTTON_OPEN);
        EXPECT_EQ(dlg.m_EditView.m_nHistoryCount, 2);
        dlg.SendMessage(WM_CLOSE);
    });
    const auto boxes = Boxes().calls();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, "The picture cannot be opened:\n" + File("bad.jpg").string());
    EXPECT_EQ(boxes[1].text, "The picture cannot be opened:\n" + File("bad.bmp").string());
    EXPECT_EQ(boxes[2].text, "The picture cannot be opened:\n" + File("other.png").string());
}

} // namespace
