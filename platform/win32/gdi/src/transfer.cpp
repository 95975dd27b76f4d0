// Nearest-pixel stretching with format conversion and raster operations, one row at a time.
#include "transfer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "canvas.h"
#include "rop.h"

#include <win32/gdi_bitmap.h>

namespace platform::gdi {
namespace {

// Reads the `count` source pixels at `columns` of one row.
template <int Bits>
void readRow(const BYTE* row, const int* columns, int count, uint32_t* out) {
    for (int i = 0; i < count; ++i)
        out[i] = readPixel(row, columns[i], Bits);
}

void readValues(const PixelView& view, const BYTE* row, const int* columns, int count, uint32_t* out) {
    switch (view.bitsPerPixel) {
    case 1: readRow<1>(row, columns, count, out); break;
    case 4: readRow<4>(row, columns, count, out); break;
    case 8: readRow<8>(row, columns, count, out); break;
    case 24: readRow<24>(row, columns, count, out); break;
    default: readRow<32>(row, columns, count, out); break;
    }
}

// Turns source pixel values into target pixel values.
class ValueMap {
public:
    ValueMap(const PixelView& dst, uint32_t opaque, const PixelView& src, const TransferColors& colors)
        : dst_(dst), opaque_(dst.bitsPerPixel == 32 ? opaque : 0u) {
        const bool monoTarget = dst.monoDevice && colors.fromDc;
        if (src.bitsPerPixel <= 8) {
            mode_ = Mode::Table;
            table_.resize(size_t{1} << src.bitsPerPixel);
            for (uint32_t v = 0; v < table_.size(); ++v) {
                if (src.monoDevice && dst.monoDevice)
                    table_[v] = v;
                else if (src.monoDevice && colors.fromDc)
                    table_[v] = target(v ? colors.destBk : colors.destText);
                else if (monoTarget)
                    table_[v] = colorOfValue(src, v) == colors.sourceBk ? 1u : 0u;
                else
                    table_[v] = target(colorOfValue(src, v));
            }
        } else if (dst.bitsPerPixel >= 24) {
            mode_ = Mode::Direct;
        } else if (monoTarget) {
            mode_ = Mode::ToMono;
            sourceBk_ = rgbValue(colors.sourceBk);
        } else {
            mode_ = Mode::Nearest;
        }
    }

    void map(uint32_t* values, int count) {
        switch (mode_) {
        case Mode::Table:
            for (int i = 0; i < count; ++i)
                values[i] = table_[values[i]];
            break;
        case Mode::Direct:
            for (int i = 0; i < count; ++i)
                values[i] |= opaque_;
            break;
        case Mode::ToMono:
            for (int i = 0; i < count; ++i)
                values[i] = values[i] == sourceBk_ ? 1u : 0u;
            break;
        case Mode::Nearest:
            for (int i = 0; i < count; ++i)
                values[i] = nearest(values[i]);
            break;
        }
    }

private:
    enum class Mode { Table, Direct, ToMono, Nearest };

    uint32_t target(COLORREF color) const { return pixelValue(dst_, color) | opaque_; }
    uint32_t nearest(uint32_t rgb) {
        if (rgb != lastRgb_) {
            lastRgb_ = rgb;
            lastValue_ = pixelValue(dst_, colorOfRgb(rgb));
        }
        return lastValue_;
    }

