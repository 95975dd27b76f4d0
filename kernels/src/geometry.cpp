// Flip and Mirror: the picture turned upside down or left to right.
#include <kernels/pixano.h>

#include "dib_view.h"

#include <algorithm>

namespace {

// Reverses the order of the `width` pixels of `bytesPerPixel` bytes at the start of `row`.
void mirrorWholeBytes(BYTE* row, std::ptrdiff_t width, int bytesPerPixel) {
    BYTE* left = row;
    BYTE* right = row + (width - 1) * bytesPerPixel;
    for (; left < right; left += bytesPerPixel, right -= bytesPerPixel) {
        std::swap_ranges(left, left + bytesPerPixel, right);
    }
}

// Reverses the order of the `width` pixels of `bits` (1, 2 or 4) bits, most significant first, at the
// start of `row`; the bits past the width stay where they are.
void mirrorPackedBits(BYTE* row, std::ptrdiff_t width, int bits) {
    const int perByte = 8 / bits;
    const BYTE mask = static_cast<BYTE>((1 << bits) - 1);
    auto shiftOf = [&](std::ptrdiff_t j) { return 8 - bits * (1 + static_cast<int>(j % perByte)); };
    auto get = [&](std::ptrdiff_t j) { return static_cast<BYTE>(row[j / perByte] >> shiftOf(j) & mask); };
    auto put = [&](std::ptrdiff_t j, BYTE v) {
        BYTE& byte = row[j / perByte];
        byte = static_cast<BYTE>((byte & ~(mask << shiftOf(j))) | v << shiftOf(j));
    };
    for (std::ptrdiff_t left = 0, right = width - 1; left < right; ++left, --right) {
        const BYTE a = get(left);
        put(left, get(right));
        put(right, a);
    }
}

} // namespace

// Exchanges buffer rows i and rows - 1 - i for every i below rows / 2. Any depth.
// Results: 0 done, 1 null pixels. Caller's thread.
int CPixano::Flip(BYTE* pixels, LONG width, LONG height, WORD bits) {
    if (pixels == nullptr) {
        return PIXANO_NO_PIXELS;
    }
    const pixano::DibView view = pixano::makeView(pixels, width, height, bits);
    for (std::ptrdiff_t i = 0; i < view.rows / 2; ++i) {
        std::swap_ranges(view.row(i), view.row(i) + view.stride, view.row(view.rows - 1 - i));
    }
    return PIXANO_OK;
}

// Reverses the order of the pixels in every row; each pixel keeps its bytes in their order and the
// row's padding stays at its end. Depths 1, 2, 4 and whole bytes per pixel (8, 16, 24, 32 ...).
// Results: 0 done, 1 null pixels, 2 another depth (nothing changed). Caller's thread.
int CPixano::Mirror(BYTE* pixels, LONG width, LONG height, WORD bits) {
    if (pixels == nullptr) {
        return PIXANO_NO_PIXELS;
    }
    const pixano::DibView view = pixano::makeView(pixels, width, height, bits);
    if (bits == 1 || bits == 2 || bits == 4) {
        for (std::ptrdiff_t r = 0; r < view.rows; ++r) {
            mirrorPackedBits(view.row(r), view.width, bits);
        }
    } else if (bits != 0 && bits % 8 == 0) {
        for (std::ptrdiff_t r = 0; r < view.rows; ++r) {
            mirrorWholeBytes(view.row(r), view.width, bits / 8);
        }
    } else {
        return PIXANO_BAD_DEPTH;
    }
    return PIXANO_OK;
}
