// Seeded sensor noise: a tile of zero-mean whole-level noise, read from a row- and frame-dependent offset.
#pragma once

#include <win32/types.h>

#include <cstdint>
#include <vector>

namespace platform::devices {

// Not thread-safe; one per renderer.
class SensorNoise {
public:
    // Noise of standard deviation `sigma` levels fixed by `key`; sigma 0 switches it off. Rebuilds the
    // tile only when either changed.
    void configure(double sigma, uint32_t key);

    // out[i] = clamp(in[i] + noise, 0, 255) for `count` bytes of output row `row` of frame `frame`, or a
    // plain copy while the noise is off. `count` is at most kMaxRowBytes.
    void addToRow(const BYTE* in, BYTE* out, std::size_t count, uint64_t frame, uint64_t row) const;

    static constexpr std::size_t kMaxRowBytes = 1 << 14;

private:
    static constexpr std::size_t kTileLength = 1 << 16;
    double sigma_ = 0;
    uint32_t key_ = 0;
    // The noise as its positive and negative parts (one of them 0 per sample), kTileLength + kMaxRowBytes
    // samples each, so that any offset below kTileLength fits a row.
    std::vector<BYTE> raise_;
    std::vector<BYTE> lower_;
};

} // namespace platform::devices
