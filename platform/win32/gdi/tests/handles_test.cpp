// Handle tables: stale and foreign handles refused, selection and deletion rules, stock objects, GetObject.
#include <gtest/gtest.h>

#include "gdi_fixture.h"

using namespace gdi_test;

namespace {

TEST(Handles, StaleAndForeignHandlesAreRefusedWithTheApiFailureCode) {
    Picture picture(4, 4);
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    ASSERT_TRUE(DeleteObject(pen));
    HDC deletedDc = CreateCompatibleDC(nullptr);
    ASSERT_TRUE(DeleteDC(deletedDc));
    HBRUSH brush = CreateSolidBrush(0);
    RECT r{0, 0, 2, 2};

    struct Refusal {
        const char* what;
        bool refused;
    };
    SetLastError(0);
    const Refusal refusals[] = {
        {"deleted pen selected", SelectObject(picture.dc(), pen) == nullptr},
        {"deleted pen deleted again", DeleteObject(pen) == FALSE},
        {"deleted DC drawn on", LineTo(deletedDc, 1, 1) == FALSE},
        {"deleted DC state", SetBkMode(deletedDc, TRANSPARENT) == 0},
        {"deleted DC deleted again", DeleteDC(deletedDc) == FALSE},
        {"pen used as a DC", MoveToEx(reinterpret_cast<HDC>(brush), 0, 0, nullptr) == FALSE},
        {"pen used as a brush", FillRect(picture.dc(), &r, reinterpret_cast<HBRUSH>(GetStockObject(BLACK_PEN))) == 0},
        {"DC selected into a DC", SelectObject(picture.dc(), picture.dc()) == nullptr},
        {"DC deleted as an object", DeleteObject(picture.dc()) == FALSE},
        {"made-up pointer", SelectObject(picture.dc(), reinterpret_cast<HGDIOBJ>(&r)) == nullptr},
        {"made-up bitmap", GetObject(reinterpret_cast<HGDIOBJ>(0x1234), 0, nullptr) == 0},
    };
    for (const Refusal& refusal : refusals)
        EXPECT_TRUE(refusal.refused) << refusal.what;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(picture.mask(RGB(0, 0, 0)), (std::vector<std::string>{"....", "....", "....", "...."}));
    EXPECT_FALSE(DeleteObject(nullptr));
    DeleteObject(brush);
}

TEST(Handles, SelectedObjectsCannotBeDeletedUntilDeselected) {
    Picture picture(2, 2);
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    HGDIOBJ old = SelectObject(picture.dc(), pen);
    EXPECT_EQ(old, GetStockObject(BLACK_PEN)); // a new DC starts with the stock black pen
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_EQ(SelectObject(picture.dc(), old), pen);
    EXPECT_TRUE(DeleteObject(pen));

    // A bitmap lives in one memory DC at a time.
    HDC first = CreateCompatibleDC(nullptr), second = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 3, 3);
    HGDIOBJ stockBitmap = SelectObject(first, bitmap);
    ASSERT_NE(stockBitmap, nullptr);
    EXPECT_EQ(SelectObject(second, bitmap), nullptr);
    EXPECT_FALSE(DeleteObject(bitmap));
    // Deleting the DC lets the bitmap go.
    EXPECT_TRUE(DeleteDC(first));
    EXPECT_NE(SelectObject(second, bitmap), nullptr);
    SelectObject(second, stockBitmap);
    EXPECT_TRUE(DeleteObject(bitmap));
    DeleteDC(second);
}

TEST(Handles, StockObjectsSurviveDeletionAndServeManyDcs) {
    HGDIOBJ brush = GetStockObject(NULL_BRUSH);
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(GetStockObject(HOLLOW_BRUSH), brush);
    EXPECT_TRUE(DeleteObject(brush));
    Picture a(2, 2), b(2, 2);
    EXPECT_NE(SelectObject(a.dc(), brush), nullptr);
    EXPECT_NE(SelectObject(b.dc(), brush), nullptr);
    EXPECT_EQ(GetStockObject(99), nullptr);
}

TEST(GetObject, DescribesBitmaps) {
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 5, 3, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HBITMAP compatible = CreateCompatibleBitmap(nullptr, 7, 2);
    HBITMAP mono = CreateCompatibleBitmap(dc, 9, 4); // a new memory DC holds a monochrome bitmap

    struct Expected {
        HBITMAP bitmap;
        LONG width, height, widthBytes;
        WORD bitsPixel;
        void* bits;
    };
    const Expected expected[] = {{section, 5, 3, 16, 24, bits}, {compatible, 7, 2, 28, 32, nullptr},
                                 {mono, 9, 4, 2, 1, nullptr}};
    for (const Expected& e : expected) {
        BITMAP bm{};
        ASSERT_EQ(GetObject(e.bitmap, sizeof bm, &bm), static_cast<int>(sizeof bm));
        EXPECT_EQ(bm.bmWidth, e.width);
        EXPECT_EQ(bm.bmHeight, e.height);
        EXPECT_EQ(bm.bmWidthBytes, e.widthBytes);
        EXPECT_EQ(bm.bmBitsPixel, e.bitsPixel);
        EXPECT_EQ(bm.bmPlanes, 1);
        EXPECT_EQ(bm.bmBits, e.bits);
    }
    BITMAP small{};
    EXPECT_EQ(GetObject(section, sizeof small - 1, &small), 0);
    EXPECT_EQ(GetObject(section, 0, nullptr), static_cast<int>(sizeof(BITMAP)));
    EXPECT_EQ(GetObject(GetStockObject(BLACK_PEN), sizeof small, &small), 0);
    for (HBITMAP b : {section, compatible, mono})
        DeleteObject(b);
    DeleteDC(dc);
}

} // namespace
