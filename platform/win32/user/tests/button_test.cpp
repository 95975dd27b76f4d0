// The "BUTTON" class: pushed/focus/capture state as BM_GETSTATE reports it, clicks, checks, owner drawing.
#include "user_fixture.h"

#include <QImage>
#include <QWidget>

#include "window.h"

namespace platform::user::test {
namespace {

using ::testing::ElementsAre;

using ButtonTest = UserTest;

// A push button held by the mouse reads 108 (pushed, focused, captured, held), which is how the main
// window finds the button that repeats; moving off it drops only the pushed bit.
TEST_F(ButtonTest, HeldButtonStateAndClickOnReleaseOverIt) {
    HWND dialog = makeWindow(WS_POPUP | WS_VISIBLE, 100, 100, 300, 200);
    HWND button = makeWindow(WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10, 10, 40, 30, dialog, 1015, "BUTTON");
    drain();
    mouse(dialog, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPoint(20, 20));
    drain();
    EXPECT_EQ(SendMessage(button, BM_GETSTATE, 0, 0), 108);
    EXPECT_EQ(GetCapture(), button);
    EXPECT_EQ(GetFocus(), button);
    mouse(dialog, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, QPoint(200, 150));
    drain();
    EXPECT_EQ(SendMessage(button, BM_GETSTATE, 0, 0), 108 & ~BST_PUSHED);
    mouse(dialog, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, QPoint(25, 25));
    drain();
    EXPECT_EQ(SendMessage(button, BM_GETSTATE, 0, 0), 108);
    EXPECT_TRUE(paramsOf(WM_COMMAND).empty());
    mouse(dialog, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, QPoint(25, 25));
    drain();
    EXPECT_THAT(paramsOf(WM_COMMAND), ElementsAre(MAKEWPARAM(1015, BN_CLICKED)));
    EXPECT_EQ(SendMessage(button, BM_GETSTATE, 0, 0), BST_FOCUS);
    EXPECT_EQ(GetCapture(), nullptr);
}

// The leftmost column of `image` with text ink (dark pixels) between columns `from` and `to`; `to` for none.
int firstInkColumn(const QImage& image, int from, int to, int top, int bottom) {
    for (int x = from; x < to; ++x)
        for (int y = top; y < bottom; ++y)
            if (qGray(image.pixel(x, y)) < 80)
                return x;
    return to;
}

// BS_LEFT puts a push button's text at its left edge; without it the text is centred.
TEST_F(ButtonTest, LeftAlignedPushButtonTextStartsAtTheLeft) {
    HWND dialog = makeWindow(WS_POPUP | WS_VISIBLE, 100, 100, 300, 100);
    SetWindowText(makeWindow(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_FLAT | BS_LEFT, 0, 0, 200, 30, dialog,
                             1083, "BUTTON"),
                  "Save   Path");
    SetWindowText(
        makeWindow(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_FLAT, 0, 50, 200, 30, dialog, 1084, "BUTTON"),
        "Save   Path");
    drain();
    const QImage image = widgetOf(dialog)->grab().toImage();
    EXPECT_LT(firstInkColumn(image, 0, 200, 5, 25), 15);
    const int centred = firstInkColumn(image, 0, 200, 55, 75);
    EXPECT_GT(centred, 40);
    EXPECT_LT(centred, 200) << "the centred text was drawn";
}

TEST_F(ButtonTest, SpaceBarClicksTheFocusedButton) {
    HWND dialog = makeWindow(WS_POPUP | WS_VISIBLE, 100, 100, 300, 200);
    HWND button = makeWindow(WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 10, 10, 40, 30, dialog, 1081, "BUTTON");
    SetFocus(button);
    key(dialog, QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    drain();
    EXPECT_EQ(SendMessage(button, BM_GETSTATE, 0, 0), BST_PUSHED | BST_FOCUS);
    EXPECT_TRUE(paramsOf(WM_COMMAND).empty());
    key(dialog, QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ");
    drain();
    EXPECT_THAT(paramsOf(WM_COMMAND), ElementsAre(MAKEWPARAM(1081, BN_CLICKED)));
    EXPECT_EQ(SendMessage(button, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(ButtonTest, ReleaseOutsideDoesNotClick) {
    HWND dialog = makeWindow(WS_POPUP | WS_VISIBLE, 100, 100, 300, 200);
    makeWindow(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 40, 30, dialog, 1, "BUTTON");
    mouse(dialog, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPoint(20, 20));
    drain();
    mouse(dialog, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, QPoint(200, 150));
    drain();
    EXPECT_TRUE(paramsOf(WM_COMMAND).empty());
}

// User clicks change automatic check and radio buttons and notify; BM_SETCHECK from code notifies nobody.
TEST_F(ButtonTest, AutomaticChecksFollowClicksAndRadioGroups) {
    HWND dialog = makeWindow(WS_POPUP | WS_VISIBLE, 100, 100, 300, 200);
    HWND check = makeWindow(WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 0, 0, 50, 20, dialog, 1081, "BUTTON");
    HWND jpeg = makeWindow(WS_CHILD | WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON, 0, 30, 50, 20, dialog, 1048,
                           "BUTTON");
    HWND bmp = makeWindow(WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, 60, 30, 50, 20, dialog, 1047, "BUTTON");
    HWND other = makeWindow(WS_CHILD | WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON, 0, 60, 50, 20, dialog,
                            1052, "BUTTON");
    SendMessage(jpeg, BM_SETCHECK, BST_CHECKED, 0);
    SendMessage(other, BM_SETCHECK, BST_CHECKED, 0);
    drain();
    EXPECT_TRUE(paramsOf(WM_COMMAND).empty());
    const auto clickAt = [&](QPoint p) {
        mouse(dialog, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, p);
        mouse(dialog, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, p);
        drain();
    };
    clickAt(QPoint(5, 5));
    EXPECT_EQ(SendMessage(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    clickAt(QPoint(5, 5));
    EXPECT_EQ(SendMessage(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    clickAt(QPoint(65, 35));
    EXPECT_EQ(SendMessage(bmp, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessage(jpeg, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessage(other, BM_GETCHECK, 0, 0), BST_CHECKED) << "another group keeps its check";
    EXPECT_THAT(paramsOf(WM_COMMAND), ElementsAre(MAKEWPARAM(1081, BN_CLICKED), MAKEWPARAM(1081, BN_CLICKED),
                                                  MAKEWPARAM(1047, BN_CLICKED)));
}

TEST_F(ButtonTest, OwnerDrawnButtonsAskTheParentWithTheirState) {
    HWND dialog = makeWindow(WS_POPUP | WS_VISIBLE, 100, 100, 300, 200);
    HWND button = makeWindow(WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10, 10, 40, 30, dialog, 1030, "BUTTON");
    std::vector<DRAWITEMSTRUCT> drawn;
    handler = [&](HWND, UINT m, WPARAM, LPARAM lp) -> std::optional<LRESULT> {
        if (m != WM_DRAWITEM)
            return std::nullopt;
        drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
        return TRUE;
    };
    drain();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].CtlType, static_cast<UINT>(ODT_BUTTON));
    EXPECT_EQ(drawn[0].CtlID, 1030u);
    EXPECT_EQ(drawn[0].hwndItem, button);
    EXPECT_EQ(drawn[0].rcItem.right, 40);
    EXPECT_EQ(drawn[0].rcItem.bottom, 30);
    EXPECT_EQ(drawn[0].itemState, 0u);
    mouse(dialog, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPoint(20, 20));
    drain();
    EXPECT_EQ(drawn.back().itemState, static_cast<UINT>(ODS_SELECTED | ODS_FOCUS));
    mouse(dialog, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, QPoint(20, 20));
    EnableWindow(button, FALSE);
    drain();
    EXPECT_EQ(drawn.back().itemState & ODS_DISABLED, static_cast<UINT>(ODS_DISABLED));
}

TEST_F(ButtonTest, GroupBoxIsTransparentToTheMouse) {
    HWND dialog = makeWindow(WS_POPUP | WS_VISIBLE, 100, 100, 300, 200);
    makeWindow(WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 0, 200, 100, dialog, 0, "BUTTON");
    mouse(dialog, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPoint(50, 50));
    drain();
    ASSERT_EQ(seenOf(WM_LBUTTONDOWN).size(), 1u);
    EXPECT_EQ(seenOf(WM_LBUTTONDOWN)[0].hwnd, dialog);
}

} // namespace
} // namespace platform::user::test
