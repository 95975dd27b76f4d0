// Qt keyboard and mouse input becoming window messages: codes, flags, coordinates, routing, tracking.
#include "user_fixture.h"

namespace platform::user::test {
namespace {

using ::testing::ElementsAre;

using InputTest = UserTest;

struct KeyCase {
    const char* name;
    int qtKey;
    UINT vk;
    bool extended;
};

class KeyCodeTest : public UserTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyCodeTest, KeyDownAndUpCarryTheVirtualKeyAndWindowsKeyBits) {
    const KeyCase& c = GetParam();
    HWND w = makeWindow(WS_POPUP | WS_VISIBLE, 1000, 0, 50, 50);
    SetFocus(w);
    key(w, QEvent::KeyPress, c.qtKey);
    key(w, QEvent::KeyRelease, c.qtKey);
    drain();
    const std::vector<Seen> down = seenOf(WM_KEYDOWN);
    const std::vector<Seen> up = seenOf(WM_KEYUP);
    ASSERT_EQ(down.size(), 1u);
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(down[0].wParam, c.vk);
    EXPECT_EQ(up[0].wParam, c.vk);
    const auto bits = [](LPARAM lp) { return static_cast<DWORD>(lp); };
    EXPECT_EQ(bits(down[0].lParam) & 0xFFFF, 1u) << "repeat count";
    EXPECT_EQ((bits(down[0].lParam) >> 24) & 1, c.extended ? 1u : 0u);
    EXPECT_EQ(bits(down[0].lParam) >> 30, 0u) << "first press: key was up, transition down";
    EXPECT_EQ(bits(up[0].lParam) >> 30, 3u) << "release: key was down, transition up";
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyCodeTest,
                         ::testing::Values(KeyCase{"F1", Qt::Key_F1, VK_F1, false},
                                           KeyCase{"F5", Qt::Key_F5, VK_F5, false},
                                           KeyCase{"F12", Qt::Key_F12, VK_F12, false},
                                           KeyCase{"Esc", Qt::Key_Escape, VK_ESCAPE, false},
                                           KeyCase{"Enter", Qt::Key_Return, VK_RETURN, false},
                                           KeyCase{"Left", Qt::Key_Left, VK_LEFT, true},
                                           KeyCase{"Down", Qt::Key_Down, VK_DOWN, true},
                                           KeyCase{"LetterQ", Qt::Key_Q, 'Q', false},
                                           KeyCase{"Digit7", Qt::Key_7, '7', false}),
                         [](const auto& info) { return std::string(info.param.name); });

// A held key gives repeated key-downs with the previous-state bit set and one key-up at the end.
TEST_F(InputTest, AutoRepeatSetsThePreviousStateBitAndSendsNoUpInBetween) {
    HWND w = makeWindow(WS_POPUP | WS_VISIBLE, 1000, 0, 50, 50);
    SetFocus(w);
    key(w, QEvent::KeyPress, Qt::Key_F5);
    key(w, QEvent::KeyRelease, Qt::Key_F5, Qt::NoModifier, {}, true);
    key(w, QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier, {}, true);
    key(w, QEvent::KeyRelease, Qt::Key_F5);
    drain();
    const std::vector<Seen> down = seenOf(WM_KEYDOWN);
    ASSERT_EQ(down.size(), 2u);
    EXPECT_EQ((static_cast<DWORD>(down[0].lParam) >> 30) & 1, 0u);
    EXPECT_EQ((static_cast<DWORD>(down[1].lParam) >> 30) & 1, 1u);
    EXPECT_EQ(seenOf(WM_KEYUP).size(), 1u);
}

TEST_F(InputTest, KeysGoToTheFocusWindowThroughTheHookAndTypeCharacters) {
    HWND top = makeWindow(WS_POPUP | WS_VISIBLE, 1000, 0, 100, 100);
    HWND child = makeWindow(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top, 1);
    SetFocus(child);
    std::vector<HWND> hooked;
    setPreTranslateHook([&](MSG& msg) {
        if (msg.message == WM_KEYDOWN)
            hooked.push_back(msg.hwnd);
        return false;
    });
    key(top, QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    EXPECT_TRUE(runModalLoop([&] { return !seenOf(WM_CHAR).empty(); }));
    EXPECT_THAT(hooked, ElementsAre(child));
    EXPECT_EQ(seenOf(WM_KEYDOWN)[0].hwnd, child);
    EXPECT_EQ(seenOf(WM_CHAR)[0].wParam, static_cast<WPARAM>('a'));
}

// With Alt, with F10, or with no focus window the keys are system keys (no focus: to the top-level window).
TEST_F(InputTest, SystemKeys) {
    HWND top = makeWindow(WS_POPUP | WS_VISIBLE, 1000, 0, 100, 100);
    HWND child = makeWindow(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top, 1);
    SetFocus(child);
    key(child, QEvent::KeyPress, Qt::Key_X, Qt::AltModifier);
    key(child, QEvent::KeyPress, Qt::Key_F10);
    SetFocus(nullptr);
    key(child, QEvent::KeyPress, Qt::Key_F2);
    drain();
    const std::vector<Seen> sys = seenOf(WM_SYSKEYDOWN);
    ASSERT_EQ(sys.size(), 3u);
    EXPECT_EQ(sys[0].hwnd, child);
    EXPECT_EQ((static_cast<DWORD>(sys[0].lParam) >> 29) & 1, 1u) << "context code: Alt held";
    EXPECT_EQ(sys[1].wParam, static_cast<WPARAM>(VK_F10));
    EXPECT_EQ(sys[2].hwnd, top);
    EXPECT_TRUE(seenOf(WM_KEYDOWN).empty());
}

struct MouseCase {
    const char* name;
    QEvent::Type type;
    Qt::MouseButton button;
    Qt::MouseButtons buttons; // after the event
    Qt::KeyboardModifiers modifiers;
    const char* windowClass;
    UINT message;
    WPARAM flags;
};

class MouseMessageTest : public UserTest, public ::testing::WithParamInterface<MouseCase> {};

TEST_P(MouseMessageTest, BecomesTheMessageWithFlagsAndChildClientCoordinates) {
    const MouseCase& c = GetParam();
    HWND top = makeWindow(WS_POPUP | WS_VISIBLE, 1000, 100, 200, 200);
    HWND child = makeWindow(WS_CHILD | WS_VISIBLE, 30, 40, 100, 100, top, 1, c.windowClass);
    mouse(top, c.type, c.button, c.buttons, QPoint(35, 47), c.modifiers);
    drain();
    const std::vector<Seen> got = seenOf(c.message);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].hwnd, child);
    EXPECT_EQ(got[0].wParam, c.flags);
    EXPECT_EQ(GET_X_LPARAM(got[0].lParam), 5);
    EXPECT_EQ(GET_Y_LPARAM(got[0].lParam), 7);
}

