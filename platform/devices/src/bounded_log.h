// An append-only log that keeps its newest entries, so a long-running program's logs stay bounded.
#pragma once

#include <cstddef>
#include <deque>
#include <vector>

namespace platform::devices {

// Not thread-safe: the owning device serialises access.
template <class Entry> class BoundedLog {
public:
    static constexpr std::size_t kLimit = 1024;

    void push(Entry entry)
    {
        entries_.push_back(std::move(entry));
        if (entries_.size() > kLimit)
            entries_.pop_front();
    }
    std::vector<Entry> entries() const { return {entries_.begin(), entries_.end()}; }
    void clear() { entries_.clear(); }

private:
    std::deque<Entry> entries_;
};

} // namespace platform::devices
