// Edit, combo box, track bar and tool tip: values set by code stay silent, user actions notify the parent.
#include "user_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QToolTip>

#include <win32/gdi.h>

#include "embedded_control.h"
#include "window.h"

namespace platform::user::test {
namespace {

using ::testing::ElementsAre;

using ControlsTest = UserTest;

template <class Control> Control* controlOf(HWND hwnd) {
    return static_cast<Control*>(embeddedControl(*findWindow(hwnd)));
}

std::string textOf(HWND hwnd) {
    char buffer[64];
    GetWindowText(hwnd, buffer, sizeof buffer);
    return buffer;
}

// Typing goes through the queue (the hook sees the key) and back into the edit, which reports EN_CHANGE.
TEST_F(ControlsTest, EditTypingPassesTheHookAndNotifiesButSetWindowTextDoesNot) {
    HWND dialog = makeWindow(WS_POPUP | WS_VISIBLE, 100, 100, 300, 200);
    HWND edit =
        makeWindow(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_NUMBER, 10, 10, 100, 20, dialog, 1054, "EDIT");
    SetWindowText(edit, "\xB1\xA3\xB4\xE6"); // "保存" in code page 936
    EXPECT_EQ(controlOf<QLineEdit>(edit)->text(), QString::fromUtf8("保存"));
    SetWindowText(edit, "12");
    drain();
    EXPECT_TRUE(paramsOf(WM_COMMAND).empty());
    SetFocus(edit);
    std::vector<WPARAM> hooked;
    setPreTranslateHook([&](MSG& msg) {
        if (msg.message == WM_KEYDOWN && msg.hwnd == edit)
            hooked.push_back(msg.wParam);
        return false;
    });
    QLineEdit* line = controlOf<QLineEdit>(edit);
    line->setCursorPosition(2);
    for (auto [qtKey, text] : {std::pair(Qt::Key_3, "3"), std::pair(Qt::Key_A, "a")}) {
        QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, text);
        QApplication::sendEvent(line, &press);
    }
    EXPECT_TRUE(runModalLoop([&] { return hooked.size() == 2; }));
    drain();
    EXPECT_THAT(hooked, ElementsAre('3', 'A'));
    EXPECT_EQ(textOf(edit), "123") << "ES_NUMBER refuses the letter";
    EXPECT_THAT(paramsOf(WM_COMMAND), ElementsAre(MAKEWPARAM(1054, EN_CHANGE)));
}

TEST_F(ControlsTest, ComboBoxKeepsStringsAndNotifiesOnlyForTheUsersChoice) {
    HWND dialog = makeWindow(WS_POPUP | WS_VISIBLE, 100, 100, 300, 200);
    HWND combo = makeWindow(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 10, 10, 100, 20, dialog, 7, "COMBOBOX");
    EXPECT_EQ(SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("MJPEG")), 0);
    EXPECT_EQ(SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("\xCE\xDE")), 1); // "无"
    EXPECT_EQ(SendMessage(combo, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), CB_ERR) << "no selection until one is made";
    EXPECT_EQ(SendMessage(combo, CB_SETCURSEL, 1, 0), 1);
    EXPECT_EQ(SendMessage(combo, CB_SETCURSEL, 5, 0), CB_ERR);
    EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    SendMessage(combo, CB_SETCURSEL, 1, 0);
    char text[8];
    EXPECT_EQ(SendMessage(combo, CB_GETLBTEXTLEN, 1, 0), 2);
    EXPECT_EQ(SendMessage(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text)), 2);
    EXPECT_STREQ(text, "\xCE\xDE");
    EXPECT_EQ(controlOf<QComboBox>(combo)->itemText(1), QString::fromUtf8("无"));
    drain();
    EXPECT_TRUE(paramsOf(WM_COMMAND).empty());
    QComboBox* qt = controlOf<QComboBox>(combo);
    qt->setCurrentIndex(0);
    emit qt->activated(0); // what the popup does when the user picks an item
    EXPECT_THAT(paramsOf(WM_COMMAND), ElementsAre(MAKEWPARAM(7, CBN_SELCHANGE)));
    EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), 0);
    SendMessage(combo, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessage(combo, CB_GETCOUNT, 0, 0), 0);
}

