// Raster operations as truth tables over pixel values.
#pragma once

#include <cstdint>

namespace platform::gdi {

// R2_* code (1 to 16) of pen `p` on destination `d`: bit 3 of code - 1 gives the result where both are 1,
// bit 2 where only p is, bit 1 where only d is, bit 0 where neither is.
inline uint32_t applyRop2(int rop2, uint32_t p, uint32_t d) {
    const unsigned t = static_cast<unsigned>(rop2 - 1);
    uint32_t r = 0;
    if (t & 8u)
        r |= p & d;
    if (t & 4u)
        r |= p & ~d;
    if (t & 2u)
        r |= ~p & d;
    if (t & 1u)
        r |= ~p & ~d;
    return r;
}

// Ternary raster operation without a pattern: the operation's index byte, whose two nibbles are equal,
// read as a table over source `s` and destination `d` like applyRop2.
inline bool ropUsesPattern(uint32_t rop) {
    const uint32_t index = (rop >> 16) & 0xFFu;
    return (index >> 4) != (index & 0xFu);
}
inline uint32_t applyRop3(uint32_t rop, uint32_t s, uint32_t d) {
    return applyRop2(static_cast<int>(((rop >> 16) & 0xFu) + 1), s, d);
}

} // namespace platform::gdi
