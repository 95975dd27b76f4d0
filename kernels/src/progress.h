// Progress percentage of a kernel that walks current from min towards max - 1.
#pragma once

#include <win32/types.h>

#include <cstdint>

namespace pixano {

// (current - min) * 100 / (max - min - 1); 0 when that span is empty (a filter over a single row).
inline LONG progressPercent(LONG min, LONG max, LONG current) {
    const int64_t span = static_cast<int64_t>(max) - min - 1;
    if (span == 0) {
        return 0;
    }
    return static_cast<LONG>((static_cast<int64_t>(current) - min) * 100 / span);
}

} // namespace pixano
