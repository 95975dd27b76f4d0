// Sleep, tick counts and timer resolution requests on the active clock.
#include <win32/clock.h>
#include <win32/timing.h>

void Sleep(DWORD milliseconds) {
    platform::activeClock().sleepMs(milliseconds);
}

DWORD GetTickCount() {
    return static_cast<DWORD>(platform::activeClock().nowMs());
}

DWORD timeGetTime() {
    return static_cast<DWORD>(platform::activeClock().nowMs());
}

MMRESULT timeBeginPeriod(UINT period) {
    return period == 0 ? TIMERR_NOCANDO : TIMERR_NOERROR;
}

MMRESULT timeEndPeriod(UINT period) {
    return period == 0 ? TIMERR_NOCANDO : TIMERR_NOERROR;
}
