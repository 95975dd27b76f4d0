// CTime: a local date and time to the second.
#pragma once

#include <mfc/cstring.h>
#include <win32/timing.h>

// A value type; any thread.
class CTime {
public:
    CTime() = default;
    explicit CTime(const SYSTEMTIME& time) : time_(time) {}
    // The local time now (GetLocalTime, so the local-time seam applies).
    static CTime GetCurrentTime();

    int GetYear() const { return time_.wYear; }
    int GetMonth() const { return time_.wMonth; } // 1 to 12
    int GetDay() const { return time_.wDay; }
    int GetHour() const { return time_.wHour; }
    int GetMinute() const { return time_.wMinute; }
    int GetSecond() const { return time_.wSecond; }
    int GetDayOfWeek() const { return time_.wDayOfWeek + 1; } // 1 Sunday to 7 Saturday
    // strftime's conversions ("%Y-%m-%d %H:%M:%S" ...).
    CString Format(LPCTSTR format) const;

private:
    SYSTEMTIME time_{};
};
