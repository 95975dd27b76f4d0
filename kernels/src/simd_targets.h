// Instruction-set versions of a kernel loop: the compiler picks the body for the running processor.
#pragma once

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// GCC's function versions; clang (the fuzz build) takes the plain loops.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__ELF__)
#include <immintrin.h>
// A loop with a PIXANO_WIDE_VECTORS body beside its PIXANO_BASELINE body.
#define PIXANO_HAVE_WIDE_VECTORS 1
#define PIXANO_BASELINE __attribute__((target("default")))
// 64-byte registers with byte permutes (AVX-512 with VBMI).
#define PIXANO_WIDE_VECTORS __attribute__((target("avx512f,avx512bw,avx512vbmi")))
// One plain loop built for 64-byte, 32-byte and baseline vector registers.
#define PIXANO_VECTOR_CLONES __attribute__((target_clones("arch=x86-64-v4", "avx2", "default")))
#else
#define PIXANO_BASELINE
#define PIXANO_VECTOR_CLONES
#endif
