// BGR to YUY2, UYVY and I420 rows with the full-range matrix; chroma averaged over each pixel pair or 2 x 2 block.
#include "yuv_convert.h"

#include "byte_round.h"

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

} // namespace

void packedRow(const BYTE* bgr, LONG width, BYTE* out, bool yFirst)
{
    for (LONG x = 0; x + 1 < width; x += 2) {
        const Yuv a = toYuv(bgr + x * 3);
        const Yuv b = toYuv(bgr + x * 3 + 3);
        const BYTE u = roundToByte((a.u + b.u) / 2), v = roundToByte((a.v + b.v) / 2);
        const BYTE ya = roundToByte(a.y), yb = roundToByte(b.y);
        const BYTE quad[2][4] = {{u, ya, v, yb}, {ya, u, yb, v}};
        std::memcpy(out + x * 2, quad[yFirst ? 1 : 0], 4);
    }
}

void lumaRow(const BYTE* bgr, LONG width, BYTE* out)
{
    for (LONG x = 0; x < width; ++x)
        out[x] = roundToByte(toYuv(bgr + x * 3).y);
}

void chromaRows(const BYTE* upper, const BYTE* lower, LONG width, BYTE* u, BYTE* v)
{
    for (LONG x = 0; x + 1 < width; x += 2) {
        const BYTE* block[4] = {upper + x * 3, upper + x * 3 + 3, lower + x * 3, lower + x * 3 + 3};
        double su = 0, sv = 0;
        for (const BYTE* pixel : block) {
            const Yuv p = toYuv(pixel);
            su += p.u;
            sv += p.v;
        }
        u[x / 2] = roundToByte(su / 4);
        v[x / 2] = roundToByte(sv / 4);
    }
}

} // namespace platform::devices
