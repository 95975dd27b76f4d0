// The common walk of the colour-space kernels: every pixel of a 24-bit picture, padding untouched.
#pragma once

#include <kernels/pixano.h>

#include "dib_view.h"

namespace pixano {

// Calls `convert(BYTE* row, std::ptrdiff_t width)` on the pixels of every row. Results: 0 done,
// 1 null pixels, 2 depth not 24 (nothing changed).
template <typename Convert>
int convertPixels24(BYTE* pixels, LONG width, LONG height, WORD bits, Convert convert) {
    if (pixels == nullptr) {
        return PIXANO_NO_PIXELS;
    }
    if (bits != 24) {
        return PIXANO_BAD_DEPTH;
    }
    const DibView view = makeView(pixels, width, height, bits);
    for (std::ptrdiff_t r = 0; r < view.rows; ++r) {
        convert(view.row(r), view.width);
    }
    return PIXANO_OK;
}

} // namespace pixano
