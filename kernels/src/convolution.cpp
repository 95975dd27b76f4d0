// ConvolutionFilter: the 3x3 filter table and its application to 8- and 24-bit pictures.
#include <kernels/pixano.h>

#include "dib_view.h"
#include "simd_targets.h"

#include <algorithm>
#include <new>
#include <vector>

namespace {

struct FilterKernel {
    int weight[3][3]; // [a][b] applies to buffer row r - 1 + a, column c - 1 + b
    int divisor;
    int offset;
};

constexpr FilterKernel kFilters[] = {
    {{{0, -2, 0}, {-2, 11, -2}, {0, -2, 0}}, 3, 0},    // FILTER_SHARPEN
    {{{-1, -1, -1}, {-1, 9, -1}, {-1, -1, -1}}, 1, 0}, // FILTER_HIGHPASS
    {{{1, 1, 1}, {0, 0, 0}, {-1, -1, -1}}, 1, 127},    // FILTER_EMBOSS
    {{{-1, 0, -1}, {0, 4, 0}, {-1, 0, -1}}, 1, 127},   // FILTER_EDGE
    {{{1, 2, 1}, {2, 4, 2}, {1, 2, 1}}, 16, 0},        // FILTER_SMOOTH
};
constexpr int kFilterCount = static_cast<int>(sizeof(kFilters) / sizeof(kFilters[0]));

// The weights of table row A applied to byte i of `row` and the same byte of its two neighbours.
template <FilterKernel K, int A, int Channels> int weightedRow(const BYTE* row, std::ptrdiff_t i) {
    return K.weight[A][0] * row[i - Channels] + K.weight[A][1] * row[i] + K.weight[A][2] * row[i + Channels];
}

// One interior row: every byte of pixels 1 .. width - 2, each from the same byte of its neighbours.
// `above`, `centre` and `below` are the unfiltered buffer rows r - 1, r and r + 1. The weights are
// constants here, so zero weights drop out and the division needs no divide instruction; `out` is the
// caller's buffer and never overlaps the rows of the copy, so the loop runs in vector registers.
template <FilterKernel K, int Channels>
[[gnu::always_inline]] inline void filterRow(const BYTE* __restrict above, const BYTE* __restrict centre, const BYTE* __restrict below,
               BYTE* __restrict out, std::ptrdiff_t width) {
    for (std::ptrdiff_t i = Channels; i < (width - 1) * Channels; ++i) {
        const int sum = weightedRow<K, 0, Channels>(above, i) + weightedRow<K, 1, Channels>(centre, i) +
                        weightedRow<K, 2, Channels>(below, i);
        // Integer division truncates toward zero, then the offset is added.
        out[i] = static_cast<BYTE>(std::clamp(sum / K.divisor + K.offset, 0, 255));
    }
}

// The instantiation of `filter`, inlined into each instruction-set version below.
template <int Channels>
[[gnu::always_inline]] inline void filterRow(FILTER filter, const BYTE* above, const BYTE* centre, const BYTE* below, BYTE* out,
               std::ptrdiff_t width) {
    switch (filter) {
    case FILTER_SHARPEN:
        return filterRow<kFilters[FILTER_SHARPEN], Channels>(above, centre, below, out, width);
    case FILTER_HIGHPASS:
        return filterRow<kFilters[FILTER_HIGHPASS], Channels>(above, centre, below, out, width);
    case FILTER_EMBOSS:
        return filterRow<kFilters[FILTER_EMBOSS], Channels>(above, centre, below, out, width);
    case FILTER_EDGE:
        return filterRow<kFilters[FILTER_EDGE], Channels>(above, centre, below, out, width);
    case FILTER_SMOOTH:
        return filterRow<kFilters[FILTER_SMOOTH], Channels>(above, centre, below, out, width);
    }
}

// One interior row of the table row `filter` with 1 or 3 bytes per pixel, built for each vector
// instruction set: the 32-bit division by 3 of the sharpen filter has no baseline vector form.
PIXANO_VECTOR_CLONES void filterRow(FILTER filter, int channels, const BYTE* above, const BYTE* centre,
                                    const BYTE* below, BYTE* out, std::ptrdiff_t width) {
    if (channels == 1) {
        filterRow<1>(filter, above, centre, below, out, width);
    } else {
        filterRow<3>(filter, above, centre, below, out, width);
    }
}

// Filters rows 1 .. rows - 2 of `view` from the unfiltered `copy`; `beforeRow(r)` runs before row r.
template <typename BeforeRow>
void filterPicture(FILTER filter, int channels, const pixano::DibView& view, const BYTE* copy,
                   BeforeRow beforeRow) {
    for (std::ptrdiff_t r = 1; r <= view.rows - 2; ++r) {
        beforeRow(r);
        const BYTE* centre = copy + r * view.stride;
        filterRow(filter, channels, centre - view.stride, centre, centre + view.stride, view.row(r), view.width);
    }
}

} // namespace

// Applies the table row `filter` to the interior pixels of an 8- or 24-bit picture, reading every
// neighbour from an unfiltered copy; border rows and columns keep their values and other depths are
// left as they are. Results: 0 done (also at other depths), 1 null pixels or no memory for the copy,
// 2 a selector outside the table (nothing changed). Caller's thread.
int CPixano::ConvolutionFilter(BYTE* pixels, LONG width, LONG height, WORD bits, FILTER filter) {
    if (filter < 0 || filter >= kFilterCount) {
        return PIXANO_BAD_DEPTH;
    }
    if (pixels == nullptr) {
        return PIXANO_NO_PIXELS;
    }
    const pixano::DibView view = pixano::makeView(pixels, width, height, bits);
    if ((bits != 8 && bits != 24) || view.rows < 3 || view.width < 3) {
        return PIXANO_OK;
    }
    std::vector<BYTE> copy;
    try {
        copy.assign(view.pixels, view.pixels + view.bytes());
    } catch (const std::bad_alloc&) {
        return PIXANO_NO_PIXELS;
    }

    if (bits == 8) {
        filterPicture(filter, 1, view, copy.data(), [](std::ptrdiff_t) {});
    } else {
        const LONG lastRow = static_cast<LONG>(view.rows - 2);
        filterPicture(filter, 3, view, copy.data(),
                         [&](std::ptrdiff_t r) { SetProgress(0, lastRow, static_cast<LONG>(r - 1)); });
    }
    return PIXANO_OK;
}
