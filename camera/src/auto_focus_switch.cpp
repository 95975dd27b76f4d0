// FocusSwitch: switch calls counted beside the on flag in one atomic word.
#include "auto_focus_switch.h"

namespace korvib {

void FocusSwitch::Set(bool on) {
    unsigned word = word_.load(std::memory_order_relaxed);
    while (!word_.compare_exchange_weak(word, (((word >> 1) + 1) << 1) | (on ? 1u : 0u),
                                        std::memory_order_acq_rel)) {
    }
}

bool FocusSwitch::Take(bool* on) {
    const unsigned word = word_.load(std::memory_order_acquire);
    const bool switched = (word >> 1) != (taken_ >> 1);
    taken_ = word;
    *on = (word & 1u) != 0;
    return switched;
}

void FocusSwitch::Finish() {
    unsigned expected = taken_;
    if (word_.compare_exchange_strong(expected, taken_ & ~1u, std::memory_order_acq_rel)) {
        taken_ &= ~1u;
    }
}

} // namespace korvib
