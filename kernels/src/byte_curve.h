// Byte tone curves: a 256-entry lookup applied in place, and the truncate-and-clamp rule of the kernels.
#pragma once

#include <win32/types.h>

#include <array>
#include <cstddef>

namespace pixano {

using Curve = std::array<BYTE, 256>;

// Passes `count` bytes from `p` through `curve`.
void applyCurve(BYTE* p, std::ptrdiff_t count, const Curve& curve);

// Passes `count` bytes from `p` through three curves in turn: byte j through curves[j % 3].
void applyCurves3(BYTE* p, std::ptrdiff_t count, const std::array<Curve, 3>& curves);

// Truncates toward zero and clamps to 0..255; a not-a-number gives 0.
inline BYTE truncateToByte(double x) {
    if (x >= 255.0) {
        return 255;
    }
    if (!(x > 0.0)) {
        return 0;
    }
    return static_cast<BYTE>(x);
}

} // namespace pixano
