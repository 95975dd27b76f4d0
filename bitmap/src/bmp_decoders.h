// Decoders from the pixel forms of BMP files to the picture's own rows: bit-field pixels and run-length data.
#pragma once

#include <win32/dib.h>

#include <cstddef>
#include <cstdint>

namespace rastel {

// The red, green and blue masks of 16 or 32-bit pixels.
struct ChannelMasks {
    uint32_t red;
    uint32_t green;
    uint32_t blue;
};

// True when every mask is zero or one run of set bits inside a pixel of `bits` (16 or 32).
[[nodiscard]] bool masksUsable(const ChannelMasks& masks, int bits);

// Turns rows of 16 or 32-bit pixels into 24-bit rows (blue, green, red). Each channel's field is scaled
// to 0..255, rounding to nearest; a zero mask gives 0. Bits outside the three masks (alpha) are dropped.
class BitFieldPixels {
public:
    // `masks` must pass masksUsable.
    BitFieldPixels(const ChannelMasks& masks, int bits);
    // Converts `width` pixels from `source` into `target`.
    void convertRow(const BYTE* source, BYTE* target, LONG width) const;

private:
    struct Field {
        uint32_t mask;
        int shift;
        uint64_t top;
    };
    static Field fieldOf(uint32_t mask);
    static BYTE scaled(const Field& field, uint32_t pixel);

    Field red_;
    Field green_;
    Field blue_;
    int bytesPerPixel_;
};

// Decodes BI_RLE8 (`bits` 8) or BI_RLE4 (`bits` 4) data into bottom-up rows of DibStride(width, bits)
// bytes that the caller has filled with zeros: pixels that deltas and line ends skip over, and all
// those after data that ends early, keep colour 0. Pixels of a run past the end of its row are dropped
// (some writers code the row padding as pixels), and data after the last row is ignored. False when a
// delta leaves the picture.
[[nodiscard]] bool decodeRunLength(const BYTE* data, size_t size, int bits, LONG width, LONG height, BYTE* pixels);

} // namespace rastel
