// The edit view's picture commands and history through the real window: Negative, Undo and Redo each
// show their picture, compared pixel by pixel on screenshots.
#include "program_fixture.h"

#include <algorithm>
#include <iterator>
#include <thread>

#include "layout.h"

namespace e2e {
namespace {

// The middle of the picture area, inside the picture at every zoom.
constexpr QRect kMiddle(300, 250, 240, 180);

class EditHistoryTest : public ProgramTest {
public:
    void press(int id) {
        const auto* control = std::find_if(std::begin(layout::kControls), std::end(layout::kControls),
                                           [id](const layout::Place& p) { return p.id == id; });
        ASSERT_NE(control, std::end(layout::kControls)) << "no control " << id;
        click(control->x + control->width / 2, control->y + control->height / 2);
    }
    QImage middle() { return shot(kMiddle.x(), kMiddle.y(), kMiddle.width(), kMiddle.height()); }
    // Whether the middle of the picture shows `expected` within the time.
    bool shows(const QImage& expected) {
        return waitFor([&] { return middle() == expected; }, 3s);
    }
};

// The share of pixels of `image` whose every colour is 255 minus that of `other` at the same place.
double inverseShare(const QImage& image, const QImage& other) {
    if (image.size() != other.size())
        return 0;
    int inverse = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb a = image.pixel(x, y), b = other.pixel(x, y);
            inverse += qRed(a) + qRed(b) == 255 && qGreen(a) + qGreen(b) == 255 && qBlue(a) + qBlue(b) == 255;
        }
    return static_cast<double>(inverse) / (image.width() * image.height());
}

// Catches a command whose result is not shown (a stale display copy), a history entry that holds the
// wrong picture, and Undo or Redo that shows another entry than the one it steps to.
TEST_F(EditHistoryTest, NegativeUndoAndRedoShowTheirPictures) {
    // A snap, opened in the edit view from its thumbnail.
    const QImage emptyStrip = shot(layout::kThumbLeft, layout::kThumbTop, layout::kThumbWidth, layout::kThumbHeight);
    key("F5");
    ASSERT_TRUE(waitFor(
        [&] {
            return shot(layout::kThumbLeft, layout::kThumbTop, layout::kThumbWidth, layout::kThumbHeight) != emptyStrip;
        },
        5s))
        << "F5 put no thumbnail in the strip";
    click(layout::kThumbLeft + layout::kThumbWidth / 2, layout::kThumbTop + layout::kThumbHeight / 2);
    std::this_thread::sleep_for(800ms);
    const QImage snapped = middle();
    ASSERT_TRUE(hasDetail(snapped)) << "no snapped picture in the edit view";

    press(IDC_BUTTON_NEGATIVE);
    ASSERT_TRUE(waitFor([&] { return inverseShare(middle(), snapped) == 1.0; }, 3s))
        << "Negative shows " << inverseShare(middle(), snapped) << " of the picture inverted";
    const QImage negative = middle();
    saveShot("negative");

    press(IDC_BUTTON_UNDO);
    EXPECT_TRUE(shows(snapped)) << "Undo does not show the snapped picture";
    press(IDC_BUTTON_REDO);
    EXPECT_TRUE(shows(negative)) << "Redo does not show the negative";
    press(IDC_BUTTON_NEGATIVE);
    EXPECT_TRUE(shows(snapped)) << "a second Negative does not give the snapped picture back";
    press(IDC_BUTTON_UNDO);
    EXPECT_TRUE(shows(negative)) << "Undo after the second Negative does not show the first";
    saveShot("undone");
    expectAnswers();
}

} // namespace
} // namespace e2e
