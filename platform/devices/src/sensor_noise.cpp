// Sensor noise tile: sums of four uniforms per sample from a keyed hash, rounded to whole levels, added with
// saturation.
#include "sensor_noise.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform::devices {
namespace {

uint64_t mix(uint64_t x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// Zero-mean noise of unit variance from a 64-bit hash: the sum of four 16-bit uniforms has mean 2 and
// variance 1/3.
double unitNoise(uint64_t hash)
{
    double sum = 0;
    for (int i = 0; i < 4; ++i)
        sum += double((hash >> (16 * i)) & 0xFFFF) / 65536.0;
    return (sum - 2.0) * std::sqrt(3.0);
}

} // namespace

void SensorNoise::configure(double sigma, uint32_t key)
{
    if (sigma == sigma_ && key == key_)
        return;
    sigma_ = sigma;
    key_ = key;
    raise_.clear();
    lower_.clear();
    if (!(sigma > 0))
        return;
    raise_.resize(kTileLength + kMaxRowBytes);
    lower_.resize(kTileLength + kMaxRowBytes);
    const uint64_t base = mix(key);
    for (std::size_t i = 0; i < raise_.size(); ++i) {
        const long level = std::lround(std::clamp(sigma * unitNoise(mix(base ^ i)), -255.0, 255.0));
        raise_[i] = BYTE(std::max(level, 0L));
        lower_[i] = BYTE(std::max(-level, 0L));
    }
}

// Saturating byte arithmetic: adding the raise part stops at 255, subtracting the lower part at 0, which
// is clamp(in + noise, 0, 255) since one of the two is 0.
void SensorNoise::addToRow(const BYTE* in, BYTE* out, std::size_t count, uint64_t frame, uint64_t row) const
{
    if (raise_.empty()) {
        std::memcpy(out, in, count);
        return;
    }
    const std::size_t offset = mix(mix(uint64_t(key_) ^ (frame << 32)) ^ row) % kTileLength;
    const BYTE* up = raise_.data() + offset;
    const BYTE* down = lower_.data() + offset;
    std::size_t i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= count; i += 16) {
        const __m128i value = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i raised = _mm_adds_epu8(value, _mm_loadu_si128(reinterpret_cast<const __m128i*>(up + i)));
        const __m128i noisy = _mm_subs_epu8(raised, _mm_loadu_si128(reinterpret_cast<const __m128i*>(down + i)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), noisy);
    }
#endif
    for (; i < count; ++i) {
        const int sum = in[i] + up[i] - down[i];
        out[i] = BYTE(sum < 0 ? 0 : sum > 255 ? 255 : sum);
    }
}

} // namespace platform::devices
