// Dialog templates described in C++ and the Win32 dialog manager that builds and runs dialogs from them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <win32/user.h>

typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

#define WC_DIALOG "#32770"
#define DS_SETFONT 0x00000040L
#define DS_MODALFRAME 0x00000080L
#define DS_CENTER 0x00000800L
#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
#define DC_HASDEFID 0x534B
#define IDC_STATIC (-1)

namespace platform::mfc {

// Dialog units become pixels through fixed base units, those of an 8 x 16 pixel font whatever the
// template's font: a horizontal unit is 2 pixels (8 / 4), a vertical unit 2 pixels (16 / 8).
constexpr int kDialogBaseUnitX = 8;
constexpr int kDialogBaseUnitY = 16;
constexpr int dialogUnitsToPixelsX(int units) { return units * kDialogBaseUnitX / 4; }
constexpr int dialogUnitsToPixelsY(int units) { return units * kDialogBaseUnitY / 8; }

// One control: window class ("BUTTON", "STATIC", "EDIT", "COMBOBOX", TRACKBAR_CLASS ...), id (IDC_STATIC
// for none), style (WS_CHILD is implied) and its rectangle in dialog units.
struct DialogItem {
    int id;
    std::string className;
    std::string text; // UTF-8 or code page 936
    DWORD style;
    int x, y, cx, cy;
    DWORD exStyle = 0;
};

// A dialog: its window style (WS_VISIBLE shows a modeless dialog once initialised; a modal one is always
// shown), rectangle in dialog units relative to the owner's client area (the screen without owner),
// caption, font and the controls in creation (tab) order.
struct DialogTemplate {
    DWORD style;
    int x, y, cx, cy;
    std::string caption;
    std::string fontFace;
    int pointSize = 0;
    std::vector<DialogItem> items;
    DWORD exStyle = 0;
};

// Makes `dialog` the program's dialog resource `id` (or `name`); a later registration replaces it. Dialogs
// are the program's, whatever module handle a caller names. Program start-up; GUI thread.
void registerDialogTemplate(UINT id, DialogTemplate dialog);
void registerDialogTemplate(const char* name, DialogTemplate dialog);
// The template a resource name (MAKEINTRESOURCE(id) or a string) stands for; null when none is registered.
const DialogTemplate* findDialogTemplate(LPCSTR name);

// Builds the dialog window, runs `created` once the dialog window exists (before its controls and
// WM_INITDIALOG), then makes its controls, sends WM_SETFONT and WM_INITDIALOG (lParam `param`). A dialog
// with an owner that WM_INITDIALOG did not move is then centred over the owner, inside the screen.
// Null with the last error when a window cannot be made. GUI thread.
HWND createDialog(const DialogTemplate& dialog, HWND owner, DLGPROC proc, LPARAM param,
                  const std::function<void(HWND)>& created = {});
// Runs a nested loop until EndDialog for the dialog (or its destruction), with the owner disabled and the
// dialog shown; hides it at the end. The EndDialog result, or -1 when WM_QUIT or a destruction ended the
// loop (WM_QUIT is posted again for the outer loop). GUI thread.
INT_PTR runModalDialog(HWND dialog, HWND owner);
// The dialog's controls in template order with their classes; empty for a window that is no dialog.
struct DialogControl {
    HWND hwnd;
    std::string className;
};
std::vector<DialogControl> dialogControls(HWND dialog);

} // namespace platform::mfc

// The Win32 dialog functions on registered templates (the module handle is not used). GUI thread.
HWND CreateDialogParam(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC proc, LPARAM param);
INT_PTR DialogBoxParam(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC proc, LPARAM param);
#define CreateDialogParamA CreateDialogParam
#define DialogBoxParamA DialogBoxParam
// Ends the dialog's modal loop with `result`; FALSE for a window that is no dialog.
BOOL EndDialog(HWND dialog, INT_PTR result);
// The dialog manager's keys for messages of the dialog or its controls: Esc sends IDCANCEL, Enter the
// focused push button's id, else the default button's (DM_GETDEFID), else IDOK, as WM_COMMAND BN_CLICKED
// (nothing for a disabled button). TRUE when the message was taken.
BOOL IsDialogMessage(HWND dialog, LPMSG msg);
#define IsDialogMessageA IsDialogMessage
// The dialog class's procedure: the dialog procedure first, then WM_CLOSE as IDCANCEL, DM_GETDEFID and
// DM_SETDEFID, the rest DefWindowProc.
LRESULT CALLBACK DefDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
#define DefDlgProcA DefDlgProc

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
BOOL SetDlgItemText(HWND dialog, int id, LPCSTR text);
UINT GetDlgItemText(HWND dialog, int id, LPSTR text, int max);
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
// The control's text as a number; *translated FALSE (and 0) when it is none.
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
#define SendDlgItemMessageA SendDlgItemMessage
#define SetDlgItemTextA SetDlgItemText
#define GetDlgItemTextA GetDlgItemText
