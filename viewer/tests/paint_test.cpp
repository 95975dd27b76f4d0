// DrawTransparent and the main window's painting: background modes and the thumbnail marker.
#include <memory>

#include "program_fixture.h"
#include "test_dib.h"

namespace {

void Fill(TestDib& dib, const RECT& rect, COLORREF colour) {
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(dib.dc(), &rect, brush);
    ::DeleteObject(brush);
}

// The dialog's client area as painted, read back from its window.
COLORREF PaintedPixel(COrvanelDlg& dlg, int x, int y) {
    TestDib copy(1024, 768);
    HDC dc = ::GetDC(dlg.m_hWnd);
    ::BitBlt(copy.dc(), 0, 0, 1024, 768, dc, 0, 0, SRCCOPY);
    ::ReleaseDC(dlg.m_hWnd, dc);
    return copy.Pixel(x, y);
}

void Repaint(COrvanelDlg& dlg) {
    dlg.InvalidateRect(nullptr, TRUE);
    dlg.UpdateWindow();
}

} // namespace

// Pixels of the transparent colour leave the destination as it was, all others take the source, at the
// same size and stretched.
TEST(DrawTransparentTest, KeepsTheDestinationUnderTheTransparentColour) {
    const COLORREF kDestination = RGB(10, 200, 30);
    const COLORREF kSource = RGB(240, 120, 5);
    for (int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        TestDib dst(40, 20);
        TestDib src(40 / scale, 20 / scale);
        Fill(dst, {0, 0, 40, 20}, kDestination);
        Fill(src, {0, 0, 40 / scale, 20 / scale}, RGB(0, 0, 0));
        Fill(src, {0, 0, 20 / scale, 20 / scale}, kSource); // left half opaque, right half transparent
        CDC* to = CDC::FromHandle(dst.dc());
        DrawTransparent(to, 0, 0, 40, 20, CDC::FromHandle(src.dc()), 0, 0, 40 / scale, 20 / scale,
                        RGB(0, 0, 0));
        EXPECT_EQ(dst.Pixel(5, 10), kSource);
        EXPECT_EQ(dst.Pixel(19, 10), kSource);
        EXPECT_EQ(dst.Pixel(20, 10), kDestination);
        EXPECT_EQ(dst.Pixel(39, 19), kDestination);
    }
}

// At 1280 x 1024 the black picture area of the background is left to the preview; at 640 x 480 the
// background is copied whole. The marker stands over the last filled thumbnail, none before the first.
TEST_F(ProgramTest, PaintsBackgroundAndThumbnailMarker) {
    RunDialog([&](COrvanelDlg& dlg) {
        const COLORREF kMarker = RGB(0, 255, 0);
        Repaint(dlg);
        EXPECT_NE(PaintedPixel(dlg, 755, 672), kMarker);
        dlg.m_nThumbCount = 7;
        Repaint(dlg);
        EXPECT_EQ(PaintedPixel(dlg, 755, 672), kMarker);
        EXPECT_NE(PaintedPixel(dlg, 745, 672), kMarker);
        dlg.m_nThumbCount = 1;
        Repaint(dlg);
        EXPECT_EQ(PaintedPixel(dlg, 95, 672), kMarker);
        EXPECT_NE(PaintedPixel(dlg, 755, 672), kMarker);

        // The dialog's own image under the (child) picture area: untouched at 1280, black at 640.
        auto underPicture = [&] {
            HDC dc = ::GetDC(dlg.m_hWnd);
            const RECT area = {40, 50, 60, 70};
            HBRUSH marker = ::CreateSolidBrush(RGB(1, 2, 3));
            ::FillRect(dc, &area, marker);
            ::DeleteObject(marker);
            ::ReleaseDC(dlg.m_hWnd, dc);
            Repaint(dlg);
            return PaintedPixel(dlg, 52, 62);
        };
        EXPECT_EQ(underPicture(), RGB(1, 2, 3));
        Click(dlg, IDC_BUTTON_RES_DOWN);
        EXPECT_EQ(underPicture(), RGB(0, 0, 0));
        dlg.SendMessage(WM_CLOSE);
    });
}

// A repaint of part of the window (the heading, the version text and the panel's edge) gives exactly the
// pixels of a whole repaint, with a background blended in part and one copied whole.
TEST_F(ProgramTest, PartialRepaintMatchesTheWholeOne) {
    RunDialog([&](COrvanelDlg& dlg) {
        auto window = [&] {
            auto copy = std::make_unique<TestDib>(1024, 768);
            HDC dc = ::GetDC(dlg.m_hWnd);
            ::BitBlt(copy->dc(), 0, 0, 1024, 768, dc, 0, 0, SRCCOPY);
            ::ReleaseDC(dlg.m_hWnd, dc);
            return copy;
        };
        for (int resolutionClick : {0, IDC_BUTTON_RES_DOWN}) {
            if (resolutionClick != 0)
                Click(dlg, resolutionClick);
            Repaint(dlg);
            const auto whole = window();
            const RECT part = {430, 0, 1024, 58};
            HDC dc = ::GetDC(dlg.m_hWnd);
            HBRUSH scribble = ::CreateSolidBrush(RGB(1, 2, 3));
            ::FillRect(dc, &part, scribble);
            ::DeleteObject(scribble);
            ::ReleaseDC(dlg.m_hWnd, dc);
            dlg.InvalidateRect(&part, TRUE);
            dlg.UpdateWindow();
            const auto partly = window();
            int wrong = 0;
            for (int y = 0; y < 768; ++y)
                for (int x = 0; x < 1024; ++x)
                    wrong += whole->Pixel(x, y) != partly->Pixel(x, y);
            EXPECT_EQ(wrong, 0) << "resolution " << dlg.m_nResolution;
        }
        dlg.SendMessage(WM_CLOSE);
    });
}
