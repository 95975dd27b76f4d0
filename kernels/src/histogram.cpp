// HistogramEqualize and HistogramStretch: tone curves from the picture's histogram or from two ranges.
#include <kernels/pixano.h>

#include "byte_curve.h"
#include "dib_view.h"

#include <array>
#include <cstdint>

namespace {

using pixano::Curve;

// Histograms counted at a time: neighbouring pixels, which often share a value, count into different
// ones, so an increment seldom waits for the one before it.
constexpr int kHistogramSets = 4;

// Equalises each of the `Channels` bytes of a pixel through its own cumulative histogram, in single
// precision; `rounding` is added before truncation (0 at 8 bits, 0.5 at 24 bits).
template <int Channels>
void equalize(const pixano::DibView& view, float rounding) {
    std::array<std::array<std::array<uint64_t, 256>, Channels>, kHistogramSets> sets{};
    const std::ptrdiff_t rowBytes = view.width * Channels;
    constexpr std::ptrdiff_t kRound = Channels * kHistogramSets;
    for (std::ptrdiff_t r = 0; r < view.rows; ++r) {
        const BYTE* p = view.row(r);
        std::ptrdiff_t i = 0;
        for (; i + kRound <= rowBytes; i += kRound) {
            for (int s = 0; s < kHistogramSets; ++s) {
                for (int k = 0; k < Channels; ++k) {
                    ++sets[s][k][p[i + Channels * s + k]];
                }
            }
        }
        for (; i < rowBytes; i += Channels) {
            for (int k = 0; k < Channels; ++k) {
                ++sets[0][k][p[i + k]];
            }
        }
    }
    std::array<std::array<uint64_t, 256>, Channels> counts{};
    for (const auto& set : sets) {
        for (int k = 0; k < Channels; ++k) {
            for (int v = 0; v < 256; ++v) {
                counts[k][v] += set[k][v];
            }
        }
    }
    const float total = static_cast<float>(static_cast<int64_t>(view.width) * view.rows);
    std::array<Curve, Channels> curves;
    for (int k = 0; k < Channels; ++k) {
        float cdf = 0.0f;
        for (int v = 0; v < 256; ++v) {
            cdf += static_cast<float>(counts[k][v]) / total;
            curves[k][v] = pixano::truncateToByte(cdf * 255.0f + rounding);
        }
    }
    for (std::ptrdiff_t r = 0; r < view.rows; ++r) {
        if constexpr (Channels == 1) {
            pixano::applyCurve(view.row(r), rowBytes, curves[0]);
        } else {
            pixano::applyCurves3(view.row(r), rowBytes, curves);
        }
    }
}

} // namespace

// Spreads the values of an 8-bit picture, or each colour of a 24-bit one, over 0..255 by their
// cumulative histogram; padding is neither counted nor changed. Results: 0 (other depths are left as
// they are), 1 null pixels. Caller's thread.
int CPixano::HistogramEqualize(BYTE* pixels, LONG width, LONG height, WORD bits) {
    if (pixels == nullptr) {
        return PIXANO_NO_PIXELS;
    }
    const pixano::DibView view = pixano::makeView(pixels, width, height, bits);
    if (view.bytes() == 0) {
        return PIXANO_OK;
    }
    if (bits == 8) {
        equalize<1>(view, 0.0f);
    } else if (bits == 24) {
        equalize<3>(view, 0.5f);
    }
    return PIXANO_OK;
}

// Maps every byte of every row, padding included, linearly from inLow..inHigh onto outLow..outHigh in
// double precision, rounded and clamped to 0..255; equal input bounds divide by zero as IEEE does (a
// not-a-number gives 0). Results: 0 done, 1 null pixels, 2 depth not 8 or 24. Caller's thread.
int CPixano::HistogramStretch(BYTE* pixels, LONG width, LONG height, WORD bits, int inLow, int inHigh, int outLow,
                              int outHigh) {
    if (pixels == nullptr) {
        return PIXANO_NO_PIXELS;
    }
    if (bits != 8 && bits != 24) {
        return PIXANO_BAD_DEPTH;
    }
    const double outSpan = static_cast<double>(static_cast<int64_t>(outHigh) - outLow);
    const double inSpan = static_cast<double>(static_cast<int64_t>(inHigh) - inLow);
    Curve curve;
    for (int v = 0; v < 256; ++v) {
        const double x = static_cast<double>(static_cast<int64_t>(v) - inLow) * outSpan / inSpan + outLow;
        curve[v] = pixano::truncateToByte(x + 0.5);
    }
    const pixano::DibView view = pixano::makeView(pixels, width, height, bits);
    pixano::applyCurve(view.pixels, view.bytes(), curve);
    return PIXANO_OK;
}
