// Run-length BMP data (BI_RLE8, BI_RLE4) to bottom-up 8 or 4-bit rows.
#include "bmp_decoders.h"

#include <algorithm>

namespace rastel {
namespace {

// Escape codes: a zero count followed by one of these.
constexpr BYTE kEndOfLine = 0;
constexpr BYTE kEndOfBitmap = 1;
constexpr BYTE kDelta = 2;

// The rows being filled, with the position of the next pixel.
class RowCursor {
public:
    RowCursor(int bits, LONG width, LONG height, BYTE* pixels)
        : bits_(bits), width_(width), height_(height), stride_(static_cast<size_t>(DibStride(width, bits))),
          pixels_(pixels) {}

    // Stores one index at the cursor and moves on; past the end of the row it is dropped.
    void put(BYTE index) {
        if (x_ >= static_cast<uint32_t>(width_))
            return;
        BYTE* row = pixels_ + static_cast<size_t>(y_) * stride_;
        if (bits_ == 8)
            row[x_] = index;
        else
            row[x_ / 2] |= static_cast<BYTE>(x_ % 2 == 0 ? index << 4 : index);
        ++x_;
    }
    void nextLine() {
        x_ = 0;
        ++y_;
    }
    // Moves right and up; false when that leaves the picture (the start of the row after the last is
    // still inside: the picture is then complete).
    bool move(uint32_t right, uint32_t up) {
        x_ += right;
        y_ += static_cast<LONG>(up);
        return y_ < height_ ? x_ <= static_cast<uint32_t>(width_) : y_ == height_ && x_ == 0;
    }
    // Data past the last row is ignored.
    bool pastLastRow() const { return y_ >= height_; }

private:
    int bits_;
    LONG width_;
    LONG height_;
    size_t stride_;
    BYTE* pixels_;
    uint32_t x_ = 0;
    LONG y_ = 0;
};

// The index of pixel `k` of a run or absolute run holding `value`: the byte at 8 bits, at 4 bits its
// high then low nibble in turn.
BYTE indexOf(int bits, BYTE value, uint32_t k) {
    if (bits == 8)
        return value;
    return k % 2 == 0 ? value >> 4 : value & 0x0F;
}

} // namespace

bool decodeRunLength(const BYTE* data, size_t size, int bits, LONG width, LONG height, BYTE* pixels) {
    RowCursor cursor(bits, width, height, pixels);
    size_t at = 0;
    while (size - at >= 2 && !cursor.pastLastRow()) {
        const BYTE count = data[at];
        const BYTE code = data[at + 1];
        at += 2;
        if (count > 0) {
            for (uint32_t k = 0; k < count; ++k)
                cursor.put(indexOf(bits, code, k));
        } else if (code == kEndOfLine) {
            cursor.nextLine();
        } else if (code == kEndOfBitmap) {
            return true;
        } else if (code == kDelta) {
            if (size - at < 2)
                return true;
            if (!cursor.move(data[at], data[at + 1]))
                return false;
            at += 2;
        } else {
            // Absolute run of `code` pixels, its bytes padded to an even count.
            const size_t bytes = bits == 8 ? code : (code + 1u) / 2;
            for (uint32_t k = 0; k < code; ++k) {
                const size_t source = at + (bits == 8 ? k : k / 2);
                if (source >= size)
                    return true;
                cursor.put(indexOf(bits, data[source], k));
            }
            at += std::min(size - at, bytes + bytes % 2);
        }
    }
    return true;
}

} // namespace rastel
