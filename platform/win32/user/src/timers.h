// Window timers on the platform clock.
#pragma once

#include <optional>

#include <win32/user_message.h>

namespace platform::user {

// A WM_TIMER for the first due timer that passes the filters; removing it starts the next period. GUI thread.
bool takeDueTimer(MSG* out, HWND filter, UINT min, UINT max, bool remove);
// The earliest due time of any timer. GUI thread.
std::optional<uint64_t> nextTimerDue();
// True when `proc` belongs to the live timer (hwnd, id). GUI thread.
bool isTimerProc(HWND hwnd, UINT_PTR id, TIMERPROC proc);
// Stops every timer of a window. GUI thread.
void killTimersOf(HWND hwnd);

} // namespace platform::user
