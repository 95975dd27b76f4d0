// BMP file reading and writing, and the header block (info header plus colour table) they carry.
#pragma once

#include <win32/dib.h>

#include <cstdint>
#include <cstdio>
#include <memory>

namespace rastel {

// Largest pixel array a picture may have.
constexpr uint64_t kMaxPixelBytes = uint64_t{1} << 28;

// Bytes of `rows` DIB rows of `width` pixels at `bits`, worked out in 64 bits (DibStride's 32-bit
// result wraps for the widest rows); any size above kMaxPixelBytes answers kMaxPixelBytes + 1.
constexpr uint64_t pixelBytes(uint64_t width, int bits, uint64_t rows) {
    const uint64_t stride = (width * static_cast<uint64_t>(bits) + 31) / 32 * 4;
    if (stride > kMaxPixelBytes || stride * rows > kMaxPixelBytes)
        return kMaxPixelBytes + 1;
    return stride * rows;
}

// Colour-table entries of the standard header block at a bit count: 1 -> 2, 4 -> 16, 8 -> 256, else 0.
DWORD standardColorEntries(int bits);

struct HeaderBlockDeleter {
    void operator()(BITMAPINFO* info) const;
};
// A 40-byte info header followed by its colour table, in one allocation.
using HeaderBlock = std::unique_ptr<BITMAPINFO, HeaderBlockDeleter>;

// A zero-filled header block with room for `entries` colour entries; null without memory.
HeaderBlock newHeaderBlock(DWORD entries);
// A copy of the first 40 + 4 * entries bytes of `info`; null without memory.
HeaderBlock copyHeaderBlock(const BITMAPINFO* info, DWORD entries);
// The standard block of an uncompressed bottom-up picture with standardColorEntries(bits) entries: black
// and white at 1 bit, a grey ramp at 4 and 8 bits (the 8-bit entries carry their index in every byte);
// null without memory.
HeaderBlock standardHeaderBlock(LONG width, LONG height, int bits);
// The colour table behind the 40-byte info header of a block.
RGBQUAD* colorTableOf(BITMAPINFO* info);

// A picture as read from a file: its header block in the 40-byte form with a positive height, and its
// pixels as bottom-up rows.
struct BmpImage {
    HeaderBlock info; // with biClrUsed or the standard count of colour entries
    std::unique_ptr<BYTE[]> pixels;
};

// Reads a whole BMP file from `file`: a core header or an info header of 40 bytes or more; uncompressed
// 1, 2, 4, 8, 16, 24 or 32 bits, run-length coded 4 or 8 bits, or 16 and 32-bit bit fields. The picture
// comes back bottom-up under a 40-byte header at 1, 4 or 8 bits with the file's colour table (2 bits
// widened to 4), or at 24 bits (16 and 32-bit pixels through their masks, alpha dropped). Refuses
// (false) other forms, a positive width or nonzero height missing, headers, masks or colour tables
// that do not lie before the pixels, uncompressed rows that do not lie inside the file, runs or deltas
// that leave the picture, and more than kMaxPixelBytes of pixels in the file or in memory.
[[nodiscard]] bool readBmpFile(std::FILE* file, BmpImage& image);

// Writes the file header, the header block with `entries` colour entries and `imageSize` bytes of
// pixels. False when a write fails or falls short.
[[nodiscard]] bool writeBmpFile(std::FILE* file, const BITMAPINFO* info, DWORD entries, const BYTE* pixels,
                                DWORD imageSize);

} // namespace rastel
