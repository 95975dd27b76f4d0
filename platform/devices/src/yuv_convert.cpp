// BGR to YUY2, UYVY and I420 with the full-range matrix; chroma averaged over each pixel pair or 2 x 2 block.
#include "yuv_convert.h"

#include "byte_round.h"

#include <win32/dib.h>

#include <cstring>

namespace platform::devices {
namespace {

struct Yuv {
    double y, u, v;
};

Yuv toYuv(const BYTE* bgr)
{
    const double b = bgr[0], g = bgr[1], r = bgr[2];
    return {0.299 * r + 0.587 * g + 0.114 * b, -0.168736 * r - 0.331264 * g + 0.5 * b + 128.0,
            0.5 * r - 0.418688 * g - 0.081312 * b + 128.0};
}


// Pixel (x, y), y from the top, of a bottom-up BGR frame.
const BYTE* pixelAt(const BYTE* bgr, LONG stride, LONG height, LONG x, LONG y)
{
    return bgr + std::size_t(height - 1 - y) * stride + std::size_t(x) * 3;
}

void packed422(const BYTE* bgr, LONG width, LONG height, BYTE* out, bool yFirst)
{
    const LONG stride = DibStride(width, 24);
    for (LONG y = 0; y < height; ++y) {
        BYTE* row = out + std::size_t(y) * width * 2;
        for (LONG x = 0; x + 1 < width; x += 2) {
            const Yuv a = toYuv(pixelAt(bgr, stride, height, x, y));
            const Yuv b = toYuv(pixelAt(bgr, stride, height, x + 1, y));
            const BYTE u = roundToByte((a.u + b.u) / 2), v = roundToByte((a.v + b.v) / 2);
            const BYTE ya = roundToByte(a.y), yb = roundToByte(b.y);
            const BYTE quad[2][4] = {{u, ya, v, yb}, {ya, u, yb, v}};
            std::memcpy(row + x * 2, quad[yFirst ? 1 : 0], 4);
        }
    }
}

void planar420(const BYTE* bgr, LONG width, LONG height, BYTE* out)
{
    const LONG stride = DibStride(width, 24);
    BYTE* yPlane = out;
    BYTE* uPlane = yPlane + std::size_t(width) * height;
    BYTE* vPlane = uPlane + std::size_t(width / 2) * (height / 2);
    for (LONG y = 0; y < height; ++y)
        for (LONG x = 0; x < width; ++x)
            yPlane[std::size_t(y) * width + x] = roundToByte(toYuv(pixelAt(bgr, stride, height, x, y)).y);
    for (LONG y = 0; y + 1 < height; y += 2)
        for (LONG x = 0; x + 1 < width; x += 2) {
            double u = 0, v = 0;
            for (int k = 0; k < 4; ++k) {
                const Yuv p = toYuv(pixelAt(bgr, stride, height, x + (k & 1), y + (k >> 1)));
                u += p.u;
                v += p.v;
            }
            const std::size_t at = std::size_t(y / 2) * (width / 2) + x / 2;
            uPlane[at] = roundToByte(u / 4);
            vPlane[at] = roundToByte(v / 4);
        }
}

} // namespace

void convertFrame(const BYTE* bgr, const VideoFormat& format, BYTE* out)
{
    switch (format.pixels) {
    case PixelFormat::Rgb24:
        std::memcpy(out, bgr, frameBytes(format));
        return;
    case PixelFormat::Yuy2:
        packed422(bgr, format.width, format.height, out, true);
        return;
    case PixelFormat::Uyvy:
        packed422(bgr, format.width, format.height, out, false);
        return;
    case PixelFormat::I420:
        planar420(bgr, format.width, format.height, out);
        return;
    }
}

} // namespace platform::devices
