// Instruction-set versions of a kernel loop: the compiler picks the body for the running processor.
#pragma once

#if defined(__GNUC__) && defined(__x86_64__) && defined(__ELF__)
#include <immintrin.h>
// A loop with a PIXANO_BYTE_PERMUTE body beside its PIXANO_BASELINE body.
#define PIXANO_HAVE_BYTE_PERMUTE 1
#define PIXANO_BASELINE __attribute__((target("default")))
// 64-byte registers with byte permutes (AVX-512 VBMI).
#define PIXANO_BYTE_PERMUTE __attribute__((target("avx512f,avx512bw,avx512vbmi")))
#else
#define PIXANO_BASELINE
#endif
