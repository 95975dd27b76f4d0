// The camera adjustments by mouse: a held plus or minus button steps its value and the picture, each level
// bar follows a press and a drag past both of its ends, the exposure bar runs from its minimum to 2000.
#include "program_fixture.h"

#include <QColor>

#include <thread>

namespace e2e {
namespace {

// Client rectangles of the six bars and the centres of their plus and minus buttons.
struct Adjustment {
    const char* name;
    QRect bar;
    QPoint plus, minus;
};
const Adjustment kAdjustments[] = {
    {"brightness", QRect(865, 190, 100, 20), QPoint(985, 200), QPoint(845, 200)},
    {"contrast", QRect(865, 240, 100, 20), QPoint(985, 250), QPoint(845, 250)},
    {"saturation", QRect(865, 290, 100, 20), QPoint(985, 300), QPoint(845, 300)},
    {"sharpness", QRect(865, 340, 100, 20), QPoint(985, 350), QPoint(845, 350)},
    {"gamma", QRect(865, 390, 100, 20), QPoint(985, 400), QPoint(845, 400)},
    {"exposure", QRect(865, 440, 100, 20), QPoint(985, 450), QPoint(845, 450)},
};
const Adjustment& kBrightness = kAdjustments[0];
const Adjustment& kExposure = kAdjustments[5];
// The value text above the exposure bar.
const QRect kExposureText(940, 425, 25, 15);
// The middle of the live picture.
const QRect kPictureMiddle(420, 300, 160, 120);

const QRgb kBarBack = qRgb(193, 193, 193);
const QRgb kWhite = qRgb(255, 255, 255);

class AdjustTest : public ProgramTest {
protected:
    QImage barShot(const Adjustment& a) { return shot(a.bar.x(), a.bar.y(), a.bar.width(), a.bar.height()); }
    // Columns of the bar's middle row painted with a band: neither the background nor white.
    int filled(const Adjustment& a) {
        const QImage bar = barShot(a);
        int columns = 0;
        for (int x = 0; x < bar.width(); ++x) {
            const QRgb pixel = bar.pixel(x, bar.height() / 2) & 0xFFFFFF;
            columns += pixel != (kBarBack & 0xFFFFFF) && pixel != (kWhite & 0xFFFFFF);
        }
        return columns;
    }
    // The bar is painted plain white, as for a value it cannot show.
    bool white(const Adjustment& a) {
        const QImage bar = barShot(a);
        return (bar.pixel(0, bar.height() / 2) & 0xFFFFFF) == (kWhite & 0xFFFFFF) &&
               (bar.pixel(bar.width() - 1, bar.height() / 2) & 0xFFFFFF) == (kWhite & 0xFFFFFF);
    }
    // The mean grey level of the picture's middle.
    double pictureLevel() {
        const QImage middle = shot(kPictureMiddle.x(), kPictureMiddle.y(), kPictureMiddle.width(),
                                   kPictureMiddle.height());
        double sum = 0;
        for (int y = 0; y < middle.height(); ++y)
            for (int x = 0; x < middle.width(); ++x)
                sum += qGray(middle.pixel(x, y));
        return sum / (middle.width() * middle.height());
    }
    void moveTo(int x, int y) {
        this->x().moveTo(at(x, y));
        std::this_thread::sleep_for(150ms);
    }
    // Lets the posted values reach the camera and a few frames show them.
    static void settle() { std::this_thread::sleep_for(300ms); }
};

// Held plus on brightness: the bar grows while the button is down and stops at the release, and the picture
// brightens. Held minus on exposure: the value text and the picture follow, darker by about the exposure
// taken off.
TEST_F(AdjustTest, HeldButtonStepsTheValueAndThePicture) {
    const int start = filled(kBrightness);
    const double darker = pictureLevel();
    moveTo(kBrightness.plus.x(), kBrightness.plus.y());
    x().press();
    std::vector<int> growth;
    for (int i = 0; i < 5; ++i) {
        std::this_thread::sleep_for(300ms);
        growth.push_back(filled(kBrightness));
    }
    saveShot("brightness_plus_held");
    x().release();
    settle();
    const int released = filled(kBrightness);
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(filled(kBrightness), released) << "the steps stop with the release";
    int previous = start;
    for (const int columns : growth) {
        EXPECT_GT(columns, previous) << "the bar grows while the button is held";
        previous = columns;
    }
    RecordProperty("brightness bar columns", std::to_string(start) + " -> " + std::to_string(released));
    const double brighter = pictureLevel();
    RecordProperty("picture level, brightness", std::to_string(darker) + " -> " + std::to_string(brighter));
    EXPECT_GT(brighter, darker + 5) << "the picture brightens with the value";

    const QImage textBefore = shot(kExposureText.x(), kExposureText.y(), kExposureText.width(),
                                   kExposureText.height());
    const double levelBefore = pictureLevel();
    moveTo(kExposure.minus.x(), kExposure.minus.y());
    x().press();
    std::this_thread::sleep_for(3s); // about 60 steps off 660
    x().release();
    settle();
    saveShot("exposure_minus_held");
    const double levelAfter = pictureLevel();
    RecordProperty("picture level, exposure", std::to_string(levelBefore) + " -> " + std::to_string(levelAfter));
    EXPECT_NE(shot(kExposureText.x(), kExposureText.y(), kExposureText.width(), kExposureText.height()),
              textBefore);
    EXPECT_LT(levelAfter, levelBefore * 0.95) << "the picture darkens with the exposure";
}

// A press on each bar sets its value, a drag past the right end fills the bar, one past the left end
// empties it, and at no point is the bar painted plain white.
TEST_F(AdjustTest, EachBarFollowsAPressAndADragPastBothEnds) {
    for (const Adjustment& a : kAdjustments) {
        SCOPED_TRACE(a.name);
        const int y = a.bar.center().y();
        moveTo(a.bar.center().x(), y);
        x().press();
        settle();
        const int middle = filled(a);
        EXPECT_GT(middle, 35);
        EXPECT_LT(middle, 65);
        for (const int column : {a.bar.right() - 10, a.bar.right() + 40, a.bar.right() + 150})
            moveTo(column, y);
        settle();
        EXPECT_EQ(filled(a), a.bar.width()) << "past the right end: the maximum";
        EXPECT_FALSE(white(a));
        saveShot(std::string(a.name) + "_past_right");
        for (const int column : {a.bar.center().x(), a.bar.left() + 10, a.bar.left() - 40, a.bar.left() - 150})
            moveTo(column, y);
        settle();
        EXPECT_LT(filled(a), 8) << "past the left end: the minimum";
        EXPECT_FALSE(white(a));
        saveShot(std::string(a.name) + "_past_left");
        moveTo(a.bar.center().x(), y);
        x().release();
        settle();
        EXPECT_NEAR(filled(a), middle, 2) << "released over the middle";
    }
}

// The exposure bar from its left column (the sensor's minimum, a black picture) to its right one (2000):
// the bar fills and the picture brightens step by step.
TEST_F(AdjustTest, ExposureBarRunsFromItsMinimumTo2000) {
    const int y = kExposure.bar.center().y();
    moveTo(kExposure.bar.left(), y);
    x().press();
    settle();
    EXPECT_LE(filled(kExposure), 1);
    EXPECT_LT(pictureLevel(), 5) << "exposure 1 shows a black picture";
    saveShot("exposure_minimum");
    double previous = pictureLevel();
    int previousColumns = filled(kExposure);
    for (const int column : {25, 50, 75, 99}) {
        moveTo(kExposure.bar.left() + column, y);
        settle();
        const double level = pictureLevel();
        const int columns = filled(kExposure);
        RecordProperty("level at column " + std::to_string(column), std::to_string(level));
        saveShot("exposure_column_" + std::to_string(column));
        EXPECT_GT(columns, previousColumns) << column;
        if (previous < 200)
            EXPECT_GT(level, previous + 10) << column;
        previous = level;
        previousColumns = columns;
    }
    EXPECT_EQ(filled(kExposure), kExposure.bar.width()) << "2000 fills the bar";
    x().release();
    settle();
}

} // namespace
} // namespace e2e
