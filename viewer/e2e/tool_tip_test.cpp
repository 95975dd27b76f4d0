// Tool tips of the main window's buttons, shown by resting the mouse on them.
#include "program_fixture.h"

#include <thread>

#include "layout.h"

namespace e2e {
namespace {

class ToolTipTest : public ProgramTest {
public:
    // The Snap button's middle, and the area just under the button where its tip shows by the cursor.
    QPoint snap() const {
        for (const layout::Place& p : layout::kControls)
            if (p.id == IDC_BUTTON_SNAP)
                return at(p.x + p.width / 2, p.y + p.height / 2);
        return {};
    }
    QImage tipArea() { return x().shot(QRect(snap() + QPoint(-10, 24), QSize(160, 24))); }
    // Rests the mouse on the button (a small move inside, as a hand does).
    void restOnSnap() {
        x().moveTo(snap());
        std::this_thread::sleep_for(50ms);
        x().moveTo(snap() + QPoint(2, 1));
    }
    void leave() { x().moveTo(at(400, 300)); }
};

// The tip shows after the pause, goes with a click, and shows again when the mouse has left the button and
// come back to it.
TEST_F(ToolTipTest, TipReturnsAfterItsButtonWasClicked) {
    leave();
    std::this_thread::sleep_for(300ms);
    const QImage without = tipArea();
    restOnSnap();
    ASSERT_TRUE(waitFor([&] { return tipArea() != without; }, 3s)) << "no tip over the Snap button";
    x().click(snap() + QPoint(2, 1));
    EXPECT_TRUE(waitFor([&] { return tipArea() == without; }, 2s)) << "the click left the tip up";
    leave();
    std::this_thread::sleep_for(500ms);
    restOnSnap();
    EXPECT_TRUE(waitFor([&] { return tipArea() != without; }, 3s)) << "the tip never came back";
    saveShot("tip");
}

} // namespace
} // namespace e2e
