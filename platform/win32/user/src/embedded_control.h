// Standard controls whose inside is a Qt control (edit, combo box, track bar).
#pragma once

#include <QWidget>

#include "window.h"

namespace platform::user {

// Puts `control` over the whole client area of the window. It takes the window's focus; its key events
// go through the window's message queue (so the pre-translation hook sees them) and reach it again when
// the window's procedure handles the key message (forwardKeyMessage). GUI thread.
void embedQtControl(Window& window, QWidget* control);
// The embedded control of a window, or null. GUI thread.
QWidget* embeddedControl(const Window& window);
// The default procedure of such windows: WM_ENABLE enables the Qt control, key-down and key-up messages
// go back to it (it types the character itself, so WM_CHAR does nothing), the rest is DefWindowProc.
LRESULT embeddedDefaultProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace platform::user