INSTANTIATE_TEST_SUITE_P(
    Mouse, MouseMessageTest,
    ::testing::Values(MouseCase{"LeftDown", QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton,
                                Qt::NoModifier, "OrvRecord", WM_LBUTTONDOWN, MK_LBUTTON},
                      MouseCase{"LeftUp", QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton,
                                Qt::NoModifier, "OrvRecord", WM_LBUTTONUP, 0},
                      MouseCase{"RightDownWithCtrl", QEvent::MouseButtonPress, Qt::RightButton,
                                Qt::RightButton, Qt::ControlModifier, "OrvRecord", WM_RBUTTONDOWN,
                                MK_RBUTTON | MK_CONTROL},
                      MouseCase{"RightUpWithLeftHeld", QEvent::MouseButtonRelease, Qt::RightButton,
                                Qt::LeftButton, Qt::NoModifier, "OrvRecord", WM_RBUTTONUP, MK_LBUTTON},
                      MouseCase{"MoveWithShiftAndLeft", QEvent::MouseMove, Qt::NoButton, Qt::LeftButton,
                                Qt::ShiftModifier, "OrvRecord", WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT},
                      MouseCase{"DoubleClickWithClassStyle", QEvent::MouseButtonDblClick, Qt::LeftButton,
                                Qt::LeftButton, Qt::NoModifier, "OrvRecordDbl", WM_LBUTTONDBLCLK, MK_LBUTTON},
                      MouseCase{"DoubleClickWithoutClassStyleIsADown", QEvent::MouseButtonDblClick,
                                Qt::LeftButton, Qt::LeftButton, Qt::NoModifier, "OrvRecord", WM_LBUTTONDOWN,
                                MK_LBUTTON}),
    [](const auto& info) { return std::string(info.param.name); });

