// Test pictures: DIB pixel buffers of exact size with pixel access and a repeatable noise fill.
#pragma once

#include <win32/types.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <vector>

namespace pixano_test {

// A picture size that the kernels find awkward, with a name for test output.
struct Size {
    const char* name;
    LONG width;
    LONG height;
};

inline std::ostream& operator<<(std::ostream& os, const Size& s) { return os << s.name; }

// One row, one column, odd widths with padded strides, and the viewer's padded 641.
inline const std::vector<Size>& awkwardSizes() {
    static const std::vector<Size> sizes = {
        {"OneRow", 9, 1}, {"OneColumn", 1, 6}, {"Odd5x3", 5, 3}, {"Odd13x7", 13, 7}, {"Wide641x4", 641, 4},
    };
    return sizes;
}

// A buffer of exactly stride x height bytes (so the sanitizer sees any step past it).
struct Picture {
    LONG width;
    LONG height;
    WORD bits;
    std::ptrdiff_t stride;
    std::vector<BYTE> bytes;

    Picture(LONG w, LONG h, WORD b, BYTE fill = 0)
        : width(w), height(h), bits(b), stride(((static_cast<std::ptrdiff_t>(w) * b + 31) / 32) * 4),
          bytes(static_cast<std::size_t>(stride * h), fill) {}

    BYTE* data() { return bytes.data(); }
    BYTE* row(LONG r) { return bytes.data() + r * stride; }
    const BYTE* row(LONG r) const { return bytes.data() + r * stride; }
    // Byte k of the pixel at buffer row r, column c (pictures of whole bytes per pixel).
    BYTE& at(LONG r, LONG c, int k = 0) { return row(r)[c * (bits / 8) + k]; }
    BYTE at(LONG r, LONG c, int k = 0) const { return row(r)[c * (bits / 8) + k]; }
    std::ptrdiff_t rowBytes() const { return (static_cast<std::ptrdiff_t>(width) * bits + 7) / 8; }

    // A picture of `size` whose bytes, padding included, are noise from `key`.
    static Picture noisy(const Size& size, WORD bits, uint32_t key) {
        Picture p(size.width, size.height, bits);
        p.noise(key);
        return p;
    }

    // A picture `width` pixels wide with one row per value, the whole row (padding included) holding it.
    static Picture valueRows(LONG width, WORD bits, const std::vector<BYTE>& values) {
        Picture p(width, static_cast<LONG>(values.size()), bits);
        for (std::size_t r = 0; r < values.size(); ++r) {
            std::fill_n(p.row(static_cast<LONG>(r)), p.stride, values[r]);
        }
        return p;
    }

    // Fills every byte, padding included, from a small generator started at `key`.
    Picture& noise(uint32_t key) {
        for (BYTE& b : bytes) {
            key = key * 1664525u + 1013904223u;
            b = static_cast<BYTE>(key >> 24);
        }
        return *this;
    }
};

} // namespace pixano_test
