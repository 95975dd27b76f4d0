// The narrow labels beside the minimise, full-screen and exit buttons show their whole text inside their
// boxes, in both languages: no glyph runs out of a box, and none is cut at its edge.
#include "program_fixture.h"

#include "layout.h"

namespace e2e {
namespace {

// Columns of a label's strip (from two columns left of the box to one right of it) that must stay free of
// text: the two outside on the left, the box's first and last, and the one outside on the right, which
// the button beside it follows.
std::vector<int> EdgeColumns(const layout::Label& label) {
    const int width = label.right - label.left;
    return {0, 1, 2, width + 1, width + 2};
}

bool IsText(QRgb pixel) {
    return qGray(pixel) < 64;
}

} // namespace

TEST_F(ProgramTest, NarrowLabelsKeepTheirTextInsideTheirBoxes) {
    const layout::Label* const narrow = layout::kPreviewLabels;
    auto strip = [&](const layout::Label& label) {
        return shot(label.left - 2, label.top, label.right - label.left + 3, label.bottom - label.top);
    };
    for (const char* language : {"English", "Chinese"}) {
        SCOPED_TRACE(language);
        for (int i = 0; i < 3; ++i) {
            const QImage picture = strip(narrow[i]);
            int inside = 0;
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 3; x < picture.width() - 2; ++x)
                    inside += IsText(picture.pixel(x, y));
            EXPECT_GT(inside, 20) << "caption " << narrow[i].caption << " shows no text";
            std::string textAt;
            for (int x : EdgeColumns(narrow[i]))
                for (int y = 0; y < picture.height(); ++y)
                    if (IsText(picture.pixel(x, y))) {
                        textAt += " " + std::to_string(narrow[i].left - 2 + x);
                        break;
                    }
            EXPECT_EQ(textAt, "") << "caption " << narrow[i].caption << " has text at the edge columns";
        }
        saveShot(std::string("labels_") + language);
        const QImage before = strip(narrow[0]);
        key("F7");
        ASSERT_TRUE(waitFor([&] { return strip(narrow[0]) != before; }, 3s))
            << "F7 did not switch the language";
    }
}

} // namespace e2e
