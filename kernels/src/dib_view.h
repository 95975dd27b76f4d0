// DibView: a caller's DIB pixel buffer seen as rows of a fixed stride, the one place of the row rule.
#pragma once

#include <win32/types.h>

#include <cstddef>
#include <cstdint>

namespace pixano {

struct DibView {
    BYTE* pixels = nullptr;
    std::ptrdiff_t width = 0;  // pixels per row, 0 for an empty picture
    std::ptrdiff_t rows = 0;   // rows held in the buffer
    std::ptrdiff_t stride = 0; // bytes per row, ((width * bits + 31) / 32) * 4
    WORD bits = 0;

    BYTE* row(std::ptrdiff_t r) const { return pixels + r * stride; }
    std::ptrdiff_t bytes() const { return rows * stride; }
};

// Bytes per row of `width` pixels at `bits`, in a width that cannot overflow.
constexpr std::ptrdiff_t dibStride(std::ptrdiff_t width, WORD bits) {
    return ((width * bits + 31) / 32) * 4;
}

// The view of (pixels, width, height, bits) as the kernels receive them: a negative height stands for
// top-down rows of the same size, and a width of 0 or less makes an empty picture.
inline DibView makeView(BYTE* pixels, LONG width, LONG height, WORD bits) {
    DibView view;
    view.pixels = pixels;
    view.bits = bits;
    if (width <= 0) {
        return view;
    }
    view.width = width;
    view.rows = height < 0 ? -static_cast<std::ptrdiff_t>(height) : height;
    view.stride = dibStride(width, bits);
    return view;
}

} // namespace pixano
