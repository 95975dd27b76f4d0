// Input delivered the way the platform delivers it (window system events through Qt's own routing).
#include "user_fixture.h"

#include <QTest>

namespace platform::user::test {
namespace {

using ::testing::ElementsAre;

using QtDeliveryTest = UserTest;

// A click on a child control travels from the window system through Qt to the control's procedure.
TEST_F(QtDeliveryTest, ClickOnAChildButtonReachesItAndNotifiesTheParent)
{
    HWND dialog = makeWindow(WS_POPUP | WS_VISIBLE, 50, 50, 300, 200);
    makeWindow(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 100, 80, 60, 30, dialog, 1000, "BUTTON");
    QWidget* top = widgetOf(dialog);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(top));
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(120, 90));
    drain();
    EXPECT_THAT(paramsOf(WM_COMMAND), ElementsAre(MAKEWPARAM(1000, BN_CLICKED)));
}

TEST_F(QtDeliveryTest, KeysReachTheFocusWindow)
{
    HWND dialog = makeWindow(WS_POPUP | WS_VISIBLE, 50, 50, 300, 200);
    HWND child = makeWindow(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, dialog, 1);
    QWidget* top = widgetOf(dialog);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(top));
    SetFocus(child);
    QTest::keyClick(top->windowHandle(), Qt::Key_F7);
    drain();
    const std::vector<Seen> down = seenOf(WM_KEYDOWN);
    ASSERT_EQ(down.size(), 1u);
    EXPECT_EQ(down[0].hwnd, child);
    EXPECT_EQ(down[0].wParam, static_cast<WPARAM>(VK_F7));
}

} // namespace
} // namespace platform::user::test
