// Control classes: owner drawing with the item state, the held button's state, lists and tool tips.
#include "mfc_fixture.h"

namespace mfc_test {
namespace {

class DrawnButton : public CButton {
public:
    std::vector<UINT> states;
    void DrawItem(LPDRAWITEMSTRUCT item) override
    {
        EXPECT_EQ(item->CtlType, UINT(ODT_BUTTON));
        EXPECT_EQ(item->hwndItem, m_hWnd);
        EXPECT_NE(item->hDC, nullptr);
        states.push_back(item->itemState);
    }
};

class MfcControlsTest : public MfcTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.SubclassWindow(plainWindow(WS_OVERLAPPED | WS_VISIBLE)));
    }
    HWND control(const char* cls, DWORD style, int id)
    {
        return CreateWindowEx(0, cls, "text", WS_CHILD | WS_VISIBLE | style, 10, 10, 60, 20, parent.GetSafeHwnd(),
                              reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
    }
    void repaint(HWND hwnd)
    {
        InvalidateRect(hwnd, nullptr, TRUE);
        UpdateWindow(hwnd);
    }
    CWnd parent;
};

TEST_F(MfcControlsTest, OwnerDrawnButtonDrawsEachStateAndAHeldButtonAnswers108)
{
    DrawnButton button;
    ASSERT_TRUE(button.SubclassWindow(control("BUTTON", BS_OWNERDRAW, 1015)));
    repaint(button);
    ::SendMessage(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    // Pushed, focused, holding the capture and held by the mouse.
    EXPECT_EQ(button.GetState(), 108u);
    repaint(button);
    ::SendMessage(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(button.GetState() & BST_PUSHED, 0u);
    repaint(button);

    ASSERT_GE(button.states.size(), 3u);
    EXPECT_EQ(button.states.front() & ODS_SELECTED, 0u);
    EXPECT_TRUE(std::find_if(button.states.begin(), button.states.end(), [](UINT s) {
                    return (s & (ODS_SELECTED | ODS_FOCUS)) == (ODS_SELECTED | ODS_FOCUS);
                }) != button.states.end());
    EXPECT_EQ(button.states.back() & ODS_SELECTED, 0u);
    EXPECT_EQ(button.states.back() & ODS_FOCUS, UINT(ODS_FOCUS));
    // The click reached the parent as BN_CLICKED of 1015.
    const auto commands = seenOf(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, MAKEWPARAM(1015, BN_CLICKED));
}

TEST_F(MfcControlsTest, ComboBoxSliderAndChecks)
{
    CComboBox combo;
    ASSERT_TRUE(combo.SubclassWindow(control("COMBOBOX", CBS_DROPDOWNLIST, 20)));
    EXPECT_EQ(combo.AddString("DivX"), 0);
    EXPECT_EQ(combo.AddString("MJPEG"), 1);
    EXPECT_EQ(combo.GetCount(), 2);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    EXPECT_EQ(combo.SetCurSel(1), 1);
    CString text;
    EXPECT_EQ(combo.GetLBText(1, text), 5);
    EXPECT_STREQ(text, "MJPEG");
    EXPECT_EQ(combo.GetLBText(7, text), CB_ERR);
    EXPECT_TRUE(text.IsEmpty());

    CSliderCtrl slider;
    ASSERT_TRUE(slider.SubclassWindow(control(TRACKBAR_CLASS, 0, 21)));
    slider.SetRange(1, 63, TRUE);
    slider.SetPos(80);
    EXPECT_EQ(slider.GetRangeMin(), 1);
    EXPECT_EQ(slider.GetRangeMax(), 63);
    EXPECT_EQ(slider.GetPos(), 63);
    // A range past 16 bits, as a long media file's tenths of a second give, keeps both ends.
    slider.SetRange(0, 37250);
    EXPECT_EQ(slider.GetRangeMax(), 37250);
    slider.SetRange(0, 100000);
    EXPECT_EQ(slider.GetRangeMax(), 100000);

    CButton check;
    ASSERT_TRUE(check.SubclassWindow(control("BUTTON", BS_AUTOCHECKBOX, 22)));
    check.SetCheck(BST_CHECKED);
    EXPECT_EQ(check.GetCheck(), BST_CHECKED);
    // Set by code: no notification.
    EXPECT_TRUE(seenOf(WM_COMMAND).empty());
}

TEST_F(MfcControlsTest, ToolTipKeepsOneToolPerWindowAndId)
{
    CButton button;
    ASSERT_TRUE(button.SubclassWindow(control("BUTTON", BS_PUSHBUTTON, 23)));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&button));
    EXPECT_TRUE(tip.AddTool(&button, "Snap"));
    tip.Activate(TRUE);
    tip.UpdateTipText("Take a picture", &button);
    EXPECT_EQ(tip.GetToolCount(), 1);
    MSG msg{button.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3), 0, {3, 3}, 0};
    tip.RelayEvent(&msg);
}

} // namespace
} // namespace mfc_test
