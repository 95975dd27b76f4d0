// CRastel display: ShowBitmap geometry read back pixel by pixel, overlays in the display copy, GDI bitmaps.
#include <bitmap/rastel.h>

#include "show_canvas.h"

#include <gtest/gtest.h>
#include <win32/gdi.h>
#include <win32/user.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using showtest::Canvas;
using showtest::placeColor;

constexpr int kWidth = 640;
constexpr int kHeight = 480;

struct ShowCase {
    const char* name;
    int zoom;
    _tagSHOWRECT src;      // as given
    _tagSHOWRECT expected; // as written back
};

void PrintTo(const ShowCase& c, std::ostream* out) {
    *out << c.name;
}

// Checks that the canvas shows, at `at`, the picture region `src` (as ShowBitmap wrote it back) magnified
// by `zoom`, and is untouched (white) elsewhere. Returns a description of the first wrong pixel.
std::string firstWrongPixel(const Canvas& canvas, POINT at, const _tagSHOWRECT& src, int zoom) {
    const int shownWidth = src.width / zoom, shownHeight = src.height / zoom;
    const int top = kHeight - src.y - shownHeight;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const int dx = x - at.x, dy = y - at.y;
            const bool inside = dx >= 0 && dy >= 0 && dx < shownWidth * zoom && dy < shownHeight * zoom;
            const uint32_t want = inside ? placeColor(src.x + dx / zoom, top + dy / zoom) : 0xFFFFFF;
            if (canvas.at(x, y) != want) {
                std::ostringstream out;
                out << "pixel (" << x << ", " << y << ") is " << std::hex << canvas.at(x, y) << ", not "
                    << want;
                return out.str();
            }
        }
    }
    return {};
}

class RastelShow : public testing::TestWithParam<ShowCase> {};

// The source rectangle is clamped and written back bottom-up, and exactly that region is drawn, each
// picture pixel as a zoom x zoom block at the destination.
TEST_P(RastelShow, DrawsTheClampedRegionAndWritesItBack) {
    const ShowCase& c = GetParam();
    CRastel picture;
    ASSERT_EQ(showtest::loadPlaces(picture, kWidth, kHeight), 1);
    picture.SetZoomFactor(c.zoom);
    _tagSHOWRECT src = c.src;
    const POINT at{5, 7};
    const int shownWidth = c.expected.width / c.zoom, shownHeight = c.expected.height / c.zoom;
    _tagSHOWRECT dst{at.x, at.y, shownWidth * c.zoom, shownHeight * c.zoom};
    Canvas canvas(dst.width + 10, dst.height + 10);

    ASSERT_EQ(picture.ShowBitmap(canvas.dc(), &dst, &src), 0);

    EXPECT_EQ(src.x, c.expected.x);
    EXPECT_EQ(src.y, c.expected.y);
    EXPECT_EQ(src.width, c.expected.width);
    EXPECT_EQ(src.height, c.expected.height);
    EXPECT_EQ(firstWrongPixel(canvas, at, c.expected, c.zoom), "");
}

INSTANTIATE_TEST_SUITE_P(
    Geometry, RastelShow,
    testing::Values(
        ShowCase{"WholePicture", 1, {0, 0, 640, 480}, {0, 0, 640, 480}},
        ShowCase{"Zoom2PastTheCornerMovesBackInside", 2, {600, 400, 640, 480}, {320, 0, 640, 480}},
        ShowCase{"TopDownYTurnedIntoTheLowerEdgeRow", 1, {0, 100, 200, 300}, {0, 80, 200, 300}},
        ShowCase{"NegativeWidthClampsToThePicture", 1, {0, 0, -1, 480}, {0, 0, 640, 480}},
        ShowCase{"Zoom2ClampsToThePictureSize", 2, {0, 0, -1, 5000}, {0, 240, 640, 480}},
        ShowCase{"Zoom3OddRegion", 3, {10, 20, 300, 200}, {10, 394, 300, 200}},
        ShowCase{"HugePositionsDoNotWrap", 4, {0x7FFFFFFF, 0x7FFFFFF0, 640, 480}, {480, 0, 640, 480}},
        ShowCase{"NegativePositionsClampLikeHugeOnes", 4, {-1, -1, 640, 480}, {480, 0, 640, 480}}),
    [](const testing::TestParamInfo<ShowCase>& info) { return std::string(info.param.name); });

