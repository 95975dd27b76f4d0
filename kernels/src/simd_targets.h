// Instruction-set versions of a kernel loop: the compiler picks the body for the running processor.
#pragma once

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// GCC's function versions; clang (the fuzz build) takes the plain loops, and so does the thread-checked
// build: GCC instruments the versions' resolvers, which the loader runs while relocating the library,
// before the checker's runtime is set up, and the first one crashes the program.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__ELF__) && \
    !defined(__SANITIZE_THREAD__)
// GCC 12 takes the intrinsics' deliberately undefined registers for uninitialised values.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop
// A loop with a PIXANO_WIDE_VECTORS body beside its PIXANO_BASELINE body.
#define PIXANO_HAVE_WIDE_VECTORS 1
#define PIXANO_BASELINE __attribute__((target("default")))
// 64-byte registers with byte permutes (AVX-512 with VBMI).
#define PIXANO_WIDE_VECTORS __attribute__((target("avx512f,avx512bw,avx512vbmi")))
// One plain loop built for 64-byte, 32-byte and baseline vector registers.
#define PIXANO_VECTOR_CLONES __attribute__((target_clones("arch=x86-64-v4", "avx2", "default")))

#include <cstddef>

namespace pixano {

// The lanes of the 64 bytes from `i` that are still below `count`.
PIXANO_WIDE_VECTORS inline __mmask64 lanesBelow(std::ptrdiff_t count, std::ptrdiff_t i) {
    const std::ptrdiff_t left = count - i;
    return left >= 64 ? ~__mmask64{0} : (__mmask64{1} << left) - 1;
}

} // namespace pixano
#else
#define PIXANO_BASELINE
#define PIXANO_VECTOR_CLONES
#endif
