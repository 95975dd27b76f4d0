// TotalDifference1: the sharpness sum of an 8-bit picture.
#include <kernels/pixano.h>

#include "dib_view.h"

#include <cstdint>
#include <cstdlib>
#include <limits>

// Sums |c - above| + |c - below| + |c - left| + |c - right| over the interior pixels of an 8-bit
// picture, in 64 bits; a sum beyond the 32-bit range answers INT32_MAX rather than wrapping.
// Results: the sum, 0 for a picture without interior, -1 for another depth or null pixels.
// Caller's thread.
int CPixano::TotalDifference1(BYTE* pixels, LONG width, LONG height, WORD bits) {
    if (bits != 8 || pixels == nullptr) {
        return -1;
    }
    const pixano::DibView view = pixano::makeView(pixels, width, height, bits);
    int64_t sum = 0;
    for (std::ptrdiff_t r = 1; r < view.rows - 1; ++r) {
        const BYTE* below = view.row(r - 1);
        const BYTE* centre = view.row(r);
        const BYTE* above = view.row(r + 1);
        for (std::ptrdiff_t c = 1; c < view.width - 1; ++c) {
            const int v = centre[c];
            sum += std::abs(v - above[c]) + std::abs(v - below[c]) + std::abs(v - centre[c - 1]) +
                   std::abs(v - centre[c + 1]);
        }
    }
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    return static_cast<int>(sum < kMax ? sum : kMax);
}