// Where a click lands: statics without SS_NOTIFY and disabled windows pass it to the parent.
TEST_F(InputTest, ClicksPassThroughTransparentStaticsAndDisabledWindows) {
    HWND top = makeWindow(WS_POPUP | WS_VISIBLE, 1000, 100, 300, 100);
    makeWindow(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top, 1, "STATIC");
    HWND notify = makeWindow(WS_CHILD | WS_VISIBLE | SS_NOTIFY, 100, 0, 50, 50, top, 2, "STATIC");
    makeWindow(WS_CHILD | WS_VISIBLE | WS_DISABLED, 200, 0, 50, 50, top, 3);
    handler = [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        return m == WM_LBUTTONDOWN ? std::optional<LRESULT>(0) : std::nullopt;
    };
    HWND staticHit = nullptr;
    setPreTranslateHook([&](MSG& msg) {
        if (msg.message == WM_LBUTTONDOWN && msg.hwnd == notify)
            staticHit = msg.hwnd;
        return false;
    });
    for (int x : {10, 110, 210})
        mouse(top, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPoint(x, 10));
    EXPECT_TRUE(runModalLoop([&] { return seenOf(WM_COMMAND).size() == 1; }));
    drain();
    const std::vector<Seen> downs = seenOf(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 2u); // the SS_NOTIFY static's own click is handled by the static class
    EXPECT_EQ(downs[0].hwnd, top);
    EXPECT_EQ(GET_X_LPARAM(downs[0].lParam), 10);
    EXPECT_EQ(downs[1].hwnd, top);
    EXPECT_EQ(GET_X_LPARAM(downs[1].lParam), 210);
    EXPECT_EQ(staticHit, notify);
    const Seen command = seenOf(WM_COMMAND)[0];
    EXPECT_EQ(command.wParam, MAKEWPARAM(2, STN_CLICKED));
    EXPECT_EQ(command.lParam, reinterpret_cast<LPARAM>(notify));
}

TEST_F(InputTest, CaptureTakesMouseMessagesOutsideTheWindow) {
    HWND top = makeWindow(WS_POPUP | WS_VISIBLE, 1000, 100, 200, 200);
    HWND child = makeWindow(WS_CHILD | WS_VISIBLE, 50, 50, 50, 50, top, 1);
    HWND other = makeWindow(WS_CHILD | WS_VISIBLE, 120, 120, 50, 50, top, 2);
    EXPECT_EQ(SetCapture(child), nullptr);
    mouse(top, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, QPoint(10, 20));
    drain();
    ASSERT_EQ(seenOf(WM_MOUSEMOVE).size(), 1u);
    EXPECT_EQ(seenOf(WM_MOUSEMOVE)[0].hwnd, child);
    EXPECT_EQ(GET_X_LPARAM(seenOf(WM_MOUSEMOVE)[0].lParam), -40);
    EXPECT_EQ(GET_Y_LPARAM(seenOf(WM_MOUSEMOVE)[0].lParam), -30);
    EXPECT_EQ(SetCapture(other), child);
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(GetCapture(), nullptr);
    const std::vector<Seen> changed = seenOf(WM_CAPTURECHANGED);
    ASSERT_EQ(changed.size(), 2u);
    EXPECT_EQ(changed[0].hwnd, child);
    EXPECT_EQ(changed[0].lParam, reinterpret_cast<LPARAM>(other));
    EXPECT_EQ(changed[1].hwnd, other);
    EXPECT_EQ(changed[1].lParam, 0);
}

