// CRastel focus sums: neighbour differences over the interior of a caller's 8-bit buffer.
#include <bitmap/rastel.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Calls add(sum, pixel, left, right, below, above) for every interior pixel of the region of `width`
// columns from column x and `height` rows from buffer row y, in rows of `stride` bytes, and returns the
// last sum. Regions narrower or lower than 3 pixels, and a null buffer, give 0.
template <typename Add>
ULONG sumInterior(const BYTE* pixels, uint64_t stride, uint64_t x, uint64_t y, uint64_t width,
                  uint64_t height, Add add) {
    ULONG sum = 0;
    if (!pixels || width < 3 || height < 3)
        return sum;
    for (uint64_t r = y + 1; r + 1 < y + height; ++r) {
        const BYTE* row = pixels + r * stride;
        for (uint64_t c = x + 1; c + 1 < x + width; ++c)
            sum = add(sum, row[c], row[c - 1], row[c + 1], row[c - stride], row[c + stride]);
    }
    return sum;
}

ULONG addAbsolute(ULONG sum, int pixel, int left, int right, int below, int above) {
    return sum + static_cast<ULONG>(std::abs(pixel - left) + std::abs(pixel - right) +
                                    std::abs(pixel - below) + std::abs(pixel - above));
}

// The squares are summed in double precision and the sum kept modulo 2^32.
ULONG addSquares(ULONG sum, int pixel, int left, int right, int below, int above) {
    const double total = sum + std::pow(pixel - left, 2.0) + std::pow(pixel - right, 2.0) +
                         std::pow(pixel - below, 2.0) + std::pow(pixel - above, 2.0);
    return static_cast<ULONG>(static_cast<uint64_t>(total));
}

uint64_t greyStride(ULONG width) {
    return static_cast<uint64_t>(DibStride(static_cast<LONG>(width), 8));
}

} // namespace

// Sum of |c - left| + |c - right| + |c - below| + |c - above| over the interior pixels of a buffer of
// 8-bit rows, modulo 2^32. Any thread.
ULONG CRastel::TotalDifference(BYTE* pixels, ULONG width, ULONG height) {
    return sumInterior(pixels, greyStride(width), 0, 0, width, height, addAbsolute);
}

// As TotalDifference with each difference squared. Any thread.
ULONG CRastel::TotalDifference2(BYTE* pixels, ULONG width, ULONG height) {
    return sumInterior(pixels, greyStride(width), 0, 0, width, height, addSquares);
}

// TotalDifference over the region whose lowest buffer row is y and first column x, in a buffer of
// imageWidth x imageHeight 8-bit pixels; the region is clamped to the picture first. Any thread.
ULONG CRastel::TotalDifference(BYTE* pixels, ULONG x, ULONG y, ULONG width, ULONG height, ULONG imageWidth,
                               ULONG imageHeight) {
    if (x >= imageWidth || y >= imageHeight)
        return 0;
    const uint64_t columns = std::min<uint64_t>(width, imageWidth - x);
    const uint64_t rows = std::min<uint64_t>(height, imageHeight - y);
    return sumInterior(pixels, greyStride(imageWidth), x, y, columns, rows, addAbsolute);
}
