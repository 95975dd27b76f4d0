// Negative, Contrast and Gamma1: per-byte tone changes.
#include <kernels/pixano.h>

#include "byte_curve.h"
#include "dib_view.h"

#include <cmath>
#include <cstdint>

using pixano::applyCurve;
using pixano::Curve;
using pixano::truncateToByte;

// Replaces every byte of every row, padding included, by 255 minus itself; at 1 and 8 bits this
// inverts the palette index. Any depth. Results: 0 done, 1 null pixels. Caller's thread.
int CPixano::Negative(BYTE* pixels, LONG width, LONG height, WORD bits) {
    if (pixels == nullptr) {
        return PIXANO_NO_PIXELS;
    }
    const pixano::DibView view = pixano::makeView(pixels, width, height, bits);
    for (BYTE* p = view.pixels; p != view.pixels + view.bytes(); ++p) {
        *p = static_cast<BYTE>(255 - *p);
    }
    return PIXANO_OK;
}

// Each value v of the pixels (padding untouched) becomes (v - 128) * factor + 128 + brightness in
// single precision, factor = (contrast + 100) / 100, truncated and clamped to 0..255.
// Results: 0 done, 2 depth not 8 or 24 (tested first), 1 null pixels. Caller's thread.
int CPixano::Contrast(BYTE* pixels, LONG width, LONG height, WORD bits, LONG brightness, LONG contrast) {
    if (bits != 8 && bits != 24) {
        return PIXANO_BAD_DEPTH;
    }
    if (pixels == nullptr) {
        return PIXANO_NO_PIXELS;
    }
    const float factor = static_cast<float>(static_cast<int64_t>(contrast) + 100) / 100.0f;
    const float lift = static_cast<float>(brightness);
    Curve curve;
    for (int v = 0; v < 256; ++v) {
        const float x = static_cast<float>(v - 128) * factor + 128.0f + lift;
        curve[v] = truncateToByte(x);
    }
    const pixano::DibView view = pixano::makeView(pixels, width, height, bits);
    const std::ptrdiff_t rowBytes = view.width * (bits / 8);
    for (std::ptrdiff_t r = 0; r < view.rows; ++r) {
        applyCurve(view.row(r), rowBytes, curve);
    }
    return PIXANO_OK;
}

// Replaces every byte of every row, padding included, by ((v + 1) / 256) ^ gamma * 255 + 0.5 in
// double precision, truncated and clamped to 0..255 (a not-a-number gives 0).
// Results: 0 done, 1 null pixels, 2 depth not 8 or 24. Caller's thread.
int CPixano::Gamma1(BYTE* pixels, LONG width, LONG height, WORD bits, float gamma) {
    if (pixels == nullptr) {
        return PIXANO_NO_PIXELS;
    }
    if (bits != 8 && bits != 24) {
        return PIXANO_BAD_DEPTH;
    }
    Curve curve;
    for (int i = 0; i < 256; ++i) {
        curve[i] = truncateToByte(std::pow((i + 1) / 256.0, static_cast<double>(gamma)) * 255.0 + 0.5);
    }
    const pixano::DibView view = pixano::makeView(pixels, width, height, bits);
    applyCurve(view.pixels, view.bytes(), curve);
    return PIXANO_OK;
}
