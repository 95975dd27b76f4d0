// Bit-field pixels: 16 and 32-bit BMP pixels with channel masks, to 24-bit rows.
#include "bmp_decoders.h"

#include <bit>
#include <initializer_list>

namespace rastel {

bool masksUsable(const ChannelMasks& masks, int bits) {
    const uint64_t inside = bits == 16 ? 0xFFFFu : 0xFFFFFFFFu;
    for (const uint32_t mask : {masks.red, masks.green, masks.blue}) {
        if ((mask & ~inside) != 0)
            return false;
        // One run: shifted down to bit 0 it is a number one below a power of two.
        const uint32_t run = mask == 0 ? 0 : mask >> std::countr_zero(mask);
        if ((run & (run + uint64_t{1})) != 0)
            return false;
    }
    return true;
}

BitFieldPixels::BitFieldPixels(const ChannelMasks& masks, int bits)
    : red_(fieldOf(masks.red)), green_(fieldOf(masks.green)), blue_(fieldOf(masks.blue)),
      bytesPerPixel_(bits / 8) {}

BitFieldPixels::Field BitFieldPixels::fieldOf(uint32_t mask) {
    if (mask == 0)
        return {0, 0, 0};
    const int shift = std::countr_zero(mask);
    return {mask, shift, mask >> shift};
}

BYTE BitFieldPixels::scaled(const Field& field, uint32_t pixel) {
    if (field.top == 0)
        return 0;
    const uint64_t value = (pixel & field.mask) >> field.shift;
    return static_cast<BYTE>((value * 255 + field.top / 2) / field.top);
}

void BitFieldPixels::convertRow(const BYTE* source, BYTE* target, LONG width) const {
    for (LONG x = 0; x < width; ++x, source += bytesPerPixel_, target += 3) {
        uint32_t pixel = static_cast<uint32_t>(source[0]) | static_cast<uint32_t>(source[1]) << 8;
        if (bytesPerPixel_ == 4)
            pixel |= static_cast<uint32_t>(source[2]) << 16 | static_cast<uint32_t>(source[3]) << 24;
        target[0] = scaled(blue_, pixel);
        target[1] = scaled(green_, pixel);
        target[2] = scaled(red_, pixel);
    }
}

} // namespace rastel
