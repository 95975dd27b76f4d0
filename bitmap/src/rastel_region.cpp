// CRastel regions: copying a rectangle out of the picture and loading one out of a caller's buffer.
#include <bitmap/rastel.h>

#include "bmp_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

namespace {

// Where a region lies in a bottom-up DIB of `picWidth` x `picHeight` pixels: x pixels in, y the region's
// lowest row.
struct Region {
    LONG x, y, width, height;
};

// Clamps a region to the picture: its size to the picture's, then its position so that it ends inside.
// False (refused) for a region that is empty or starts outside the picture.
bool clampRegion(Region& r, LONG picWidth, LONG picHeight) {
    if (r.width <= 0 || r.height <= 0 || r.x < 0 || r.y < 0 || r.x >= picWidth || r.y >= picHeight)
        return false;
    r.height = std::min(r.height, picHeight);
    r.width = std::min(r.width, picWidth);
    r.x = std::min(r.x, picWidth - r.width);
    r.y = std::min(r.y, picHeight - r.height);
    return true;
}

// Bytes per pixel of the regions' x offsets; 0 for depths whose pixels do not start on a byte.
DWORD regionBytesPerPixel(int bits) {
    return bits == 8 || bits == 16 || bits == 24 || bits == 32 ? static_cast<DWORD>(bits / 8) : 0;
}

// Copies the region's pixels from `source` (rows of sourceStride bytes) into `target` (rows of
// targetStride bytes), the padding of each target row zero.
void copyRegionRows(const BYTE* source, DWORD sourceStride, const Region& r, DWORD bytesPerPixel,
                    BYTE* target, DWORD targetStride) {
    const DWORD offset = static_cast<DWORD>(r.x) * bytesPerPixel;
    const DWORD count = static_cast<DWORD>(r.width) * bytesPerPixel;
    for (LONG i = 0; i < r.height; ++i) {
        BYTE* row = target + static_cast<size_t>(i) * targetStride;
        std::memcpy(row, source + static_cast<size_t>(r.y + i) * sourceStride + offset, count);
        std::memset(row + count, 0, targetStride - count);
    }
}

} // namespace

// Copies a region of the working pixels into `dst` as bottom-up rows of a DIB of the region's size
// (rows of ((width * bits + 31) / 32) * 4 bytes, their padding zero). y is the region's lowest row of
// the bottom-up picture. A region reaching past the right or top edge is clamped in size and moved back
// inside. Returns 1 copied, or 0 (nothing written) when dst is null, the object is not loaded, `bits` is
// not the picture's depth or is below 8, or the region is empty or starts outside the picture. The
// caller provides height * row bytes. Caller's thread.
int CRastel::SplitBmp(int x, int y, int width, int height, int bits, BYTE* dst) {
    if (!dst || !m_bValid || bits != m_pInfo->bmiHeader.biBitCount)
        return 0;
    const DWORD bytesPerPixel = regionBytesPerPixel(bits);
    Region r{x, y, width, height};
    if (bytesPerPixel == 0 || !clampRegion(r, m_nWidth, m_nHeight))
        return 0;
    copyRegionRows(m_pImage, m_nStride, r, bytesPerPixel, dst,
                   static_cast<DWORD>(DibStride(r.width, static_cast<WORD>(bits))));
    return 1;
}

// Makes the object's picture from a region of a caller's bottom-up DIB pixel buffer of srcWidth x
// srcHeight pixels at `bits` (8, 16, 24 or 32), clamped as in SplitBmp, with the standard header block.
// The object is emptied first, also losing zoom, stretch, split and the draw callback. Returns 1 loaded,
// or 0 (object empty) for a null buffer, a size that is not positive, another depth, a region that is
// empty or starts outside the buffer, or no memory. The buffer stays the caller's. Caller's thread.
int CRastel::ReadSplitBmp(BYTE* src, int srcWidth, int srcHeight, int x, int y, int width, int height,
                          int bits) {
    DeAllocateBuffer();
    InitialParam();
    const DWORD bytesPerPixel = regionBytesPerPixel(bits);
    Region r{x, y, width, height};
    if (!src || srcWidth <= 0 || srcHeight <= 0 || bytesPerPixel == 0 || !clampRegion(r, srcWidth, srcHeight))
        return 0;
    // Sized in 64 bits first: a source stride that wraps 32 bits would make a small picture of a huge buffer.
    if (rastel::pixelBytes(static_cast<uint64_t>(srcWidth), bits, static_cast<uint64_t>(srcHeight)) >
        rastel::kMaxPixelBytes)
        return 0;
    const DWORD sourceStride = static_cast<DWORD>(DibStride(srcWidth, static_cast<WORD>(bits)));
    const DWORD stride = static_cast<DWORD>(DibStride(r.width, static_cast<WORD>(bits)));
    rastel::HeaderBlock info = rastel::standardHeaderBlock(r.width, r.height, bits);
    std::unique_ptr<BYTE[]> pixels(new (std::nothrow) BYTE[size_t{stride} * static_cast<size_t>(r.height)]);
    if (!info || !pixels)
        return 0;
    copyRegionRows(src, sourceStride, r, bytesPerPixel, pixels.get(), stride);
    return TakePicture(info.release(), pixels.release());
}