// Nothing is drawn and nothing written back without a picture or without rectangles.
TEST(RastelShowRefusal, EmptyObjectOrNullRectangleDrawsNothing) {
    Canvas canvas(8, 8);
    _tagSHOWRECT dst{0, 0, 8, 8}, src{1, 2, 3, 4};
    CRastel empty;
    EXPECT_EQ(empty.ShowBitmap(canvas.dc(), &dst, &src), -1);
    EXPECT_EQ(src.y, 2);
    CRastel picture;
    ASSERT_EQ(showtest::loadPlaces(picture, 8, 8), 1);
    EXPECT_EQ(picture.ShowBitmap(canvas.dc(), &dst, nullptr), -1);
    EXPECT_EQ(picture.ShowBitmap(canvas.dc(), nullptr, &src), -1);
    EXPECT_EQ(canvas.at(0, 0), 0xFFFFFFu);
}

// A DC that no longer exists is reported, not taken for a drawing.
TEST(RastelShowRefusal, StaleDcIsAFailure) {
    CRastel picture;
    ASSERT_EQ(showtest::loadPlaces(picture, 8, 8), 1);
    HDC stale = CreateCompatibleDC(nullptr);
    DeleteDC(stale);
    _tagSHOWRECT dst{0, 0, 8, 8}, src{0, 0, 8, 8};
    EXPECT_EQ(picture.ShowBitmap(stale, &dst, &src), -1);
}

LRESULT CALLBACK plainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProc(hwnd, message, wParam, lParam);
}

// Drawing through a real window DC lands in the window's backing image.
TEST(RastelShowWindow, ZoomedRegionLandsInTheWindow) {
    WNDCLASS wc{};
    wc.lpfnWndProc = plainProc;
    wc.lpszClassName = "RastelShowTarget";
    RegisterClass(&wc);
    HWND window = CreateWindowEx(0, "RastelShowTarget", "", WS_POPUP | WS_VISIBLE, 0, 0, 120, 90, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    CRastel picture;
    ASSERT_EQ(showtest::loadPlaces(picture, 100, 80), 1);
    picture.SetZoomFactor(2);
    _tagSHOWRECT dst{10, 5, 100, 80}, src{30, 20, 100, 80};
    HDC dc = GetDC(window);
    ASSERT_EQ(picture.ShowBitmap(dc, &dst, &src), 0);
    ReleaseDC(window, dc);
    // Source 50 x 40 from column 30, top row 20: bottom-up row 80 - 40 - 20.
    EXPECT_EQ(src.x, 30);
    EXPECT_EQ(src.y, 20);

    Canvas canvas(120, 90);
    dc = GetDC(window);
    ASSERT_TRUE(BitBlt(canvas.dc(), 0, 0, 120, 90, dc, 0, 0, SRCCOPY));
    ReleaseDC(window, dc);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(canvas.at(10 + x, 5 + y), placeColor(30 + x / 2, 20 + y / 2)) << x << ", " << y;
    DestroyWindow(window);
}

// An overlay callback that draws one horizontal line per call, the rows taken from `rows` in turn.
struct LinePainter {
    std::vector<int> rows;
    size_t next = 0;
    COLORREF color = RGB(255, 0, 255);
};

void __stdcall paintLine(void* user, HDC dc) {
    auto* painter = static_cast<LinePainter*>(user);
    if (painter->next >= painter->rows.size())
        return;
    const int row = painter->rows[painter->next++];
    HPEN pen = CreatePen(PS_SOLID, 1, painter->color);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, 0, row, nullptr);
    LineTo(dc, 1000, row);
    SelectObject(dc, old);
    DeleteObject(pen);
}

constexpr int kSmallWidth = 32;
constexpr int kSmallHeight = 24;

