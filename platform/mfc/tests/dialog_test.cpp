// Modal dialogs: templates in dialog units, EndDialog, the dialog manager's keys, WM_QUIT and the owner.
#include "mfc_fixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

namespace mfc_test {
namespace {

constexpr UINT kTemplate = 4100;
constexpr UINT kDefaultTemplate = 4101;

platform::mfc::DialogTemplate testTemplate(DWORD okStyle)
{
    return {WS_POPUP | WS_CAPTION,
            10,
            20,
            160,
            100,
            "Test",
            "Times New Roman",
            9,
            {
                {1000, "EDIT", "", WS_VISIBLE | WS_TABSTOP, 5, 5, 100, 12},
                {IDOK, "BUTTON", "OK", DWORD(WS_VISIBLE | WS_TABSTOP) | okStyle, 10, 80, 50, 14},
                {IDCANCEL, "BUTTON", "Cancel", WS_VISIBLE | WS_TABSTOP, 70, 80, 50, 14},
                {7, "BUTTON", "Seven", WS_VISIBLE | WS_TABSTOP, 120, 80, 30, 14},
            }};
}

class KeyDialog : public ScriptedDialog {
public:
    using ScriptedDialog::ScriptedDialog;
    BOOL ownerEnabled = TRUE; // the owner's state when 7 was pressed

protected:
    afx_msg void OnSeven()
    {
        ownerEnabled = ::IsWindowEnabled(::GetParent(m_hWnd));
        EndDialog(7);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(KeyDialog, ScriptedDialog)
ON_BN_CLICKED(7, OnSeven)
END_MESSAGE_MAP()

class MfcDialogTest : public MfcTest {
protected:
    void SetUp() override
    {
        platform::mfc::registerDialogTemplate(kTemplate, testTemplate(BS_PUSHBUTTON));
        auto withDefault = testTemplate(BS_PUSHBUTTON);
        withDefault.items[3].style |= BS_DEFPUSHBUTTON;
        platform::mfc::registerDialogTemplate(kDefaultTemplate, withDefault);
    }
};

TEST_F(MfcDialogTest, ControlsArePlacedInFixedDialogUnits)
{
    KeyDialog dlg(kTemplate);
    CRect edit, client;
    dlg.init = [&](ScriptedDialog& d) {
        d.GetDlgItem(1000)->GetWindowRect(&edit);
        d.ScreenToClient(&edit);
        d.GetClientRect(&client);
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(edit, CRect(10, 10, 210, 34));
    EXPECT_EQ(client.Size(), CSize(320, 200));
}

struct KeyCase {
    const char* name;
    UINT templateId;
    WPARAM key;
    bool focusSeven; // the focus on push button 7
    INT_PTR result;
};

const KeyCase kKeyCases[] = {
    {"escapeCancels", kTemplate, VK_ESCAPE, false, IDCANCEL},
    {"enterWithoutDefaultIsOk", kTemplate, VK_RETURN, false, IDOK},
    {"enterPressesTheDefaultButton", kDefaultTemplate, VK_RETURN, false, 7},
    {"enterPressesTheFocusedPushButton", kTemplate, VK_RETURN, true, 7},
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

class MfcDialogKeys : public MfcDialogTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(MfcDialogKeys, KeyDownOnAControlEndsTheDialog)
{
    const KeyCase& c = GetParam();
    KeyDialog dlg(c.templateId);
    dlg.initResult = !c.focusSeven;
    dlg.init = [&](ScriptedDialog& d) {
        const HWND target = d.GetDlgItem(c.focusSeven ? 7 : 1000)->GetSafeHwnd();
        ::SetFocus(target);
        PostMessage(target, WM_KEYDOWN, c.key, 1);
    };
    EXPECT_EQ(dlg.DoModal(), c.result);
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr); // destroyed by DoModal
}

INSTANTIATE_TEST_SUITE_P(Keys, MfcDialogKeys, ::testing::ValuesIn(kKeyCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A key typed on the keyboard (a Qt key event) reaches the dialog manager through the window layer's input.
TEST_F(MfcDialogTest, TypedEscapeCancels)
{
    KeyDialog dlg(kTemplate);
    dlg.init = [](ScriptedDialog&) {
        QTimer::singleShot(0, [] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (widget->isVisible() && widget->windowTitle() == "Test") {
                    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                    QCoreApplication::sendEvent(widget, &press);
                }
            }
        });
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(MfcDialogTest, DisabledCancelButtonTakesEscapeWithoutCommand)
{
    KeyDialog dlg(kTemplate);
    dlg.init = [&](ScriptedDialog& d) {
        d.GetDlgItem(IDCANCEL)->EnableWindow(FALSE);
        PostMessage(d.GetDlgItem(1000)->GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 1);
        d.PostMessage(WM_COMMAND, MAKEWPARAM(7, BN_CLICKED));
    };
    EXPECT_EQ(dlg.DoModal(), 7);
}

TEST_F(MfcDialogTest, CloseIsCancelAndQuitEndsTheLoop)
{
    KeyDialog closing(kTemplate);
    closing.init = [](ScriptedDialog& d) { d.PostMessage(WM_CLOSE); };
    EXPECT_EQ(closing.DoModal(), IDCANCEL);

    KeyDialog quitting(kTemplate);
    quitting.init = [](ScriptedDialog&) { PostQuitMessage(3); };
    EXPECT_EQ(quitting.DoModal(), -1);
    // The quit is left for the outer loop.
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(MfcDialogTest, OwnerIsDisabledWhileModal)
{
    CWnd owner;
    ASSERT_TRUE(owner.SubclassWindow(plainWindow(WS_OVERLAPPED | WS_VISIBLE)));
    KeyDialog dlg(kTemplate, &owner);
    HWND dialogOwner = nullptr;
    dlg.init = [&](ScriptedDialog& d) {
        d.PostMessage(WM_COMMAND, MAKEWPARAM(7, BN_CLICKED));
        dialogOwner = ::GetParent(d.GetSafeHwnd());
    };
    EXPECT_EQ(dlg.DoModal(), 7);
    EXPECT_EQ(dialogOwner, owner.GetSafeHwnd());
    EXPECT_FALSE(dlg.ownerEnabled);
    EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST_F(MfcDialogTest, EndInInitialisationAndMissingTemplate)
{
    KeyDialog early(kTemplate);
    early.init = [](ScriptedDialog& d) { d.EndDialog(5); };
    EXPECT_EQ(early.DoModal(), 5);

    KeyDialog missing(9999);
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_RESOURCE_NAME_NOT_FOUND));
}

TEST_F(MfcDialogTest, Win32DialogProcedureOnANamedTemplate)
{
    platform::mfc::registerDialogTemplate("CameraProperty", testTemplate(BS_DEFPUSHBUTTON));
    static std::vector<UINT> messages;
    messages.clear();
    const DLGPROC proc = [](HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) -> INT_PTR {
        messages.push_back(message);
        if (message == WM_INITDIALOG) {
            EXPECT_EQ(lParam, 77);
            SetDlgItemInt(dialog, 1000, static_cast<UINT>(-12), TRUE);
            return TRUE;
        }
        if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
            EndDialog(dialog, 11);
            return TRUE;
        }
        return FALSE;
    };
    const HWND dialog = CreateDialogParam(nullptr, "CameraProperty", nullptr, proc, 77);
    ASSERT_NE(dialog, nullptr);
    BOOL translated = FALSE;
    EXPECT_EQ(static_cast<int>(GetDlgItemInt(dialog, 1000, &translated, TRUE)), -12);
    EXPECT_TRUE(translated);
    SetDlgItemText(dialog, 1000, "12x");
    GetDlgItemInt(dialog, 1000, &translated, TRUE);
    EXPECT_FALSE(translated);
    DestroyWindow(dialog);

    EXPECT_EQ(CreateDialogParam(nullptr, "Nothing", nullptr, proc, 0), nullptr);
}

} // namespace
} // namespace mfc_test
