// Color24To8 and Threshold: 24-bit colour to 8-bit grey, and grey to 1 bit per pixel, in place.
#include <kernels/pixano.h>

#include "dib_view.h"

namespace {

// Rewrites 24-bit rows as 8-bit grey rows (B + 6G + 3R) / 10 from the start of the buffer. Each grey
// byte lands at or before the colour bytes it came from, so no unread colour is overwritten; the grey
// rows' padding keeps what the buffer held.
void colourToGrey(const pixano::DibView& colour) {
    const std::ptrdiff_t greyStride = pixano::dibStride(colour.width, 8);
    for (std::ptrdiff_t r = 0; r < colour.rows; ++r) {
        const BYTE* src = colour.row(r);
        BYTE* grey = colour.pixels + r * greyStride;
        for (std::ptrdiff_t j = 0; j < colour.width; ++j) {
            const BYTE* p = src + 3 * j;
            grey[j] = static_cast<BYTE>((p[0] + 6 * p[1] + 3 * p[2]) / 10);
        }
    }
}

// Rewrites 8-bit grey rows as 1-bit rows from the start of the buffer, most significant bit leftmost,
// 1 for a value above `level`. A 1-bit byte is written only after the eight grey values it holds are
// read; the bits past the width in a row's last byte keep what that byte held.
void greyToBits(const pixano::DibView& grey, BYTE level) {
    const std::ptrdiff_t bitStride = pixano::dibStride(grey.width, 1);
    const std::ptrdiff_t fullBytes = grey.width / 8;
    const int tailBits = static_cast<int>(grey.width % 8);
    for (std::ptrdiff_t r = 0; r < grey.rows; ++r) {
        const BYTE* src = grey.row(r);
        BYTE* out = grey.pixels + r * bitStride;
        for (std::ptrdiff_t b = 0; b < fullBytes; ++b) {
            BYTE byte = 0;
            for (int k = 0; k < 8; ++k) {
                byte = static_cast<BYTE>(byte << 1 | (src[8 * b + k] > level ? 1 : 0));
            }
            out[b] = byte;
        }
        if (tailBits != 0) {
            BYTE byte = 0;
            for (int k = 0; k < tailBits; ++k) {
                byte |= static_cast<BYTE>((src[8 * fullBytes + k] > level ? 1 : 0) << (7 - k));
            }
            const BYTE kept = static_cast<BYTE>(0xFF >> tailBits);
            out[fullBytes] = static_cast<BYTE>(byte | (out[fullBytes] & kept));
        }
    }
}

} // namespace

// Turns a 24-bit picture into 8-bit grey rows in place. Results: 0 done, 1 null pixels. Caller's thread.
int CPixano::Color24To8(BYTE* pixels, LONG width, LONG height) {
    if (pixels == nullptr) {
        return PIXANO_NO_PIXELS;
    }
    colourToGrey(pixano::makeView(pixels, width, height, 24));
    return PIXANO_OK;
}

// Turns an 8-bit picture, or a 24-bit one after Color24To8, into 1 bit per pixel in place: white
// where the grey value is above `level`. Results: 0 done (a 1-bit picture is left as it is), 1 null
// pixels, 2 another depth (nothing changed). Caller's thread.
int CPixano::Threshold(BYTE* pixels, LONG width, LONG height, WORD bits, BYTE level) {
    if (pixels == nullptr) {
        return PIXANO_NO_PIXELS;
    }
    if (bits == 1) {
        return PIXANO_OK;
    }
    if (bits != 8 && bits != 24) {
        return PIXANO_BAD_DEPTH;
    }
    if (bits == 24) {
        colourToGrey(pixano::makeView(pixels, width, height, 24));
    }
    greyToBits(pixano::makeView(pixels, width, height, 8), level);
    return PIXANO_OK;
}