    const PixelView& dst_;
    const uint32_t opaque_;
    Mode mode_ = Mode::Direct;
    std::vector<uint32_t> table_;
    uint32_t sourceBk_ = 0;
    uint32_t lastRgb_ = 0xFFFFFFFFu;
    uint32_t lastValue_ = 0;
};

template <int Bits>
void writeRow(BYTE* row, const int* columns, const uint32_t* values, int x0, int x1, uint32_t rop, uint32_t mask,
              uint32_t opaque) {
    if (rop == SRCCOPY) {
        for (int x = x0; x < x1; ++x)
            if (columns[x - x0] >= 0)
                writePixel(row, x, Bits, values[columns[x - x0]]);
        return;
    }
    for (int x = x0; x < x1; ++x)
        if (columns[x - x0] >= 0)
            writePixel(row, x, Bits,
                       (applyRop3(rop, values[columns[x - x0]], readPixel(row, x, Bits)) & mask) |
                           (Bits == 32 ? opaque : 0u));
}

void writeValues(const PixelView& view, BYTE* row, const int* columns, const uint32_t* values, int x0, int x1,
                 uint32_t rop, uint32_t opaque) {
    const uint32_t mask = view.valueMask();
    switch (view.bitsPerPixel) {
    case 1: writeRow<1>(row, columns, values, x0, x1, rop, mask, opaque); break;
    case 4: writeRow<4>(row, columns, values, x0, x1, rop, mask, opaque); break;
    case 8: writeRow<8>(row, columns, values, x0, x1, rop, mask, opaque); break;
    case 24: writeRow<24>(row, columns, values, x0, x1, rop, mask, opaque); break;
    default: writeRow<32>(row, columns, values, x0, x1, rop, mask, opaque); break;
    }
}

// Index into the source area (from its low edge) for index `i` of the target area.
int mapIndex(int i, int targetSize, int sourceSize) {
    const int64_t t = std::abs(static_cast<int64_t>(targetSize));
    const int64_t s = std::abs(static_cast<int64_t>(sourceSize));
    int64_t j = ((2 * static_cast<int64_t>(i) + 1) * s) / (2 * t);
    if ((targetSize < 0) != (sourceSize < 0))
        j = s - 1 - j;
    return static_cast<int>(j);
}

int lowEdge(int start, int size) { return size < 0 ? start + size : start; }

} // namespace

RECT transferPixels(const PixelView& dst, const RECT& clip, uint32_t opaque, Area to, const PixelView& srcIn,
                    Area from, uint32_t rop, const TransferColors& colors) {
    // Areas beyond 28-bit coordinates are not drawn, so that no sum below overflows.
    constexpr int kLimit = 1 << 27;
    for (int v : {to.x, to.y, to.width, to.height, from.x, from.y, from.width, from.height})
        if (v < -kLimit || v > kLimit)
            return RECT{0, 0, 0, 0};
    if (to.width == 0 || to.height == 0 || from.width == 0 || from.height == 0 || !dst.bits || !srcIn.bits)
        return RECT{0, 0, 0, 0};
    const int toLeft = lowEdge(to.x, to.width), toTop = lowEdge(to.y, to.height);
    const int fromLeft = lowEdge(from.x, from.width), fromTop = lowEdge(from.y, from.height);
    const RECT target = intersectRect(
        clip, RECT{toLeft, toTop, toLeft + std::abs(to.width), toTop + std::abs(to.height)});
    if (rectEmpty(target))
        return RECT{0, 0, 0, 0};

    // A transfer within one buffer reads from a copy, so that rows written are not read again.
    PixelView src = srcIn;
    std::vector<BYTE> copy;
    if (src.bits == dst.bits) {
        copy.assign(src.bits, src.bits + static_cast<size_t>(src.stride) * src.height);
        src.bits = copy.data();
    }

    // Source column for each target column, as an offset into the converted source row; -1 outside.
    const int count = target.right - target.left;
    std::vector<int> columns(count);
    int firstColumn = src.width, lastColumn = -1;
    for (int x = target.left; x < target.right; ++x) {
        const int column = fromLeft + mapIndex(x - toLeft, to.width, from.width);
        const bool inside = column >= 0 && column < src.width;
        columns[x - target.left] = inside ? column : -1;
        if (inside) {
            firstColumn = std::min(firstColumn, column);
            lastColumn = std::max(lastColumn, column);
        }
    }
    if (lastColumn < 0)
        return RECT{0, 0, 0, 0};
    // The source columns read for each row: every one of the span when stretching wider, else only those
    // that some target column shows. `columns` then indexes into what is read.
    std::vector<int> reads;
    if (count < lastColumn - firstColumn + 1) {
        for (int& column : columns)
            if (column >= 0) {
                reads.push_back(column);
                column = static_cast<int>(reads.size()) - 1;
            }
    } else {
        for (int column = firstColumn; column <= lastColumn; ++column)
            reads.push_back(column);
        for (int& column : columns)
            if (column >= 0)
                column -= firstColumn;
    }

    ValueMap map(dst, opaque, src, colors);
    std::vector<uint32_t> values(reads.size());
    RECT written{target.left, target.bottom, target.right, target.top};
    int convertedRow = -1;
    for (int y = target.top; y < target.bottom; ++y) {
        const int sourceRow = fromTop + mapIndex(y - toTop, to.height, from.height);
        if (sourceRow < 0 || sourceRow >= src.height)
            continue;
        if (sourceRow != convertedRow) {
            readValues(src, src.row(sourceRow), reads.data(), static_cast<int>(reads.size()), values.data());
            map.map(values.data(), static_cast<int>(values.size()));
            convertedRow = sourceRow;
        }
        writeValues(dst, dst.row(y), columns.data(), values.data(), target.left, target.right, rop, opaque);
        written.top = std::min<LONG>(written.top, y);
        written.bottom = std::max<LONG>(written.bottom, y + 1);
    }
    return rectEmpty(written) ? RECT{0, 0, 0, 0} : written;
}

} // namespace platform::gdi
