// Every dialog the program opens, closed once with the mouse and once with the keyboard; the keys of the
// main window work afterwards (the fixture's F7 check) and the dialog showed its controls.
#include "program_fixture.h"

#include <cstdio>
#include <thread>

namespace e2e {
namespace {

class DialogsTest : public ProgramTest {
public:
    XWindow settings() { return opens([&] { click(975, 570); }); }
    // Opens the settings dialog and in it whatever `inside` clicks.
    XWindow fromSettings(QPoint inside) {
        settings_ = settings();
        return opens([&] { x().click(in(settings_, inside.x(), inside.y())); });
    }
    // Manual white balance, confirmed in its warning, then More Property: the library's own dialog.
    XWindow manualProperty() {
        const XWindow warning = fromSettings({310, 170});
        key("Return");
        EXPECT_TRUE(closes(warning));
        return opens([&] { x().click(in(settings_, 62, 166)); });
    }
    // A snapshot, then the Edit view on it through its thumbnail.
    void editMode() {
        key("F5");
        std::this_thread::sleep_for(800ms);
        click(95, 710);
        std::this_thread::sleep_for(500ms);
    }
    XWindow fromEdit(QPoint button) {
        editMode();
        return opens([&] { click(button.x(), button.y()); });
    }
    // Open in the Edit view on a file that is no picture: the message that it cannot be opened.
    XWindow cannotOpen() {
        const std::string bad = (program().folder() / "bad.bmp").string();
        std::FILE* file = std::fopen(bad.c_str(), "w");
        std::fputs("not a picture", file);
        std::fclose(file);
        const XWindow open = fromEdit({860, 570});
        x().type(bad);
        // The message comes once the file dialog, and the completion list typing showed, are gone.
        return opens([&] {
            key("Return");
            EXPECT_TRUE(closes(open));
        });
    }
    void leaveEdit() { click(915, 710); }
    void closeSettings() {
        key("Escape");
        EXPECT_TRUE(closes(settings_));
    }
    XWindow settings_;
};

// One dialog: how it opens, where its Cancel (or OK) button is, which key closes it (Alt+F4 for the
// library's modeless dialogs, which have no dialog keys of their own), what closes the windows it opened
// from, and a place inside it that shows a control.
struct DialogCase {
    const char* name;
    std::function<XWindow(DialogsTest&)> open;
    std::function<QPoint(const XWindow&)> cancelButton;
    const char* closeKey;
    std::function<void(DialogsTest&)> after;
    QRect control;
};

void PrintTo(const DialogCase& dialog, std::ostream* out) {
    *out << dialog.name;
}

QPoint fromBottomRight(const XWindow& w, int dx, int dy) {
    return w.rect.bottomRight() - QPoint(dx, dy);
}

class DialogTest : public DialogsTest, public ::testing::WithParamInterface<DialogCase> {
public:
    void open(XWindow& window) {
        window = GetParam().open(*this);
        ASSERT_NE(window.id, 0u);
        const QRect control = GetParam().control.translated(window.rect.topLeft());
        EXPECT_TRUE(hasDetail(x().shot(control))) << "the dialog's control area is blank";
        saveShot("open");
    }
    void finish(const XWindow& window) {
        EXPECT_TRUE(closes(window)) << "the dialog did not close";
        if (GetParam().after)
            GetParam().after(*this);
    }
};

TEST_P(DialogTest, ClosedWithTheMouse) {
    XWindow window;
    ASSERT_NO_FATAL_FAILURE(open(window));
    x().click(GetParam().cancelButton(window));
    finish(window);
}

TEST_P(DialogTest, ClosedWithTheKeyboard) {
    XWindow window;
    ASSERT_NO_FATAL_FAILURE(open(window));
    key(GetParam().closeKey);
    finish(window);
}

const DialogCase kDialogs[] = {
    {"Settings", [](DialogsTest& t) { return t.settings(); }, [](const XWindow& w) { return w.rect.topLeft() + QPoint(395, 255); },
     "Escape", nullptr, QRect(134, 128, 100, 20)},
    {"CompressorSelection", [](DialogsTest& t) { return t.fromSettings({184, 138}); },
     [](const XWindow& w) { return w.rect.topLeft() + QPoint(188, 72); }, "Alt_L+F4",
     [](DialogsTest& t) { t.closeSettings(); }, QRect(14, 14, 234, 28)},
    {"DriverPage", [](DialogsTest& t) { return t.fromSettings({62, 166}); },
     [](const XWindow& w) { return fromBottomRight(w, 129, 20); }, "Escape",
     [](DialogsTest& t) { t.closeSettings(); }, QRect(80, 10, 160, 120)},
    {"ManualWhiteBalanceWarning", [](DialogsTest& t) { return t.fromSettings({310, 170}); },
     [](const XWindow& w) { return fromBottomRight(w, 50, 25); }, "Return",
     [](DialogsTest& t) { t.closeSettings(); }, QRect(10, 10, 200, 40)},
    {"CameraProperty", [](DialogsTest& t) { return t.manualProperty(); },
     [](const XWindow& w) { return w.rect.topLeft() + QPoint(272, 220); }, "Alt_L+F4",
     [](DialogsTest& t) { t.closeSettings(); }, QRect(56, 26, 200, 20)},
    {"LoadFile", [](DialogsTest& t) { return t.opens([&] { t.click(845, 495); }); },
     [](const XWindow& w) { return fromBottomRight(w, 50, 20); }, "Escape", nullptr, QRect(10, 10, 300, 60)},
    {"RecordFile", [](DialogsTest& t) { return t.opens([&] { t.key("F6"); }); },
     [](const XWindow& w) { return fromBottomRight(w, 50, 20); }, "Escape", nullptr, QRect(10, 10, 300, 60)},
    {"EditOpenFile", [](DialogsTest& t) { return t.fromEdit({860, 570}); },
     [](const XWindow& w) { return fromBottomRight(w, 50, 20); }, "Escape", [](DialogsTest& t) { t.leaveEdit(); },
     QRect(10, 10, 300, 60)},
    {"EditSaveFile", [](DialogsTest& t) { return t.fromEdit({910, 570}); },
     [](const XWindow& w) { return fromBottomRight(w, 50, 20); }, "Escape", [](DialogsTest& t) { t.leaveEdit(); },
     QRect(10, 10, 300, 60)},
    {"CannotOpenMessage", [](DialogsTest& t) { return t.cannotOpen(); },
     [](const XWindow& w) { return fromBottomRight(w, 50, 25); }, "Return", [](DialogsTest& t) { t.leaveEdit(); },
     QRect(10, 10, 200, 40)},
    {"SavePathFolder", [](DialogsTest& t) { return t.fromSettings({62, 16}); },
     [](const XWindow& w) { return fromBottomRight(w, 50, 20); }, "Escape",
     [](DialogsTest& t) { t.closeSettings(); }, QRect(10, 10, 300, 60)},
};

// A key the track bar ignores must not come back to it for ever: the program idles and the keys work.
TEST_F(DialogsTest, PropertySliderThenFunctionKeys) {
    const XWindow dialog = manualProperty();
    ASSERT_NE(dialog.id, 0u);
    x().drag(in(dialog, 100, 36), in(dialog, 200, 36));
    for (const char* name : {"F7", "F11", "F5", "Escape"})
        key(name);
    expectIdle();
    key("Alt_L+F4");
    EXPECT_TRUE(closes(dialog));
    closeSettings();
}

TEST_F(DialogsTest, ThresholdSliderThenFunctionKeys) {
    editMode();
    const XWindow dialog = opens([&] { click(960, 570); }); // Tool
    ASSERT_NE(dialog.id, 0u);
    saveShot("threshold");
    x().drag(in(dialog, 130, 22), in(dialog, 250, 22));
    for (const char* name : {"F11", "F7", "F1"})
        key(name);
    expectIdle();
    key("Escape");
    EXPECT_TRUE(closes(dialog));
    click(915, 710); // Preview
}

INSTANTIATE_TEST_SUITE_P(Every, DialogTest, ::testing::ValuesIn(kDialogs),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace e2e