std::vector<std::pair<WORD, WORD>> scrolls(const std::vector<Seen>& hscroll) {
    std::vector<std::pair<WORD, WORD>> result;
    for (const Seen& s : hscroll)
        result.emplace_back(LOWORD(s.wParam), HIWORD(s.wParam));
    return result;
}

TEST_F(ControlsTest, TrackBarRangeAndPositionAreSilentUserMovesScroll) {
    HWND dialog = makeWindow(WS_POPUP | WS_VISIBLE, 100, 100, 300, 200);
    HWND bar = makeWindow(WS_CHILD | WS_VISIBLE | TBS_NOTICKS | TBS_BOTH, 10, 10, 150, 20, dialog, 1067,
                          TRACKBAR_CLASS);
    EXPECT_EQ(SendMessage(bar, TBM_GETRANGEMAX, 0, 0), 100) << "the standard range is 0 to 100";
    EXPECT_EQ(SendMessage(bar, TBM_GETPOS, 0, 0), 0);
    SendMessage(bar, TBM_SETRANGE, TRUE, MAKELONG(1, 16383));
    SendMessage(bar, TBM_SETPOS, TRUE, 660);
    EXPECT_EQ(SendMessage(bar, TBM_GETPOS, 0, 0), 660);
    EXPECT_EQ(SendMessage(bar, TBM_GETRANGEMIN, 0, 0), 1);
    SendMessage(bar, TBM_SETPOS, TRUE, 20000);
    EXPECT_EQ(SendMessage(bar, TBM_GETPOS, 0, 0), 16383) << "clamped to the range";
    SendMessage(bar, TBM_SETRANGEMAX, TRUE, 255);
    SendMessage(bar, TBM_SETPOS, TRUE, 128);
    drain();
    EXPECT_TRUE(seenOf(WM_HSCROLL).empty());

    QSlider* slider = controlOf<QSlider>(bar);
    slider->triggerAction(QAbstractSlider::SliderSingleStepAdd); // an arrow key
    drain();
    EXPECT_EQ(SendMessage(bar, TBM_GETPOS, 0, 0), 129);
    slider->setSliderDown(true); // a drag of the thumb
    slider->setSliderPosition(200);
    slider->setSliderDown(false);
    drain();
    EXPECT_THAT(scrolls(seenOf(WM_HSCROLL)),
                ElementsAre(std::pair<WORD, WORD>(TB_LINEDOWN, 0), std::pair<WORD, WORD>(TB_ENDTRACK, 0),
                            std::pair<WORD, WORD>(TB_THUMBTRACK, 200),
                            std::pair<WORD, WORD>(TB_THUMBPOSITION, 200),
                            std::pair<WORD, WORD>(TB_ENDTRACK, 0)));
    EXPECT_EQ(seenOf(WM_HSCROLL)[0].lParam, reinterpret_cast<LPARAM>(bar));
    EXPECT_EQ(seenOf(WM_HSCROLL)[0].hwnd, dialog);
}

// A key the track bar ignores (F7) reaches it once through the queue; Qt passing the replayed key on to
// the parents is not new input, so nothing is queued again and the loop goes idle.
TEST_F(ControlsTest, KeyATrackBarIgnoresIsDeliveredOnce) {
    HWND dialog = makeWindow(WS_POPUP | WS_VISIBLE, 100, 100, 300, 200);
    HWND bar = makeWindow(WS_CHILD | WS_VISIBLE, 10, 10, 150, 20, dialog, 1090, TRACKBAR_CLASS);
    SetFocus(bar);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F7, Qt::NoModifier);
    QApplication::sendEvent(controlOf<QSlider>(bar), &press);
    int delivered = 0;
    MSG msg;
    for (int served = 0; served < 20 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++served) {
        delivered += msg.message == WM_KEYDOWN && msg.wParam == VK_F7 && msg.hwnd == bar;
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    EXPECT_EQ(delivered, 1);
    EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) << "the key keeps coming back";
}

