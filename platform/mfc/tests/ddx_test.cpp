// Dialog data exchange: members shown in the controls and read back, and a refused number.
#include "mfc_fixture.h"

#include <seams/message_box.h>

namespace mfc_test {
namespace {

constexpr UINT kDdxTemplate = 4200;

class DataDialog : public ScriptedDialog {
public:
    DataDialog() : ScriptedDialog(kDdxTemplate) {}
    CString m_text;
    BOOL m_bCheck = FALSE;
    int m_nFirstGroup = 0;
    int m_nSecondGroup = 0;
    int m_nNumber = 0;
    CSliderCtrl m_slider;

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, 107, m_slider);
        DDX_Text(dx, 100, m_text);
        DDX_Check(dx, 101, m_bCheck);
        DDX_Radio(dx, 102, m_nFirstGroup);
        DDX_Radio(dx, 105, m_nSecondGroup);
        DDX_Text(dx, 108, m_nNumber);
    }
};

class MfcDdxTest : public MfcTest {
protected:
    void SetUp() override
    {
        const DWORD radio = WS_VISIBLE | BS_AUTORADIOBUTTON;
        platform::mfc::registerDialogTemplate(
            kDdxTemplate,
            {WS_POPUP,
             0,
             0,
             200,
             150,
             "Data",
             "",
             0,
             {
                 {100, "EDIT", "", WS_VISIBLE | WS_TABSTOP, 5, 5, 100, 12},
                 {101, "BUTTON", "Check", WS_VISIBLE | BS_AUTOCHECKBOX, 5, 20, 60, 10},
                 {102, "BUTTON", "A", radio | WS_GROUP, 5, 35, 30, 10},
                 {IDC_STATIC, "STATIC", "not a radio", WS_VISIBLE, 40, 35, 30, 10},
                 {103, "Button", "B", radio, 75, 35, 30, 10}, // class names ignore case
                 {104, "BUTTON", "C", radio, 110, 35, 30, 10},
                 {105, "BUTTON", "D", radio | WS_GROUP, 5, 50, 30, 10},
                 {106, "BUTTON", "E", radio, 40, 50, 30, 10},
                 {107, TRACKBAR_CLASS, "", WS_VISIBLE, 5, 65, 100, 10},
                 {108, "EDIT", "", WS_VISIBLE, 5, 80, 40, 12},
                 {IDOK, "BUTTON", "OK", WS_VISIBLE, 5, 100, 40, 14},
             }});
    }
};

TEST_F(MfcDdxTest, MembersRoundTripThroughTheControls)
{
    DataDialog dlg;
    dlg.m_text = "C:\\pictures\\";
    dlg.m_bCheck = TRUE;
    dlg.m_nFirstGroup = 1;
    dlg.m_nSecondGroup = 0;
    dlg.m_nNumber = -42;
    CString shownText, shownNumber;
    UINT shownChecks[5] = {};
    dlg.init = [&](ScriptedDialog& d) {
        d.GetDlgItemText(100, shownText);
        d.GetDlgItemText(108, shownNumber);
        for (int i = 0; i < 5; ++i)
            shownChecks[i] = IsDlgButtonChecked(d.GetSafeHwnd(), 102 + i);
        EXPECT_EQ(IsDlgButtonChecked(d.GetSafeHwnd(), 101), UINT(BST_CHECKED));
        // The user's changes.
        d.SetDlgItemText(100, "D:\\");
        CheckDlgButton(d.GetSafeHwnd(), 101, BST_UNCHECKED);
        CheckDlgButton(d.GetSafeHwnd(), 103, BST_UNCHECKED);
        CheckDlgButton(d.GetSafeHwnd(), 104, BST_CHECKED);
        CheckDlgButton(d.GetSafeHwnd(), 105, BST_UNCHECKED);
        d.SetDlgItemText(108, " 17");
        d.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ(shownText, "C:\\pictures\\");
    EXPECT_STREQ(shownNumber, "-42");
    EXPECT_EQ(std::vector<UINT>(shownChecks, shownChecks + 5), (std::vector<UINT>{0, 1, 0, 1, 0}));
    EXPECT_STREQ(dlg.m_text, "D:\\");
    EXPECT_EQ(dlg.m_bCheck, FALSE);
    EXPECT_EQ(dlg.m_nFirstGroup, 2);
    EXPECT_EQ(dlg.m_nSecondGroup, -1); // none checked
    EXPECT_EQ(dlg.m_nNumber, 17);
    // DDX_Control bound the slider for the dialog's life only.
    EXPECT_EQ(dlg.m_slider.GetSafeHwnd(), nullptr);
}

TEST_F(MfcDdxTest, ControlBindingGivesTheControlItsObject)
{
    DataDialog dlg;
    int position = -1;
    dlg.init = [&](ScriptedDialog& d) {
        auto& self = static_cast<DataDialog&>(d);
        EXPECT_EQ(CWnd::FromHandlePermanent(::GetDlgItem(d.GetSafeHwnd(), 107)), &self.m_slider);
        self.m_slider.SetRange(0, 255);
        self.m_slider.SetPos(128);
        position = static_cast<DataDialog&>(d).m_slider.GetPos();
        d.EndDialog(IDCANCEL);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(position, 128);
}

TEST_F(MfcDdxTest, TextThatIsNoNumberKeepsTheDialogOpen)
{
    platform::seams::MessageBoxRecorder boxes(IDOK);
    DataDialog dlg;
    dlg.m_nNumber = 5;
    dlg.init = [](ScriptedDialog& d) {
        d.SetDlgItemText(108, "12a");
        d.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
        d.PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_nNumber, 5);
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_EQ(boxes.calls()[0].text, "Please enter a whole number.");
}

} // namespace
} // namespace mfc_test
