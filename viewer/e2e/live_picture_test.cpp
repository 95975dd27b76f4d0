// The live picture of the simulated camera as a user first sees it: it changes from frame to frame, and each
// adjustment button moves the measure of the picture it acts on.
#include "program_fixture.h"

#include <QColor>

#include <cmath>
#include <functional>
#include <thread>

namespace e2e {
namespace {

// The picture area and its grey middle (main window client coordinates), and a tinted patch left of it.
const QRect kPicture(50, 60, 750, 600);
const QRect kGreyMiddle(420, 300, 160, 120);
const QRect kTintedPatch(70, 230, 140, 110);

// Channel means and spreads of a shot, over all its pixels.
struct Measures {
    double mean = 0;       // of red, green and blue
    double spread = 0;     // standard deviation of green
    double colour = 0;     // mean |red - blue|
    double edges = 0;      // mean |green(x + 1) - green(x)|
};

Measures measure(const QImage& image) {
    Measures m;
    double sum = 0, squares = 0;
    const double pixels = double(image.width()) * image.height();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c(image.pixel(x, y));
            m.mean += (c.red() + c.green() + c.blue()) / 3.0;
            sum += c.green();
            squares += double(c.green()) * c.green();
            m.colour += std::abs(c.red() - c.blue());
            if (x + 1 < image.width())
                m.edges += std::abs(QColor(image.pixel(x + 1, y)).green() - c.green());
        }
    }
    m.mean /= pixels;
    m.colour /= pixels;
    m.edges /= pixels;
    m.spread = std::sqrt(squares / pixels - (sum / pixels) * (sum / pixels));
    return m;
}

class LivePictureTest : public ProgramTest {
protected:
    QImage area(const QRect& r) { return shot(r.x(), r.y(), r.width(), r.height()); }
};

// Noise and the frame counter: two shots 1.5 s apart differ almost everywhere in the picture.
TEST_F(LivePictureTest, TwoShotsApartDiffer) {
    const QImage first = area(kPicture);
    std::this_thread::sleep_for(1500ms);
    const QImage second = area(kPicture);
    EXPECT_TRUE(hasDetail(second));
    EXPECT_GT(changedShare(second, first), 0.5);
    saveShot("live");
}

// Three presses of each up button raise its measure, three of its down button lower it again; the
// measures are means over many pixels, so the sensor noise does not move them.
TEST_F(LivePictureTest, EachAdjustmentButtonChangesThePicture) {
    const struct {
        const char* name;
        QPoint up, down; // button centres
        QRect region;
        std::function<double(const Measures&)> value;
        double least; // the change three presses make at the least
    } buttons[] = {
        {"brightness", {985, 200}, {845, 200}, kGreyMiddle, [](const Measures& m) { return m.mean; }, 2},
        {"contrast", {985, 250}, {845, 250}, kGreyMiddle, [](const Measures& m) { return m.spread; }, 1},
        {"saturation", {985, 300}, {845, 300}, kTintedPatch, [](const Measures& m) { return m.colour; }, 1},
        {"sharpness", {985, 350}, {845, 350}, kGreyMiddle, [](const Measures& m) { return m.edges; }, 1},
        {"gamma", {985, 400}, {845, 400}, kGreyMiddle, [](const Measures& m) { return m.mean; }, 2},
    };
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.name);
        const double start = b.value(measure(area(b.region)));
        for (int i = 0; i < 3; ++i)
            click(b.up.x(), b.up.y());
        double raised = start;
        EXPECT_TRUE(waitFor([&] { return (raised = b.value(measure(area(b.region)))) > start + b.least; }, 3s))
            << "from " << start << " to " << raised;
        for (int i = 0; i < 3; ++i)
            click(b.down.x(), b.down.y());
        double lowered = raised;
        EXPECT_TRUE(waitFor([&] { return (lowered = b.value(measure(area(b.region)))) < raised - b.least; }, 3s))
            << "from " << raised << " to " << lowered;
    }
    saveShot("adjusted");
}

} // namespace
} // namespace e2e