// Relayed moves over the tool show its text after the pause; a click hides it; new text replaces the old.
TEST_F(ControlsTest, ToolTipShowsAfterThePauseForRelayedMoves) {
    HWND dialog = makeWindow(WS_POPUP | WS_VISIBLE, 100, 100, 300, 200);
    HWND button = makeWindow(WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10, 10, 40, 30, dialog, 1030, "BUTTON");
    HWND tip =
        CreateWindowEx(0, TOOLTIPS_CLASS, nullptr, WS_POPUP, 0, 0, 0, 0, button, nullptr, nullptr, nullptr);
    ASSERT_NE(tip, nullptr);
    char snap[] = "Snap";
    TOOLINFO info{
        sizeof(TOOLINFO), TTF_IDISHWND, dialog, reinterpret_cast<UINT_PTR>(button), {}, nullptr, snap, 0,
        nullptr};
    EXPECT_TRUE(SendMessage(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&info)));
    SendMessage(tip, TTM_ACTIVATE, TRUE, 0);
    mouse(dialog, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, QPoint(20, 20));
    drain();
    MSG move{button, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10), 0, {10, 10}, 0}; // pt as the bitmap button fills it
    SendMessage(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
    clock.advance(499);
    drain();
    EXPECT_FALSE(QToolTip::isVisible());
    clock.advance(1);
    drain();
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QString("Snap"));
    for (QWidget* label : QApplication::topLevelWidgets()) {
        // By the cursor at (120, 120), not at the relayed client point.
        if (label->inherits("QTipLabel") && label->isVisible()) {
            EXPECT_LT((label->pos() - QPoint(120, 140)).manhattanLength(), 60);
        }
    }
    char chinese[] = "\xB2\xB6\xD7\xBD\xCD\xBC\xC6\xAC"; // "捕捉图片"
    info.lpszText = chinese;
    SendMessage(tip, TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(SendMessage(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(QToolTip::text(), QString::fromUtf8("捕捉图片"));
    MSG down{button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10), 0, {130, 130}, 0};
    SendMessage(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&down));
    EXPECT_FALSE(QToolTip::isVisible());

    // After the click the tip stays down while the mouse stays on the button, and shows again once the
    // mouse has left the button (its parent relays nothing) and come back.
    SendMessage(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
    clock.advance(600);
    drain();
    EXPECT_FALSE(QToolTip::isVisible()) << "a click puts the tip away until the mouse leaves";
    mouse(dialog, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, QPoint(200, 150));
    clock.advance(100);
    drain();
    mouse(dialog, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, QPoint(20, 20));
    SendMessage(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
    clock.advance(500);
    drain();
    EXPECT_TRUE(QToolTip::isVisible()) << "the tip never comes back after a click";
    DestroyWindow(dialog);
    EXPECT_FALSE(IsWindow(tip)) << "the tip is owned by the dialog";
}

// The dialog's font reaches the controls: kept for WM_GETFONT and used by the Qt control inside.
TEST_F(ControlsTest, SetFontIsKeptAndShownByTheControl) {
    HWND dialog = makeWindow(WS_POPUP | WS_VISIBLE, 100, 100, 300, 200);
    HWND edit = makeWindow(WS_CHILD | WS_VISIBLE, 10, 10, 100, 20, dialog, 1, "EDIT");
    HWND label = makeWindow(WS_CHILD | WS_VISIBLE, 10, 40, 100, 20, dialog, 2, "STATIC");
    HFONT font =
        CreateFont(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "\xCB\xCE\xCC\xE5"); // 宋体
    for (HWND control : {edit, label}) {
        SendMessage(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        EXPECT_EQ(SendMessage(control, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
    }
    LOGFONT described{};
    if (GetObject(font, sizeof described, &described)) { // the Qt control follows fonts GDI can describe
        const QFont shown = controlOf<QLineEdit>(edit)->font();
        EXPECT_EQ(shown.pixelSize(), 12);
        EXPECT_TRUE(shown.bold());
    }
    drain(); // the static paints its text with the font
    DestroyWindow(dialog);
    DeleteObject(font);
}

} // namespace
} // namespace platform::user::test
