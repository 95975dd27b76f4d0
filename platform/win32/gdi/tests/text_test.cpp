// Fonts and text: face names resolve to the CJK font, code page 936 texts, alignment, clipping, background.
#include <QFontInfo>
#include <QFontMetrics>
#include <climits>
#include <cstring>
#include <gtest/gtest.h>

#include "font_map.h"
#include "gdi_fixture.h"
#include "text_codec.h"

using namespace gdi_test;

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);

// Bounding box of the pixels of `ink`; empty (left >= right) when there are none.
RECT inkBox(const Picture& picture, int width, int height, COLORREF ink) {
    RECT box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (picture.at(x, y) == ink) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box;
}

// A font selected into a DC for the length of a test, deleted after it is deselected.
class SelectedFont {
public:
    SelectedFont(HDC dc, int height, const char* face)
        : dc_(dc), font_(CreateFont(height, 0, 0, 0, 1000, 0, 0, 0, 0, 0, 0, 0, 0x20, face)),
          old_(SelectObject(dc, font_)) {}
    ~SelectedFont() {
        SelectObject(dc_, old_);
        DeleteObject(font_);
    }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;

private:
    HDC dc_;
    HFONT font_;
    HGDIOBJ old_;
};

TEST(Fonts, TheSystemsFacesResolveToTheInstalledCjkFont) {
    const char* faces[] = {"\xBA\xDA\xCC\xE5" /* 黑体 in code page 936 */, "黑体", "\xCB\xCE\xCC\xE5" /* 宋体 */,
                           "System", "Times New Roman", "No Such Face Anywhere", ""};
    for (const char* face : faces) {
        LOGFONTA font{};
        font.lfHeight = 15;
        font.lfWeight = 1000;
        std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
        const QFont q = platform::gdi::qtFont(font);
        EXPECT_EQ(QFontInfo(q).family(), QString::fromLatin1(platform::gdi::kCjkFamily)) << face;
        EXPECT_TRUE(QFontMetrics(q).inFont(QChar(0x9ED1))) << face; // 黑
    }
    EXPECT_EQ(CreateFont(15, 8, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "System"), nullptr); // forced width
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
}

TEST(Fonts, PositiveHeightsAreCellHeights) {
    Picture picture(10, 10);
    SelectedFont font(picture.dc(), 15, "System");
    SIZE size{};
    ASSERT_TRUE(GetTextExtentPoint32(picture.dc(), "Mini", 4, &size));
    EXPECT_EQ(size.cy, 15);
    EXPECT_GT(size.cx, 0);
}

TEST(TextCodec, DecodesCodePage936AndPassesUtf8Through) {
    EXPECT_EQ(platform::gdi::decodeText("\xB4\xF2\xBF\xAA", -1), QString::fromUtf8("打开"));
    EXPECT_EQ(platform::gdi::decodeText("打开", -1), QString::fromUtf8("打开"));
    EXPECT_EQ(platform::gdi::decodeText("Quit", 2), QStringLiteral("Qu"));
}

TEST(DrawText, AlignsInTheRectangleAndClipsToIt) {
    struct Case {
        const char* name;
        UINT format;
        const char* text;
    };
    const RECT rect{20, 10, 120, 40};
    const Case cases[] = {{"centred", DT_CENTER | DT_VCENTER | DT_SINGLELINE, "Mini"},
                          {"right bottom", DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, "Ver 1.01.0606"},
                          {"left top", DT_LEFT | DT_SINGLELINE, "\xBA\xDA\xCC\xE5"},
                          {"too long", DT_CENTER | DT_VCENTER | DT_SINGLELINE, "A text much wider than its box"}};
    for (const Case& c : cases) {
        Picture picture(140, 50);
        SelectedFont font(picture.dc(), 15, "\xBA\xDA\xCC\xE5");
        SetBkMode(picture.dc(), TRANSPARENT);
        RECT r = rect;
        EXPECT_GT(DrawText(picture.dc(), c.text, -1, &r, c.format), 0) << c.name;
        const RECT ink = inkBox(picture, 140, 50, kBlack);
        ASSERT_LT(ink.left, ink.right) << c.name << ": nothing drawn";
        EXPECT_GE(ink.left, rect.left) << c.name;
        EXPECT_LE(ink.right, rect.right) << c.name;
        EXPECT_GE(ink.top, rect.top) << c.name;
        EXPECT_LE(ink.bottom, rect.bottom) << c.name;
        if (c.format & DT_CENTER) {
            EXPECT_NEAR((ink.left + ink.right) / 2.0, (rect.left + rect.right) / 2.0, 3) << c.name;
            EXPECT_NEAR((ink.top + ink.bottom) / 2.0, (rect.top + rect.bottom) / 2.0, 4) << c.name;
        } else if (c.format & DT_RIGHT) {
            EXPECT_GE(ink.right, rect.right - 3) << c.name;
            EXPECT_GE(ink.bottom, rect.bottom - 6) << c.name;
        } else {
            EXPECT_LE(ink.left, rect.left + 3) << c.name;
            EXPECT_LE(ink.top, rect.top + 4) << c.name;
        }
    }
}

TEST(DrawText, CalcRectMeasuresWithoutDrawingAndNoClipDrawsOutside) {
    Picture picture(100, 30);
    SelectedFont font(picture.dc(), 15, "System");
    RECT measured{5, 5, 6, 6};
    const int height = DrawText(picture.dc(), "Contrast", -1, &measured, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(height, 15);
    EXPECT_EQ(measured.bottom, 20);
    SIZE size{};
    GetTextExtentPoint32(picture.dc(), "Contrast", 8, &size);
    EXPECT_EQ(measured.right - measured.left, size.cx);
    EXPECT_EQ(inkBox(picture, 100, 30, kBlack).left, INT_MAX);
    RECT tiny{5, 5, 6, 6};
    DrawText(picture.dc(), "Contrast", -1, &tiny, DT_NOCLIP | DT_SINGLELINE);
    EXPECT_GT(inkBox(picture, 100, 30, kBlack).right, 10);
}

TEST(TextOut, OpaqueModeFillsTheCellTransparentModeDoesNot) {
    for (int mode : {OPAQUE, TRANSPARENT}) {
        Picture picture(60, 20);
        SelectedFont font(picture.dc(), 15, "System");
        SetBkMode(picture.dc(), mode);
        SetBkColor(picture.dc(), RGB(255, 0, 0));
        SetTextColor(picture.dc(), RGB(0, 0, 255));
        ASSERT_TRUE(TextOut(picture.dc(), 2, 2, "Size", 4));
        SIZE size{};
        GetTextExtentPoint32(picture.dc(), "Size", 4, &size);
        const RECT back = inkBox(picture, 60, 20, RGB(255, 0, 0));
        if (mode == OPAQUE)
            EXPECT_TRUE(back.left == 2 && back.top == 2 && back.right <= 2 + size.cx && back.bottom == 2 + size.cy);
        else
            EXPECT_EQ(back.left, INT_MAX);
        EXPECT_LT(inkBox(picture, 60, 20, RGB(0, 0, 255)).left, INT_MAX) << "glyphs in the text colour";
    }
}

} // namespace
