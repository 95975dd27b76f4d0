// The function keys used as a person does: held F5 snaps again and again, F6 asks for the recording
// file, F11 and Esc enter and leave full screen, F1 opens the readme, F7 switches the language; all of
// them still work after each of the program's own dialogs.
#include "program_fixture.h"

#include <filesystem>
#include <thread>

#include "layout.h"

namespace e2e {
namespace {

// The right-hand panel's captions, which full screen covers with the picture.
const QRect kPanel(815, 60, 200, 120);

class KeysTest : public ProgramTest {
public:
    // Thumbnails of the strip that show a picture.
    int filledThumbnails() {
        int filled = 0;
        for (int i = 0; i < layout::kThumbCount; ++i)
            filled += hasDetail(shot(layout::kThumbLeft + i * layout::kThumbStep, layout::kThumbTop,
                                     layout::kThumbWidth, layout::kThumbHeight));
        return filled;
    }
    // Snapshot files written under the home folder, where the save path C:\ leads.
    int snapshotFiles() {
        int files = 0;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(program().folder() / "home"))
            files += entry.path().extension() == ".jpg";
        return files;
    }
    QImage panel() { return shot(kPanel.x(), kPanel.y(), kPanel.width(), kPanel.height()); }

    // One F5 adds a thumbnail and its file; F11 covers the panel with the picture and Esc brings it back.
    void expectSnapAndFullScreen() {
        const int files = snapshotFiles();
        key("F5");
        EXPECT_TRUE(waitFor([&] { return snapshotFiles() == files + 1; }, 3s)) << "F5 wrote no snapshot";
        const QImage before = panel();
        key("F11");
        EXPECT_TRUE(waitFor([&] { return changedShare(panel(), before) > 0.3; }, 3s)) << "F11: no full screen";
        saveShot("full_screen");
        key("Escape");
        EXPECT_TRUE(waitFor([&] { return panel() == before; }, 3s)) << "Esc did not leave full screen";
    }
};

TEST_F(KeysTest, StartsAndAnswers) {
    expectIdle();
}

// Held down, F5 repeats: the strip fills and every snap is a file. F6 opens the recording's save dialog,
// F1 leaves the window answering, and one snap and full screen work after them.
TEST_F(KeysTest, EveryFunctionKey) {
    ASSERT_EQ(filledThumbnails(), 0);
    x().key("F5", 1500ms);
    EXPECT_TRUE(waitFor([&] { return filledThumbnails() == layout::kThumbCount; }, 5s))
        << filledThumbnails() << " thumbnails after a held F5";
    std::this_thread::sleep_for(500ms);
    EXPECT_GE(snapshotFiles(), layout::kThumbCount);
    saveShot("held_f5");

    const XWindow save = opens([&] { key("F6"); });
    ASSERT_NE(save.id, 0u);
    key("Escape");
    EXPECT_TRUE(closes(save));
    key("F1");
    expectAnswers();
    expectSnapAndFullScreen();
}

// After the settings dialog (closed by its OK button and by Esc) and the threshold dialog, every key works.
TEST_F(KeysTest, KeysAfterEachDialog) {
    const struct {
        const char* name;
        std::function<void(const XWindow&)> close;
    } closings[] = {
        {"OK", [&](const XWindow& w) { x().click(in(w, 234, 254)); }},
        {"Esc", [&](const XWindow&) { key("Escape"); }},
    };
    for (const auto& closing : closings) {
        SCOPED_TRACE(closing.name);
        const XWindow window = opens([&] { click(975, 570); });
        ASSERT_NE(window.id, 0u);
        closing.close(window);
        ASSERT_TRUE(closes(window));
        expectAnswers();
        expectSnapAndFullScreen();
    }

    // The threshold dialog, from the Edit view of a snapshot's thumbnail.
    click(layout::kThumbLeft + layout::kThumbWidth / 2, layout::kThumbTop + layout::kThumbHeight / 2);
    std::this_thread::sleep_for(500ms);
    const XWindow threshold = opens([&] { click(960, 570); });
    ASSERT_NE(threshold.id, 0u);
    key("Escape");
    ASSERT_TRUE(closes(threshold));
    expectAnswers();
    const int files = snapshotFiles();
    key("F5");
    EXPECT_TRUE(waitFor([&] { return snapshotFiles() == files + 1; }, 3s)) << "F5 in the Edit view";
}

} // namespace
} // namespace e2e
