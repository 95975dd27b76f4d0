// Keyboard focus and mouse capture state.
#pragma once

#include <win32/types.h>

namespace platform::user {

// Moves the focus to `hwnd` (may be null) with WM_KILLFOCUS/WM_SETFOCUS, without touching Qt's focus
// (used when a Qt control inside a window took the focus itself). GUI thread.
HWND moveFocus(HWND hwnd);
// The focus window is `hwnd` or inside it. GUI thread.
bool focusInside(HWND hwnd);
// Activates a top-level window and gives the focus back to the window inside it that had it last (the
// window itself when that one is gone, hidden or disabled), as the dialog manager does on activation.
// GUI thread.
void activateTopLevel(HWND top);
// The focus is inside `hidden`, which is being hidden: a child passes it to its parent, a top-level window
// activates its owner when the owner can take it, else the newest other top-level window that can;
// otherwise nothing keeps the focus. GUI thread.
void passFocusFrom(HWND hidden);
// Drops focus and capture of a window being destroyed, without messages. GUI thread.
void forgetFocusAndCapture(HWND hwnd);

} // namespace platform::user
