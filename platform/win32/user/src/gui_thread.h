// The GUI thread: the Qt application, work handed over from other threads, and waking its loop.
#pragma once

#include <QRect>
#include <functional>

#include <win32/types.h>

namespace platform::user {

// Creates the Qt application on the calling thread when there is none; false when that is impossible.
// The thread that holds the application is the GUI thread.
bool ensureApplication();
// True on the GUI thread (false while there is no application). Any thread.
bool onGuiThread();
// Runs `task` on the GUI thread and waits for it: directly on the GUI thread, otherwise at the GUI
// thread's next message retrieval or Qt event processing. False when there is no application. Any thread.
bool runOnGuiThread(const std::function<void()>& task);
// Runs the tasks other threads are waiting on. GUI thread.
void serveWaitingTasks();
// Makes the GUI thread look at its message queue again, also inside a loop that is not ours. Any thread.
void wakeGuiThread();
// Arms (or with a negative delay stops) the GUI thread's wake-up for the next timer. GUI thread.
void wakeGuiThreadIn(int64_t ms);
// Repaints part of a window's widget from its backing image. Any thread.
void postRepaint(HWND hwnd, const QRect& rect);

} // namespace platform::user
