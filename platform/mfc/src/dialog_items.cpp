// Dialog item helpers: messages, texts, numbers and check states of a dialog's controls by id.
#include <mfc/dialog_manager.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    const HWND item = GetDlgItem(dialog, id);
    return item ? SendMessage(item, message, wParam, lParam) : 0;
}

BOOL SetDlgItemText(HWND dialog, int id, LPCSTR text)
{
    const HWND item = GetDlgItem(dialog, id);
    return item ? SetWindowText(item, text) : FALSE;
}

UINT GetDlgItemText(HWND dialog, int id, LPSTR text, int max)
{
    const HWND item = GetDlgItem(dialog, id);
    if (!item) {
        if (text && max > 0)
            text[0] = '\0';
        return 0;
    }
    return static_cast<UINT>(GetWindowText(item, text, max));
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned)
{
    char text[16];
    if (isSigned)
        std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    else
        std::snprintf(text, sizeof text, "%u", value);
    return SetDlgItemText(dialog, id, text);
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned)
{
    char text[64];
    GetDlgItemText(dialog, id, text, sizeof text);
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text, &end, 10);
    while (end && *end == ' ')
        ++end;
    const bool number = end != text && end && *end == '\0' && errno == 0 &&
                        (isSigned ? (value >= INT32_MIN && value <= INT32_MAX) : (value >= 0 && value <= UINT32_MAX));
    if (translated)
        *translated = number;
    return number ? static_cast<UINT>(value) : 0;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check)
{
    const HWND item = GetDlgItem(dialog, id);
    if (!item)
        return FALSE;
    SendMessage(item, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id)
{
    return static_cast<UINT>(SendDlgItemMessage(dialog, id, BM_GETCHECK, 0, 0));
}
