// Hand-made BMP files for the reader tests, and little-endian field access into file bytes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace bmptest {

using Bytes = std::vector<uint8_t>;

inline uint32_t le32(const Bytes& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

inline uint16_t le16(const Bytes& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

inline void put16(Bytes& b, size_t at, uint32_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

inline void put32(Bytes& b, size_t at, uint32_t v) {
    put16(b, at, v);
    put16(b, at + 2, v >> 16);
}

inline uint32_t strideOf(int32_t width, int bits) {
    return static_cast<uint32_t>((static_cast<int64_t>(width) * bits + 31) / 32 * 4);
}

// Fields of a file to build; offBits 0 places the pixels right after the colour table, and pixel bytes
// count up from 1 in file order.
struct BmpSpec {
    int32_t width = 3;
    int32_t height = 2;
    uint16_t bits = 24;
    uint32_t infoSize = 40;
    uint32_t compression = 0;
    uint32_t clrUsed = 0;
    uint32_t tableEntries = 0;
    uint32_t offBits = 0;
};

inline Bytes buildBmp(const BmpSpec& layout) {
    const uint32_t tableEnd = 14 + layout.infoSize + 4 * layout.tableEntries;
    const uint32_t offBits = layout.offBits ? layout.offBits : tableEnd;
    const uint32_t rows =
        static_cast<uint32_t>(layout.height < 0 ? -static_cast<int64_t>(layout.height) : layout.height);
    const uint64_t imageSize = static_cast<uint64_t>(strideOf(layout.width, layout.bits)) * rows;
    // Room for the 40 bytes of info header fields even when the header claims to be shorter.
    Bytes file(std::max({offBits, tableEnd, uint32_t{54}}));
    file[0] = 'B';
    file[1] = 'M';
    put32(file, 2, static_cast<uint32_t>(offBits + imageSize));
    put32(file, 10, offBits);
    put32(file, 14, layout.infoSize);
    put32(file, 18, static_cast<uint32_t>(layout.width));
    put32(file, 22, static_cast<uint32_t>(layout.height));
    put16(file, 26, 1);
    put16(file, 28, layout.bits);
    put32(file, 30, layout.compression);
    put32(file, 46, layout.clrUsed);
    for (uint32_t i = 0; i < layout.tableEntries; ++i) {
        const size_t at = 14 + layout.infoSize + 4 * i;
        file[at] = static_cast<uint8_t>(i);           // blue
        file[at + 1] = static_cast<uint8_t>(255 - i); // green
        file[at + 2] = static_cast<uint8_t>(i / 2);   // red
    }
    if (imageSize < (1u << 20)) {
        for (uint64_t i = 0; i < imageSize; ++i)
            file.push_back(static_cast<uint8_t>(i + 1));
    }
    return file;
}

// Bytes of `values`, each `bytes` long, little-endian.
inline Bytes littleEndian(std::initializer_list<uint32_t> values, int bytes = 4) {
    Bytes out;
    for (const uint32_t v : values)
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return out;
}

inline Bytes joined(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

// An info header of `size` bytes (40 or more); `masks` fill its bytes from 40 on.
inline Bytes infoHeader(uint32_t size, int32_t width, int32_t height, uint16_t bits, uint32_t compression = 0,
                        uint32_t clrUsed = 0, const Bytes& masks = {}) {
    Bytes header(size);
    put32(header, 0, size);
    put32(header, 4, static_cast<uint32_t>(width));
    put32(header, 8, static_cast<uint32_t>(height));
    put16(header, 12, 1);
    put16(header, 14, bits);
    put32(header, 16, compression);
    put32(header, 32, clrUsed);
    std::copy(masks.begin(), masks.end(), header.begin() + 40);
    return header;
}

inline Bytes coreHeader(uint16_t width, uint16_t height, uint16_t bits) {
    Bytes header(12);
    put32(header, 0, 12);
    put16(header, 4, width);
    put16(header, 6, height);
    put16(header, 8, 1);
    put16(header, 10, bits);
    return header;
}

// A file of a header, the bytes between it and the pixels (colour table, masks, gap) and the pixel data.
inline Bytes assembleBmp(const Bytes& header, const Bytes& middle, const Bytes& pixels) {
    const uint32_t offBits = static_cast<uint32_t>(14 + header.size() + middle.size());
    Bytes file(14);
    file[0] = 'B';
    file[1] = 'M';
    put32(file, 2, static_cast<uint32_t>(offBits + pixels.size()));
    put32(file, 10, offBits);
    return joined({file, header, middle, pixels});
}

// Rows of `width` pixel values at `bits`, padded to 4 bytes, stored from the last row of `values`
// (bottom-up) unless `topDown`. Pixels under 8 bits fill each byte from its high bits; 24-bit values
// are 0xRRGGBB.
inline Bytes packRows(const std::vector<uint32_t>& values, int width, int bits, bool topDown = false) {
    const size_t rows = values.size() / static_cast<size_t>(width);
    const uint32_t stride = strideOf(width, bits);
    Bytes out(stride * rows);
    for (size_t r = 0; r < rows; ++r) {
        uint8_t* row = &out[r * stride];
        const uint32_t* source = &values[(topDown ? r : rows - 1 - r) * static_cast<size_t>(width)];
        for (int x = 0; x < width; ++x) {
            const uint32_t v = source[x];
            if (bits < 8) {
                const int shift = 8 - bits - (x * bits) % 8;
                row[x * bits / 8] |= static_cast<uint8_t>(v << shift);
            } else {
                for (int i = 0; i < bits / 8; ++i)
                    row[x * (bits / 8) + i] = static_cast<uint8_t>(v >> (8 * i));
            }
        }
    }
    return out;
}

} // namespace bmptest
