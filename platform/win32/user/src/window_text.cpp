// SetWindowText, GetWindowText and GetWindowTextLength through WM_SETTEXT and WM_GETTEXT.
#include <win32/user.h>

#include "window.h"

BOOL SetWindowText(HWND hWnd, LPCSTR lpString) {
    if (!platform::user::checkedWindow(hWnd))
        return FALSE;
    return SendMessage(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) ? TRUE : FALSE;
}

int GetWindowText(HWND hWnd, LPSTR lpString, int nMaxCount) {
    if (!lpString || nMaxCount <= 0 || !platform::user::checkedWindow(hWnd))
        return 0;
    lpString[0] = '\0';
    return static_cast<int>(
        SendMessage(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

int GetWindowTextLength(HWND hWnd) {
    return platform::user::checkedWindow(hWnd) ? static_cast<int>(SendMessage(hWnd, WM_GETTEXTLENGTH, 0, 0))
                                               : 0;
}