// Shows the whole small picture at zoom 1 on a fresh canvas and returns, for each row, whether it is
// drawn in `color` (true) or shows the picture itself (false); "?" for a row that is neither.
std::string rowsShown(CRastel& picture, COLORREF color, const std::vector<uint32_t>& original) {
    Canvas canvas(kSmallWidth, kSmallHeight);
    _tagSHOWRECT dst{0, 0, kSmallWidth, kSmallHeight}, src{0, 0, kSmallWidth, kSmallHeight};
    EXPECT_EQ(picture.ShowBitmap(canvas.dc(), &dst, &src), 0);
    const uint32_t ink = (color & 0xFF) << 16 | (color & 0xFF00) | (color >> 16 & 0xFF);
    std::string rows;
    for (int y = 0; y < kSmallHeight; ++y) {
        bool lined = true, plain = true;
        for (int x = 0; x < kSmallWidth; ++x) {
            lined = lined && canvas.at(x, y) == ink;
            plain = plain && canvas.at(x, y) == original[static_cast<size_t>(y * kSmallWidth + x)];
        }
        rows += lined ? '#' : plain ? '.' : '?';
    }
    return rows;
}

std::vector<uint32_t> placesOfSmall() {
    std::vector<uint32_t> colors;
    for (int y = 0; y < kSmallHeight; ++y)
        for (int x = 0; x < kSmallWidth; ++x)
            colors.push_back(placeColor(x, y));
    return colors;
}

std::string rowMask(std::initializer_list<int> marked) {
    std::string rows(kSmallHeight, '.');
    for (int row : marked)
        rows[static_cast<size_t>(row)] = '#';
    return rows;
}

// Overlays collect in the display copy from call to call, never reach the working pixels or a saved
// file, are invisible without a callback, and are erased by ClearAllGraph and by a processing command.
TEST(RastelOverlay, CollectsInTheDisplayCopyUntilCleared) {
    CRastel picture;
    ASSERT_EQ(showtest::loadPlaces(picture, kSmallWidth, kSmallHeight), 1);
    const std::vector<BYTE> pixels = showtest::placePixels(kSmallWidth, kSmallHeight);
    const std::vector<uint32_t> original = placesOfSmall();
    LinePainter painter{{3, 10, 17}};
    picture.SetDrawCallBack(&painter, paintLine);

    EXPECT_EQ(rowsShown(picture, painter.color, original), rowMask({3}));
    EXPECT_EQ(rowsShown(picture, painter.color, original), rowMask({3, 10}));
    EXPECT_EQ(std::vector<BYTE>(picture.GetBmpPixel(), picture.GetBmpPixel() + picture.GetBmpSize()), pixels);

    ASSERT_EQ(picture.ClearAllGraph(), 1);
    EXPECT_EQ(rowsShown(picture, painter.color, original), rowMask({17}));

    // The callback now draws nothing more; without it the working pixels are shown.
    picture.SetDrawCallBack(nullptr, nullptr);
    EXPECT_EQ(rowsShown(picture, painter.color, original), rowMask({}));
    picture.SetDrawCallBack(&painter, paintLine);
    EXPECT_EQ(rowsShown(picture, painter.color, original), rowMask({17}));

    // Mirror twice gives the same pixels back, with the display copy refreshed from them.
    ASSERT_EQ(picture.Mirror(), 1);
    ASSERT_EQ(picture.Mirror(), 1);
    EXPECT_EQ(rowsShown(picture, painter.color, original), rowMask({}));
}

// A reload of the same size writes into the object's buffers: the overlays go with the old picture and
// the next pass draws on the new pixels alone.
TEST(RastelOverlay, ReloadOfTheSameSizeStartsWithoutOverlays) {
    CRastel picture;
    ASSERT_EQ(showtest::loadPlaces(picture, kSmallWidth, kSmallHeight), 1);
    const std::vector<uint32_t> original = placesOfSmall();
    LinePainter painter{{3, 10}};
    picture.SetDrawCallBack(&painter, paintLine);
    EXPECT_EQ(rowsShown(picture, painter.color, original), rowMask({3}));

    ASSERT_EQ(showtest::loadPlaces(picture, kSmallWidth, kSmallHeight), 1);
    picture.SetDrawCallBack(&painter, paintLine);
    EXPECT_EQ(rowsShown(picture, painter.color, original), rowMask({10}));
}