// WM_SETCURSOR comes before the mouse message; a child asks its parent first, whose TRUE ends it.
TEST_F(InputTest, SetCursorAsksTheParentFirst) {
    HWND top = makeWindow(WS_POPUP | WS_VISIBLE, 1000, 100, 200, 200);
    HWND child = makeWindow(WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, top, 1);
    handler = [top](HWND hwnd, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_SETCURSOR && hwnd == top) {
            SetCursor(LoadCursor(nullptr, IDC_HAND));
            return TRUE;
        }
        return std::nullopt;
    };
    mouse(top, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, QPoint(10, 10));
    drain();
    std::vector<std::pair<HWND, UINT>> order;
    for (const Seen& s : seen) {
        if (s.message == WM_SETCURSOR || s.message == WM_MOUSEMOVE)
            order.emplace_back(s.hwnd, s.message);
    }
    EXPECT_THAT(order, ElementsAre(std::pair(child, WM_SETCURSOR), std::pair(top, WM_SETCURSOR),
                                   std::pair(child, WM_MOUSEMOVE)));
    const Seen first = seenOf(WM_SETCURSOR)[0];
    EXPECT_EQ(first.wParam, reinterpret_cast<WPARAM>(child));
    EXPECT_EQ(first.lParam, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(widgetOf(child)->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(InputTest, HoverAfterTheHoverTimeAndLeaveOntoAChild) {
    HWND top = makeWindow(WS_POPUP | WS_VISIBLE, 1000, 100, 200, 200);
    HWND button = makeWindow(WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, top, 1);
    HWND inner = makeWindow(WS_CHILD | WS_VISIBLE, 60, 60, 20, 20, button, 2);
    mouse(top, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, QPoint(10, 10));
    drain();
    TRACKMOUSEEVENT tme{16, TME_HOVER | TME_LEAVE, button, 1};
    ASSERT_TRUE(_TrackMouseEvent(&tme));
    drain();
    EXPECT_TRUE(seenOf(WM_MOUSEHOVER).empty());
    clock.advance(1);
    drain();
    ASSERT_EQ(seenOf(WM_MOUSEHOVER).size(), 1u);
    EXPECT_EQ(seenOf(WM_MOUSEHOVER)[0].hwnd, button);
    EXPECT_EQ(GET_X_LPARAM(seenOf(WM_MOUSEHOVER)[0].lParam), 10);
    clock.advance(100);
    drain();
    EXPECT_EQ(seenOf(WM_MOUSEHOVER).size(), 1u) << "hover fires once";
    mouse(top, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, QPoint(65, 65)); // onto the inner child
    drain();
    ASSERT_EQ(seenOf(WM_MOUSELEAVE).size(), 1u);
    EXPECT_EQ(seenOf(WM_MOUSELEAVE)[0].hwnd, button);
    mouse(top, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, QPoint(10, 10));
    drain();
    EXPECT_EQ(seenOf(WM_MOUSELEAVE).size(), 1u) << "leave is not armed again by itself";
    // Tracking a window the mouse is not over reports the leave at once.
    tme.hwndTrack = inner;
    tme.dwFlags = TME_LEAVE;
    ASSERT_TRUE(TrackMouseEvent(&tme));
    drain();
    EXPECT_EQ(seenOf(WM_MOUSELEAVE).back().hwnd, inner);
    tme.cbSize = 3;
    EXPECT_FALSE(TrackMouseEvent(&tme));
}

// Moves waiting in the queue merge into the latest one, but never across a button message.
TEST_F(InputTest, QueuedMovesMergeUpToTheNextButtonMessage) {
    HWND top = makeWindow(WS_POPUP | WS_VISIBLE, 400, 100, 200, 200);
    for (int x : {10, 20, 30})
        mouse(top, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, QPoint(x, 5));
    mouse(top, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPoint(30, 5));
    mouse(top, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, QPoint(40, 5));
    drain();
    std::vector<std::pair<UINT, int>> got;
    for (const Seen& s : seen) {
        if (s.message == WM_MOUSEMOVE || s.message == WM_LBUTTONDOWN)
            got.emplace_back(s.message, GET_X_LPARAM(s.lParam));
    }
    EXPECT_THAT(got,
                ElementsAre(std::pair<UINT, int>(WM_MOUSEMOVE, 30), std::pair<UINT, int>(WM_LBUTTONDOWN, 30),
                            std::pair<UINT, int>(WM_MOUSEMOVE, 40)));
}

TEST_F(InputTest, WheelGoesToTheFocusWindowInScreenCoordinates) {
    HWND top = makeWindow(WS_POPUP | WS_VISIBLE, 1000, 100, 200, 200);
    HWND child = makeWindow(WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, top, 1);
    SetFocus(child);
    QWidget* widget = widgetOf(top);
    QWheelEvent event(QPointF(150, 150), widget->mapToGlobal(QPointF(150, 150)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
    drain();
    const std::vector<Seen> wheel = seenOf(WM_MOUSEWHEEL);
    ASSERT_GE(wheel.size(), 1u);
    EXPECT_EQ(wheel[0].hwnd, child);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel[0].wParam), -WHEEL_DELTA);
    EXPECT_EQ(LOWORD(wheel[0].wParam), MK_CONTROL);
    EXPECT_EQ(GET_X_LPARAM(wheel[0].lParam), 1150);
}

} // namespace
} // namespace platform::user::test
