// Auto white balance from the library's property dialog, in Chinese: one click on its box turns the live
// picture's cast neutral within about two seconds, every control of the dialog shows, OK stores the gains.
#include "program_fixture.h"

#include <QColor>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

namespace e2e {
namespace {

// The grey middle of the live picture (main window client coordinates).
const QRect kGreyMiddle(420, 300, 160, 120);

// Controls of the property dialog (dialog coordinates), each a part that shows something when drawn.
const struct {
    const char* name;
    QRect area;
} kPropertyControls[] = {
    {"white balance group", QRect(0, 0, 40, 14)},
    {"red label", QRect(14, 27, 16, 14)},
    {"red slider", QRect(57, 28, 196, 12)},
    {"red value", QRect(264, 26, 46, 15)},
    {"green slider", QRect(57, 52, 196, 12)},
    {"green value", QRect(264, 50, 46, 15)},
    {"blue slider", QRect(57, 80, 196, 12)},
    {"blue value", QRect(264, 78, 46, 15)},
    {"auto white balance", QRect(212, 99, 96, 18)},
    {"exposure group", QRect(0, 128, 30, 14)},
    {"exposure slider", QRect(57, 151, 196, 12)},
    {"exposure value", QRect(266, 148, 45, 15)},
    {"auto exposure", QRect(214, 173, 94, 17)},
    {"OK", QRect(120, 207, 95, 25)},
    {"Cancel", QRect(224, 207, 95, 25)},
};
const QPoint kAutoWhiteBalanceBox(259, 108);
const QPoint kOkButton(167, 219);

class WhiteBalanceTest : public ProgramTest {
protected:
    std::vector<std::pair<std::string, std::string>> environment() const override {
        return {{"LANG", "zh_CN.UTF-8"}};
    }
    // The largest difference between the mean red, green and blue of the picture's grey middle.
    int cast() {
        const QImage middle =
            shot(kGreyMiddle.x(), kGreyMiddle.y(), kGreyMiddle.width(), kGreyMiddle.height());
        long long sums[3] = {};
        for (int y = 0; y < middle.height(); ++y) {
            for (int x = 0; x < middle.width(); ++x) {
                const QColor colour(middle.pixel(x, y));
                sums[0] += colour.red();
                sums[1] += colour.green();
                sums[2] += colour.blue();
            }
        }
        const long long pixels = static_cast<long long>(middle.width()) * middle.height();
        const int means[3] = {static_cast<int>(sums[0] / pixels), static_cast<int>(sums[1] / pixels),
                              static_cast<int>(sums[2] / pixels)};
        return std::max({means[0], means[1], means[2]}) - std::min({means[0], means[1], means[2]});
    }
    // The stored DWORD `name` of the program's registry file, or -1.
    long storedValue(const std::string& name) {
        std::ifstream file(program().folder() / "registry");
        const std::string entry = "\"" + name + "\"=dword:";
        for (std::string line; std::getline(file, line);) {
            if (line.rfind(entry, 0) == 0) {
                return std::stol(line.substr(entry.size()), nullptr, 16);
            }
        }
        return -1;
    }
    // Settings, manual white balance confirmed in its warning, More Property: the library's dialog.
    XWindow openPropertyDialog() {
        settings_ = opens([&] { click(975, 570); });
        const XWindow warning = opens([&] { x().click(in(settings_, 310, 170)); });
        key("Return");
        EXPECT_TRUE(closes(warning));
        return opens([&] { x().click(in(settings_, 62, 166)); });
    }
    XWindow settings_;
};

TEST_F(WhiteBalanceTest, OneClickTurnsThePictureNeutralAndOkStoresTheGains) {
    const int before = cast();
    RecordProperty("cast before", before);
    EXPECT_GE(before, 6) << "the live picture starts with a cast";
    const XWindow dialog = openPropertyDialog();
    ASSERT_NE(dialog.id, 0u);

    // The gains' value fields change only when the loop reports its result.
    const QRect values = QRect(264, 26, 46, 66).translated(dialog.rect.topLeft());
    const QImage valuesBefore = x().shot(values);
    const auto start = std::chrono::steady_clock::now();
    x().click(in(dialog, kAutoWhiteBalanceBox.x(), kAutoWhiteBalanceBox.y()));
    EXPECT_TRUE(waitFor([&] { return x().shot(values) != valuesBefore; }, 5s)) << "no result arrived";
    const auto took =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    RecordProperty("result after ms", static_cast<int>(took.count()));
    EXPECT_LE(took, 3s) << "about two seconds: eight runs of four frames at 15 frames a second";
    // Each colour's mean ends within the loop's divisor (10) of the target.
    std::this_thread::sleep_for(300ms);
    const int after = cast();
    RecordProperty("cast after", after);
    EXPECT_LT(after, 10);

    saveShot("after_white_balance");
    for (const auto& control : kPropertyControls) {
        EXPECT_TRUE(hasDetail(x().shot(control.area.translated(dialog.rect.topLeft())))) << control.name;
    }

    x().click(in(dialog, kOkButton.x(), kOkButton.y()));
    ASSERT_TRUE(closes(dialog));
    const long red = storedValue("RGain");
    const long green = storedValue("GGain1");
    const long blue = storedValue("BGain");
    RecordProperty("stored gains",
                   std::to_string(red) + "/" + std::to_string(green) + "/" + std::to_string(blue));
    EXPECT_TRUE(red != 31 || green != 21 || blue != 40) << "the power-on gains were stored";
    for (const long gain : {red, green, blue}) {
        EXPECT_GE(gain, 1);
        EXPECT_LE(gain, 63);
    }
    key("Escape");
    EXPECT_TRUE(closes(settings_));
}

} // namespace
} // namespace e2e
