// The standard control classes and what they share: registration and the parent's colours.
#pragma once

#include <win32/types.h>

namespace platform::user {

// Registers every standard control class once. GUI thread.
void registerStandardControls();

// The brush a control paints its background with: the parent's answer to `ctlColorMessage`, or the
// default when the parent gives none. Sets the DC's text and background colours. GUI thread.
HBRUSH controlBrush(HWND control, HDC dc, UINT ctlColorMessage);
// The default answer to WM_CTLCOLOR* (DefWindowProc). GUI thread.
HBRUSH defaultControlBrush(HDC dc, UINT ctlColorMessage);

// Window procedures of the standard classes.
LRESULT CALLBACK staticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace platform::user
