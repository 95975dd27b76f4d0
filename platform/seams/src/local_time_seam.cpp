// Storage of the local-time seam.
#include <seams/local_time.h>

#include <mutex>

namespace platform::seams {
namespace {
std::mutex lock; // guards fixedTime
std::optional<LocalTime> fixedTime;
} // namespace

void setLocalTime(std::optional<LocalTime> time) {
    std::lock_guard guard(lock);
    fixedTime = time;
}

std::optional<LocalTime> localTime() {
    std::lock_guard guard(lock);
    return fixedTime;
}

} // namespace platform::seams
