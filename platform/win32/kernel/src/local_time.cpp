// GetLocalTime from the system's local time zone or from the test seam.
#include <win32/timing.h>

#include <seams/local_time.h>

#include <chrono>
#include <ctime>

namespace {

// 0 = Sunday, as SYSTEMTIME counts.
WORD dayOfWeek(int year, int month, int day) {
    using namespace std::chrono;
    const sys_days date = std::chrono::year(year) / std::chrono::month(static_cast<unsigned>(month)) /
                          std::chrono::day(static_cast<unsigned>(day));
    return static_cast<WORD>(weekday(date).c_encoding());
}

platform::seams::LocalTime systemLocalTime() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm local{};
    localtime_r(&now.tv_sec, &local);
    return {local.tm_year + 1900,
            local.tm_mon + 1,
            local.tm_mday,
            local.tm_hour,
            local.tm_min,
            local.tm_sec,
            static_cast<int>(now.tv_nsec / 1000000)};
}

} // namespace

void GetLocalTime(LPSYSTEMTIME time) {
    if (!time)
        return;
    const platform::seams::LocalTime t = platform::seams::localTime().value_or(systemLocalTime());
    time->wYear = static_cast<WORD>(t.year);
    time->wMonth = static_cast<WORD>(t.month);
    time->wDayOfWeek = dayOfWeek(t.year, t.month, t.day);
    time->wDay = static_cast<WORD>(t.day);
    time->wHour = static_cast<WORD>(t.hour);
    time->wMinute = static_cast<WORD>(t.minute);
    time->wSecond = static_cast<WORD>(t.second);
    time->wMilliseconds = static_cast<WORD>(t.milliseconds);
}
