// Whole-window repaints leave the live picture on screen until the next frame replaces it.
#include "program_fixture.h"

#include <chrono>
#include <thread>

namespace e2e {
namespace {

using RepaintTest = ProgramTest;

// With the GDI display the camera draws straight into the picture area. F7 repaints the whole window in
// the other language; every shot of the picture taken meanwhile still shows the camera's pattern, never
// a blank area of the window's background.
TEST_F(RepaintTest, LanguageSwitchNeverBlanksTheLivePicture) {
    const XWindow settings = opens([&] { click(975, 570); });
    x().click(in(settings, 140, 199)); // GDI
    x().click(in(settings, 235, 254)); // OK
    ASSERT_TRUE(closes(settings));
    std::this_thread::sleep_for(1s);
    const QRect patch(420, 300, 120, 90);
    ASSERT_TRUE(hasDetail(shot(patch.x(), patch.y(), patch.width(), patch.height())));
    int blank = 0, shots = 0;
    for (int press = 0; press < 4; ++press) {
        key("F7");
        const auto end = std::chrono::steady_clock::now() + 500ms;
        for (; std::chrono::steady_clock::now() < end; ++shots)
            blank += !hasDetail(shot(patch.x(), patch.y(), patch.width(), patch.height()));
    }
    saveShot("after");
    EXPECT_EQ(blank, 0) << "of " << shots << " shots";
}

} // namespace
} // namespace e2e
