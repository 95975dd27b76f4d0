// Flip and Mirror: the picture turned upside down or left to right.
#include <kernels/pixano.h>

#include "dib_view.h"
#include "simd_targets.h"

#include <algorithm>

namespace {

// Reverses the order of the pixels of `bytesPerPixel` bytes from `left` up to `end`.
void reversePixels(BYTE* left, BYTE* end, int bytesPerPixel) {
    for (BYTE* right = end - bytesPerPixel; left < right; left += bytesPerPixel, right -= bytesPerPixel) {
        std::swap_ranges(left, left + bytesPerPixel, right);
    }
}

// Reverses the order of the pixels in every row of `view`, pixels of `bytesPerPixel` bytes.
PIXANO_BASELINE void mirrorWholeBytes(const pixano::DibView& view, int bytesPerPixel) {
    for (std::ptrdiff_t r = 0; r < view.rows; ++r) {
        reversePixels(view.row(r), view.row(r) + view.width * bytesPerPixel, bytesPerPixel);
    }
}

#ifdef PIXANO_HAVE_WIDE_VECTORS
// Blocks of as many whole pixels as a 64-byte register holds come from both ends of a row at once,
// each reversed by one permute and stored at the other end; the pixels left in the middle are swapped
// one by one, as are all pixels of more than 32 bytes.
PIXANO_WIDE_VECTORS void mirrorWholeBytes(const pixano::DibView& view, int bytesPerPixel) {
    const int blockPixels = 64 / bytesPerPixel;
    const int blockBytes = blockPixels >= 2 ? blockPixels * bytesPerPixel : 0;
    alignas(64) BYTE order[64] = {};
    for (int j = 0; j < blockBytes; ++j) {
        order[j] = static_cast<BYTE>((blockPixels - 1 - j / bytesPerPixel) * bytesPerPixel + j % bytesPerPixel);
    }
    const __m512i reversed = _mm512_load_si512(order);
    const __mmask64 lanes = blockBytes == 64 ? ~__mmask64{0} : (__mmask64{1} << blockBytes) - 1;
    for (std::ptrdiff_t r = 0; r < view.rows; ++r) {
        BYTE* left = view.row(r);
        BYTE* right = left + view.width * bytesPerPixel;
        for (; blockBytes != 0 && right - left >= 2 * blockBytes; left += blockBytes, right -= blockBytes) {
            const __m512i front = _mm512_maskz_loadu_epi8(lanes, left);
            const __m512i back = _mm512_maskz_loadu_epi8(lanes, right - blockBytes);
            _mm512_mask_storeu_epi8(left, lanes, _mm512_maskz_permutexvar_epi8(lanes, reversed, back));
            _mm512_mask_storeu_epi8(right - blockBytes, lanes, _mm512_maskz_permutexvar_epi8(lanes, reversed, front));
        }
        reversePixels(left, right, bytesPerPixel);
    }
}
#endif

// Reverses the order of the `width` pixels of `bits` (1, 2 or 4) bits, most significant first, at the
// start of `row`; the bits past the width stay where they are.
void mirrorPackedBits(BYTE* row, std::ptrdiff_t width, int bits) {
    const int perByte = 8 / bits;
    const BYTE mask = static_cast<BYTE>((1 << bits) - 1);
    auto shiftOf = [&](std::ptrdiff_t j) { return 8 - bits * (1 + static_cast<int>(j % perByte)); };
    auto get = [&](std::ptrdiff_t j) { return static_cast<BYTE>(row[j / perByte] >> shiftOf(j) & mask); };
    auto put = [&](std::ptrdiff_t j, BYTE v) {
        BYTE& byte = row[j / perByte];
        byte = static_cast<BYTE>((byte & ~(mask << shiftOf(j))) | v << shiftOf(j));
    };
    for (std::ptrdiff_t left = 0, right = width - 1; left < right; ++left, --right) {
        const BYTE a = get(left);
        put(left, get(right));
        put(right, a);
    }
}

} // namespace

// Exchanges buffer rows i and rows - 1 - i for every i below rows / 2. Any depth.
// Results: 0 done, 1 null pixels. Caller's thread.
int CPixano::Flip(BYTE* pixels, LONG width, LONG height, WORD bits) {
    if (pixels == nullptr) {
        return PIXANO_NO_PIXELS;
    }
    const pixano::DibView view = pixano::makeView(pixels, width, height, bits);
    for (std::ptrdiff_t i = 0; i < view.rows / 2; ++i) {
        std::swap_ranges(view.row(i), view.row(i) + view.stride, view.row(view.rows - 1 - i));
    }
    return PIXANO_OK;
}

// Reverses the order of the pixels in every row; each pixel keeps its bytes in their order and the
// row's padding stays at its end. Depths 1, 2, 4 and whole bytes per pixel (8, 16, 24, 32 ...).
// Results: 0 done, 1 null pixels, 2 another depth (nothing changed). Caller's thread.
int CPixano::Mirror(BYTE* pixels, LONG width, LONG height, WORD bits) {
    if (pixels == nullptr) {
        return PIXANO_NO_PIXELS;
    }
    const pixano::DibView view = pixano::makeView(pixels, width, height, bits);
    if (bits == 1 || bits == 2 || bits == 4) {
        for (std::ptrdiff_t r = 0; r < view.rows; ++r) {
            mirrorPackedBits(view.row(r), view.width, bits);
        }
    } else if (bits != 0 && bits % 8 == 0) {
        mirrorWholeBytes(view, bits / 8);
    } else {
        return PIXANO_BAD_DEPTH;
    }
    return PIXANO_OK;
}
