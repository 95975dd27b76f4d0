// Time and waiting on the platform clock: Sleep, tick counts, multimedia timers, local time.
#pragma once

#include <win32/kernel_base.h>

// Waits `milliseconds` on the active clock (on a stepped test clock this advances it). Any thread.
void Sleep(DWORD milliseconds);
// Milliseconds of the active clock, wrapping at 2^32. Any thread.
DWORD GetTickCount();
DWORD timeGetTime();

typedef UINT MMRESULT;
#define TIMERR_NOERROR 0u
#define TIMERR_NOCANDO 97u
#define MMSYSERR_INVALPARAM 11u

#define TIME_ONESHOT 0x0000u
#define TIME_PERIODIC 0x0001u
#define TIME_CALLBACK_FUNCTION 0x0000u

typedef void(CALLBACK* LPTIMECALLBACK)(UINT timerId, UINT message, DWORD_PTR user, DWORD_PTR reserved1,
                                       DWORD_PTR reserved2);

// Starts a timer that calls `callback(id, 0, user, 0, 0)` after `delay` ms (TIME_ONESHOT) or every `delay`
// ms (TIME_PERIODIC) on a timer thread; on a stepped clock the callbacks run inside its advance(). The
// resolution is accepted and not used. Returns the timer id, or 0 for a delay of 0 or above 1000000 ms,
// a missing callback or unknown flags. Any thread.
MMRESULT timeSetEvent(UINT delay, UINT resolution, LPTIMECALLBACK callback, DWORD_PTR user, UINT flags);
// Stops a timer; returns once its callback is not running on another thread (from inside the callback it
// returns at once). TIMERR_NOERROR, or MMSYSERR_INVALPARAM for an unknown or finished timer. Any thread.
MMRESULT timeKillEvent(UINT timerId);
// Request and release a timer resolution; timers here need none, so only 0 is refused (TIMERR_NOCANDO).
// Any thread.
MMRESULT timeBeginPeriod(UINT period);
MMRESULT timeEndPeriod(UINT period);

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};
typedef SYSTEMTIME* LPSYSTEMTIME;

// The local date and time (or the test seam's). Any thread.
void GetLocalTime(LPSYSTEMTIME time);
