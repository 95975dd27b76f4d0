// CTime: the current local time and its strftime formatting.
#include <mfc/mfc_time.h>

#include <ctime>

CTime CTime::GetCurrentTime()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return CTime(now);
}

CString CTime::Format(LPCTSTR format) const
{
    std::tm tm{};
    tm.tm_year = time_.wYear - 1900;
    tm.tm_mon = time_.wMonth - 1;
    tm.tm_mday = time_.wDay;
    tm.tm_hour = time_.wHour;
    tm.tm_min = time_.wMinute;
    tm.tm_sec = time_.wSecond;
    tm.tm_wday = time_.wDayOfWeek;
    char text[256];
    const size_t n = format ? std::strftime(text, sizeof text, format, &tm) : 0;
    return CString(text, static_cast<int>(n));
}
