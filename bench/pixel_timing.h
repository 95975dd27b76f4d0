// Pictures and timing shared by the pixel kernel benchmarks: each kernel as a ratio to a memcpy of its buffer.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <vector>

namespace pixelbench {

constexpr int kWidth = 1280;
constexpr int kHeight = 1024;
// Neither depth needs row padding at this width.
constexpr std::size_t kColourBytes = static_cast<std::size_t>(kWidth) * 3 * kHeight;
constexpr std::size_t kGreyBytes = static_cast<std::size_t>(kWidth) * kHeight;

using Picture = std::vector<unsigned char>;

// A camera-like 24-bit picture: smooth gradients in each colour with a little noise.
inline const Picture& colourScene() {
    static const Picture scene = [] {
        Picture pixels(kColourBytes);
        uint32_t noise = 12345;
        for (int r = 0; r < kHeight; ++r) {
            for (int c = 0; c < kWidth; ++c) {
                noise = noise * 1664525u + 1013904223u;
                const int jitter = static_cast<int>(noise >> 28) - 8;
                unsigned char* p = &pixels[(static_cast<std::size_t>(r) * kWidth + c) * 3];
                p[0] = static_cast<unsigned char>((c * 255 / kWidth + jitter) & 0xFF);
                p[1] = static_cast<unsigned char>((r * 255 / kHeight + jitter) & 0xFF);
                p[2] = static_cast<unsigned char>(((r + c) * 255 / (kWidth + kHeight) + jitter) & 0xFF);
            }
        }
        return pixels;
    }();
    return scene;
}

// The green bytes of the colour scene as an 8-bit picture.
inline const Picture& greyScene() {
    static const Picture scene = [] {
        Picture grey(kGreyBytes);
        for (std::size_t i = 0; i < kGreyBytes; ++i) {
            grey[i] = colourScene()[3 * i + 1];
        }
        return grey;
    }();
    return scene;
}

// Runs `reference()` and then `measured()` each iteration, in a benchmark with UseManualTime: the time
// is measured's, and the counter `ratio` is its ratio to reference's in the same run.
template <typename Reference, typename Measured>
void timeAgainst(benchmark::State& state, const char* ratio, Reference reference, Measured measured) {
    using Clock = std::chrono::steady_clock;
    Clock::duration referenceTime{};
    Clock::duration measuredTime{};
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        reference();
        benchmark::ClobberMemory();
        const Clock::time_point between = Clock::now();
        measured();
        benchmark::ClobberMemory();
        const Clock::time_point done = Clock::now();
        referenceTime += between - start;
        measuredTime += done - between;
        state.SetIterationTime(std::chrono::duration<double>(done - between).count());
    }
    state.counters[ratio] = static_cast<double>(measuredTime.count()) / static_cast<double>(referenceTime.count());
}

// Times `kernel(BYTE* work)` on a fresh copy of `original` each iteration against the memcpy that makes
// the copy (the counter x_memcpy).
template <typename Kernel>
void timeAgainstMemcpy(benchmark::State& state, const Picture& original, Kernel kernel) {
    Picture work(original.size());
    timeAgainst(
        state, "x_memcpy", [&] { std::memcpy(work.data(), original.data(), original.size()); },
        [&] { kernel(work.data()); });
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(original.size()));
}

} // namespace pixelbench
