// Keyboard and mouse input: Qt events become queued window messages; hover and leave tracking.
#pragma once

#include <QPoint>
#include <optional>

#include <win32/user_message.h>

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;
class QWidget;

namespace platform::user {

enum class MouseAction { Press, Release, DoubleClick, Move };

// Queues the mouse message for the capture window or else the window under the mouse; `receiver` is the
// widget Qt delivered the event to. GUI thread.
void mouseInput(QMouseEvent* event, MouseAction action, QWidget* receiver);
// Queues WM_MOUSEWHEEL for the focus window (else the top-level window under the mouse). GUI thread.
void wheelInput(QWheelEvent* event, QWidget* receiver);
// Queues WM_KEYDOWN/WM_KEYUP (WM_SYSKEY* with Alt, F10, or no focus window) for the focus window, or
// for the top-level window of `receiver` when no window has the focus. GUI thread.
void keyInput(QKeyEvent* event, HWND receiver);
// Sends a copy of a key event that went through the queue back to its Qt control. Qt passes a key the
// control ignores on to its parents; that is the same key, not new input, so keyInput drops it. GUI thread.
void replayKey(QWidget* control, const QKeyEvent& event);
// A replayed key event is being delivered now. GUI thread.
bool replayingKey();
// The mouse left every window of the application. GUI thread.
void mouseLeftWindows();

// The window under a screen point, by WM_NCHITTEST (HTTRANSPARENT passes to what lies beneath);
// disabled windows pass to their parent. The receiver's top-level window is looked at first. GUI thread.
HWND windowFromScreenPoint(const QPoint& screen, QWidget* receiver);
// The last mouse position in screen coordinates. Any thread.
QPoint lastCursorPos();
// The window the mouse was last over, or null. GUI thread.
HWND windowUnderMouse();

// The character a key-down message types (its lPrivate tag), 0 for none. GUI thread.
UINT typedCharacter(DWORD tag);
// The Qt key event behind a key message's tag, or null once it has been forgotten. GUI thread.
const QKeyEvent* keyEventOf(DWORD tag);

// A WM_MOUSEHOVER when the armed hover time has passed. GUI thread.
bool takeDueHover(MSG* out, HWND filter, UINT min, UINT max, bool remove);
std::optional<uint64_t> nextHoverDue();
// Forgets a destroyed window's tracking. GUI thread.
void forgetInputOf(HWND hwnd);

} // namespace platform::user
