// A media file loaded through the file dialog: its picture stays through pause, Edit and back, and full
// screen; the position slider used with the mouse leaves the keys working; one F6 opens one dialog.
#include "program_fixture.h"

#include <cstdlib>
#include <thread>

namespace e2e {
namespace {

constexpr QRect kPicture(50, 60, 750, 600);

// The share of white pixels: a picture area that lost its frame is white.
double whiteShare(const QImage& image) {
    long white = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            white += (image.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
    return static_cast<double>(white) / (static_cast<double>(image.width()) * image.height());
}

class MediaTest : public ProgramTest {
public:
    // Makes a 4-second 320x240 MJPEG AVI with ffmpeg and loads it through the Load button's dialog.
    void load() {
        const std::string clip = (program().folder() / "clip.avi").string();
        const std::string make = "ffmpeg -v error -y -f lavfi -i testsrc=size=320x240:rate=15 -t 4 -c:v mjpeg " + clip;
        ASSERT_EQ(std::system(make.c_str()), 0);
        const XWindow dialog = opens([&] { click(845, 495); });
        ASSERT_NE(dialog.id, 0u);
        x().type(clip);
        key("Return");
        ASSERT_TRUE(closes(dialog));
        ASSERT_TRUE(waitFor([&] { return shown(); }, 5s)) << "the first frame is not shown";
    }
    QImage picture() { return shot(kPicture.x(), kPicture.y(), kPicture.width(), kPicture.height()); }
    bool shown() { return whiteShare(picture()) < 0.2 && hasDetail(picture()); }
};

TEST_F(MediaTest, PausedPictureStaysThroughEditAndFullScreen) {
    ASSERT_NO_FATAL_FAILURE(load());
    saveShot("loaded");
    click(880, 495); // Play
    std::this_thread::sleep_for(700ms);
    click(915, 495); // Pause
    std::this_thread::sleep_for(300ms);
    click(915, 710); // Edit
    std::this_thread::sleep_for(500ms);
    click(915, 710); // Preview
    EXPECT_TRUE(waitFor([&] { return shown(); }, 3s)) << "the paused picture vanished after Edit and Preview";
    saveShot("paused_after_edit");
    key("F11");
    std::this_thread::sleep_for(800ms);
    const QImage screen = x().shot();
    EXPECT_LT(whiteShare(screen), 0.2) << "full screen while paused is white";
    EXPECT_TRUE(hasDetail(screen));
    saveShot("fullscreen");
    key("Escape");
    std::this_thread::sleep_for(500ms);
}

TEST_F(MediaTest, PositionSliderThenFunctionKeys) {
    ASSERT_NO_FATAL_FAILURE(load());
    x().drag(at(884, 470), at(930, 470));
    for (const char* name : {"F11", "Escape", "F7", "F7"})
        key(name);
    std::this_thread::sleep_for(300ms);
    expectIdle();
}

TEST_F(MediaTest, OneF6OpensOneSaveDialog) {
    ASSERT_NO_FATAL_FAILURE(load());
    click(884, 470); // the position slider: keys now start at the video's controls
    const std::vector<XWindow> before = x().windows();
    key("F6");
    std::this_thread::sleep_for(1500ms);
    const std::vector<XWindow> added = x().windowsBesides(before);
    ASSERT_EQ(added.size(), 1u) << "F6 opened " << added.size() << " dialogs";
    key("Escape");
    EXPECT_TRUE(closes(added.front()));
}

} // namespace
} // namespace e2e
