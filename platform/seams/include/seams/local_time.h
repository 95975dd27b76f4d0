// Seam for the local date and time that GetLocalTime reports.
#pragma once

#include <optional>

namespace platform::seams {

// A local date and time; day of week is worked out by the platform.
struct LocalTime {
    int year = 0;
    int month = 0; // 1 to 12
    int day = 0;   // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int milliseconds = 0;
};

// While set, GetLocalTime reports this time instead of the system's. Test set-up only.
void setLocalTime(std::optional<LocalTime> time);
std::optional<LocalTime> localTime();

} // namespace platform::seams
