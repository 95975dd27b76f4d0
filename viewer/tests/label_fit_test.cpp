// The main window's painted labels and headings fit their rectangles in both languages, in the font the
// window paints them with.
#include <climits>
#include <vector>

#include "layout.h"
#include "program_fixture.h"
#include "test_dib.h"

namespace {

struct PaintedLabel {
    layout::Label label;
    int fontHeight;
};

std::vector<PaintedLabel> AllPaintedLabels() {
    std::vector<PaintedLabel> all = {{layout::kHeading, layout::kHeadingFontHeight},
                                     {layout::kEditHeading, layout::kHeadingFontHeight}};
    for (const layout::Label& label : layout::kPreviewLabels)
        all.push_back({label, layout::kLabelFontHeight});
    for (const layout::Label& label : layout::kEditLabels)
        all.push_back({label, layout::kLabelFontHeight});
    return all;
}

// Bounding box of the pixels that are not white; empty when there are none.
CRect InkBox(const TestDib& dib, int width, int height) {
    CRect box(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (dib.Pixel(x, y) != RGB(255, 255, 255)) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box;
}

} // namespace

// Each caption's extent and, drawn centred without clipping, its glyphs stay within its rectangle.
TEST_F(ProgramTest, PaintedLabelsFitTheirRectangles) {
    RunDialog([&](COrvanelDlg& dlg) {
        constexpr int kMargin = 20;
        for (int language : {0, 1}) {
            dlg.SetLanguage(language);
            for (const auto& [label, fontHeight] : AllPaintedLabels()) {
                const CString& text = dlg.m_strCaption[label.caption];
                SCOPED_TRACE(::testing::Message() << "caption " << label.caption << " \"" << text << "\"");
                const int width = label.right - label.left;
                const int height = label.bottom - label.top;
                TestDib dib(width + 2 * kMargin, height + 2 * kMargin);
                CRect all(0, 0, width + 2 * kMargin, height + 2 * kMargin);
                ::FillRect(dib.dc(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
                CFont font;
                MakeLabelFont(font, fontHeight);
                HGDIOBJ old = ::SelectObject(dib.dc(), font.m_hObject);
                ::SetBkMode(dib.dc(), TRANSPARENT);

                SIZE extent{};
                ASSERT_TRUE(::GetTextExtentPoint32(dib.dc(), text, text.GetLength(), &extent));
                CRect rect(kMargin, kMargin, kMargin + width, kMargin + height);
                ::DrawText(dib.dc(), text, text.GetLength(), &rect,
                           DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
                CRect ink = InkBox(dib, width + 2 * kMargin, height + 2 * kMargin);
                ink.OffsetRect(-kMargin, -kMargin);
                EXPECT_TRUE(extent.cx <= width && extent.cy <= height && ink.left >= 0 && ink.top >= 0 &&
                            ink.right <= width && ink.bottom <= height && ink.left < ink.right)
                    << extent.cx << " x " << extent.cy << " in " << width << " x " << height
                    << ", glyphs in (" << ink.left << ", " << ink.top << ")-(" << ink.right << ", "
                    << ink.bottom << ")";
                ::SelectObject(dib.dc(), old);
            }
        }
        dlg.SendMessage(WM_CLOSE);
    });
}
