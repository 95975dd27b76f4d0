// SetTimer and KillTimer: per-window timers that come due on the platform clock.
#include "timers.h"

#include <algorithm>
#include <vector>

#include <win32/clock.h>

#include "gui_thread.h"
#include "message_queue.h"
#include "window.h"

namespace platform::user {
namespace {

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    uint64_t period;
    TIMERPROC proc;
    uint64_t due;
};

std::vector<Timer>& timers() {
    static std::vector<Timer> list;
    return list;
}

UINT_PTR nextThreadTimerId = 1; // ids of timers without a window

std::vector<Timer>::iterator findTimer(HWND hwnd, UINT_PTR id) {
    auto& list = timers();
    return std::find_if(list.begin(), list.end(),
                        [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
}

} // namespace

bool takeDueTimer(MSG* out, HWND filter, UINT min, UINT max, bool remove) {
    if (!numberMatches(WM_TIMER, min, max))
        return false;
    const uint64_t now = activeClock().nowMs();
    for (Timer& t : timers()) {
        if (t.due > now || !windowMatches(t.hwnd, filter))
            continue;
        *out = MSG{t.hwnd, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc), static_cast<DWORD>(now), {}, 0};
        if (remove)
            t.due = now + t.period;
        return true;
    }
    return false;
}

std::optional<uint64_t> nextTimerDue() {
    std::optional<uint64_t> due;
    for (const Timer& t : timers())
        due = due ? std::min(*due, t.due) : t.due;
    return due;
}

bool isTimerProc(HWND hwnd, UINT_PTR id, TIMERPROC proc) {
    auto it = findTimer(hwnd, id);
    return it != timers().end() && it->proc == proc;
}

void killTimersOf(HWND hwnd) {
    std::erase_if(timers(), [&](const Timer& t) { return t.hwnd == hwnd; });
}

} // namespace platform::user

using namespace platform::user;

UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc) {
    if (!ensureApplication() || !onGuiThread()) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return 0;
    }
    if (hWnd && !checkedWindow(hWnd))
        return 0;
    const uint64_t period = std::clamp<UINT>(uElapse, USER_TIMER_MINIMUM, 0x7FFFFFFF);
    auto it = findTimer(hWnd, nIDEvent);
    if (!hWnd && it == timers().end())
        nIDEvent = nextThreadTimerId++;
    const uint64_t due = platform::activeClock().nowMs() + period;
    if (it != timers().end())
        *it = Timer{hWnd, nIDEvent, period, lpTimerFunc, due};
    else
        timers().push_back(Timer{hWnd, nIDEvent, period, lpTimerFunc, due});
    scheduleWake();
    return nIDEvent;
}

BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
    if (!onGuiThread()) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    auto it = findTimer(hWnd, uIDEvent);
    if (it == timers().end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    timers().erase(it);
    return TRUE;
}
