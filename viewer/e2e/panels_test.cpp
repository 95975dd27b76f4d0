// The buttons of both panels and the function keys, used as a person does: the window keeps its keys.
#include "program_fixture.h"

#include <thread>

#include "layout.h"

namespace e2e {
namespace {

using PanelsTest = ProgramTest;

QPoint centreOf(int id) {
    for (const layout::Place& p : layout::kControls)
        if (p.id == id)
            return QPoint(p.x + p.width / 2, p.y + p.height / 2);
    ADD_FAILURE() << "no control " << id;
    return {};
}

// The picture area of the main window.
constexpr QRect kPicture(50, 60, 750, 600);
// The thumbnail strip.
constexpr QRect kStrip(50, 675, 760, 70);

class Panels : public PanelsTest {
public:
    void press(int id) {
        const QPoint c = centreOf(id);
        click(c.x(), c.y());
        std::this_thread::sleep_for(150ms);
    }
    QImage strip() { return shot(kStrip.x(), kStrip.y(), kStrip.width(), kStrip.height()); }
};

// Every button of the preview panel that opens no dialog and does not end or hide the program.
TEST_F(Panels, PreviewButtonsKeepTheKeys) {
    for (const int id : {IDC_BUTTON_RES_DOWN, IDC_BUTTON_RES_UP, IDC_BUTTON_BRIGHT_DOWN, IDC_BUTTON_BRIGHT_UP,
                         IDC_BUTTON_CONTRAST_DOWN, IDC_BUTTON_CONTRAST_UP, IDC_BUTTON_SATURATION_DOWN,
                         IDC_BUTTON_SATURATION_UP, IDC_BUTTON_SHARP_DOWN, IDC_BUTTON_SHARP_UP, IDC_BUTTON_GAMMA_DOWN,
                         IDC_BUTTON_GAMMA_UP, IDC_BUTTON_EXPOSURE_DOWN, IDC_BUTTON_EXPOSURE_UP, IDC_BUTTON_PLAY,
                         IDC_BUTTON_PAUSE, IDC_BUTTON_STOP, IDC_BUTTON_CLOSE_FILE, IDC_BUTTON_SNAP}) {
        press(id);
        ASSERT_TRUE(program().running()) << "after control " << id;
    }
    expectAnswers();
    expectIdle();
}

// Snap, then a thumbnail: the mode switch hides the focused button, and the keys stay with the window.
TEST_F(Panels, ThumbnailAfterAButtonKeepsTheKeys) {
    const QImage empty = strip();
    key("F5");
    ASSERT_TRUE(waitFor([&] { return strip() != empty; }, 5s)) << "F5 put no thumbnail in the strip";
    press(IDC_BUTTON_BRIGHT_UP);
    click(layout::kThumbLeft + layout::kThumbWidth / 2, layout::kThumbTop + layout::kThumbHeight / 2);
    std::this_thread::sleep_for(500ms);
    saveShot("edit");
    expectAnswers();
}

// Every button of the Edit panel that opens no dialog, then back to the preview.
TEST_F(Panels, EditButtonsKeepTheKeys) {
    key("F5");
    std::this_thread::sleep_for(800ms);
    press(IDC_BUTTON_PREVIEW_EDIT);
    std::this_thread::sleep_for(500ms);
    for (const int id : {IDC_BUTTON_ZOOM_IN, IDC_BUTTON_ZOOM_OUT, IDC_BUTTON_LIGHT_UP, IDC_BUTTON_LIGHT_DOWN,
                         IDC_BUTTON_EDIT_CONTRAST_UP, IDC_BUTTON_EDIT_CONTRAST_DOWN, IDC_BUTTON_SHARPEN,
                         IDC_BUTTON_SMOOTH, IDC_BUTTON_EIGHT, IDC_BUTTON_EMBOSS, IDC_BUTTON_NEGATIVE, IDC_BUTTON_EDGE,
                         IDC_BUTTON_UNDO, IDC_BUTTON_REDO, IDC_BUTTON_FIT, IDC_BUTTON_RESET}) {
        press(id);
        ASSERT_TRUE(program().running()) << "after control " << id;
    }
    expectAnswers();
    press(IDC_BUTTON_PREVIEW_EDIT);
    expectIdle();
}

// Full enters full screen like F11; Quit ends the program. (Mini is left out: with no window manager on
// the test's server nothing could restore the window.)
TEST_F(Panels, FullAndQuit) {
    const QImage screen = x().shot();
    press(IDC_BUTTON_FULLSCREEN);
    ASSERT_TRUE(waitFor([&] { return changedShare(x().shot(), screen) > 0.3; }, 3s)) << "Full showed no full screen";
    key("Escape");
    std::this_thread::sleep_for(500ms);
    expectAnswers();
    press(IDC_BUTTON_EXIT);
    EXPECT_EQ(program().waitForExit(10000), 0) << "Quit did not end the program";
}

// F11 and Esc enter and leave full screen; F1 and F5 leave the window answering.
TEST_F(Panels, FunctionKeys) {
    const QImage screen = x().shot();
    key("F11");
    ASSERT_TRUE(waitFor([&] { return changedShare(x().shot(), screen) > 0.3; }, 3s)) << "F11 showed no full screen";
    saveShot("fullscreen");
    key("Escape");
    ASSERT_TRUE(waitFor([&] { return changedShare(x().shot(QRect(1100, 0, 180, 1024)), screen.copy(1100, 0, 180, 1024)) < 0.01; }, 3s))
        << "Esc did not leave full screen";
    const QImage empty = strip();
    key("F5");
    EXPECT_TRUE(waitFor([&] { return strip() != empty; }, 5s)) << "F5 put no thumbnail in the strip";
    key("F1");
    std::this_thread::sleep_for(500ms);
    expectIdle();
}

} // namespace
} // namespace e2e