// The overlay pass works at the picture's own depth: on an 8-bit grey picture a grey pen lands as its
// palette entry.
TEST(RastelOverlay, GreyPictureKeepsItsPalette) {
    std::vector<BYTE> grey(static_cast<size_t>(DibStride(kSmallWidth, 8)) * kSmallHeight, 100);
    CRastel picture;
    ASSERT_EQ(picture.ReadBitmap(grey.data(), kSmallWidth, kSmallHeight, 8), 1);
    LinePainter painter{{5}, 0, RGB(200, 200, 200)};
    picture.SetDrawCallBack(&painter, paintLine);
    Canvas canvas(kSmallWidth, kSmallHeight);
    _tagSHOWRECT dst{0, 0, kSmallWidth, kSmallHeight}, src{0, 0, kSmallWidth, kSmallHeight};
    ASSERT_EQ(picture.ShowBitmap(canvas.dc(), &dst, &src), 0);
    EXPECT_EQ(canvas.at(7, 5), 0xC8C8C8u);
    EXPECT_EQ(canvas.at(7, 6), 0x646464u);
}

bool alive(HBITMAP bitmap) {
    BITMAP info{};
    return bitmap && GetObject(bitmap, sizeof info, &info) != 0;
}

// GetDDBHandle gives the working pixels in a bitmap the object owns: replaced by the next call and
// deleted by a reload and by the destructor.
TEST(RastelGdiBitmaps, DeviceBitmapHoldsThePictureAndIsOwned) {
    CRastel empty;
    Canvas canvas(kSmallWidth, kSmallHeight);
    EXPECT_EQ(empty.GetDDBHandle(canvas.dc()), nullptr);

    auto* picture = new CRastel;
    ASSERT_EQ(showtest::loadPlaces(*picture, kSmallWidth, kSmallHeight), 1);
    HBITMAP first = picture->GetDDBHandle(canvas.dc());
    ASSERT_TRUE(alive(first));
    HDC memory = CreateCompatibleDC(canvas.dc());
    HGDIOBJ old = SelectObject(memory, first);
    BitBlt(canvas.dc(), 0, 0, kSmallWidth, kSmallHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    EXPECT_EQ(canvas.at(0, 0), placeColor(0, 0));
    EXPECT_EQ(canvas.at(31, 23), placeColor(31, 23));

    HBITMAP second = picture->GetDDBHandle(canvas.dc());
    EXPECT_FALSE(alive(first));
    ASSERT_TRUE(alive(second));
    ASSERT_EQ(showtest::loadPlaces(*picture, 4, 4), 1);
    EXPECT_FALSE(alive(second));
    HBITMAP third = picture->GetDDBHandle(canvas.dc());
    ASSERT_TRUE(alive(third));
    delete picture;
    EXPECT_FALSE(alive(third));
}

// GetDIBHandle makes a DIB section of the picture's size and depth, replaced by the next call and
// deleted by a reload.
TEST(RastelGdiBitmaps, DibSectionFollowsTheHeaderBlock) {
    CRastel picture;
    EXPECT_EQ(picture.GetDIBHandle(nullptr), nullptr);
    ASSERT_EQ(showtest::loadPlaces(picture, 7, 3), 1);
    HBITMAP first = picture.GetDIBHandle(nullptr);
    BITMAP info{};
    ASSERT_TRUE(first && GetObject(first, sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 7);
    EXPECT_EQ(info.bmHeight, 3);
    EXPECT_EQ(info.bmBitsPixel, 24);
    EXPECT_NE(info.bmBits, nullptr);
    HBITMAP second = picture.GetDIBHandle(nullptr);
    EXPECT_FALSE(alive(first));
    ASSERT_TRUE(alive(second));
    ASSERT_EQ(showtest::loadPlaces(picture, 7, 3), 1);
    EXPECT_FALSE(alive(second));
}

} // namespace
