// The cursors the main window shows, read back from the X server.
#include "program_fixture.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <thread>

#include "layout.h"

namespace e2e {
namespace {

struct ShownCursor {
    int width = 0, height = 0, hotX = 0, hotY = 0;
};

class CursorTest : public ProgramTest {
public:
    // The cursor the server shows now.
    ShownCursor shown() {
        Display* display = XOpenDisplay(x().displayName().c_str());
        if (!display)
            return {};
        ShownCursor shape;
        if (XFixesCursorImage* image = XFixesGetCursorImage(display)) {
            shape = {image->width, image->height, image->xhot, image->yhot};
            XFree(image);
        }
        XCloseDisplay(display);
        return shape;
    }
};

// A snapshot opened from its thumbnail is larger than the Edit view. While the mouse is held the view
// keeps it and nobody is asked for a cursor; once a drag has panned the picture, the next move over the
// view shows the program's own 32 x 32 drag cursor, held by its middle.
TEST_F(CursorTest, AfterDraggingALargePictureTheViewShowsTheDragCursor) {
    const QRect strip(50, 675, 760, 70);
    const QImage empty = shot(strip.x(), strip.y(), strip.width(), strip.height());
    key("F5");
    ASSERT_TRUE(waitFor([&] { return shot(strip.x(), strip.y(), strip.width(), strip.height()) != empty; }, 5s));
    click(layout::kThumbLeft + layout::kThumbWidth / 2, layout::kThumbTop + layout::kThumbHeight / 2);
    std::this_thread::sleep_for(500ms);
    x().moveTo(at(400, 350));
    x().press();
    for (int step = 1; step <= 4; ++step) {
        x().moveTo(at(400 + 10 * step, 350 + 5 * step));
        std::this_thread::sleep_for(50ms);
    }
    x().release();
    std::this_thread::sleep_for(200ms);
    x().moveTo(at(460, 380));
    ShownCursor after;
    EXPECT_TRUE(waitFor(
        [&] {
            after = shown();
            return after.width == 32 && after.height == 32 && after.hotX == 16 && after.hotY == 16;
        },
        2s))
        << "shown: " << after.width << " x " << after.height << ", hot spot " << after.hotX << ", " << after.hotY;
    saveShot("dragged");
}

} // namespace
} // namespace e2e
