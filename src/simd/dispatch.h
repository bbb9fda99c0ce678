// The vector instructions that the string loops use when the processor has
// them: SSE2 (the length scan) and AVX-512 with byte permutes (F, BW and
// VBMI) on x86-64. AVX-512 kernels are compiled for it one by one and
// called only when simd/dispatch.cpp chose them; SSE2 is compiled in
// wherever the compiler assumes it.
#pragma once

#include <algorithm>

#include "host/host.h"

#if defined(__x86_64__) && defined(__GNUC__)
#define QSTR_HAS_AVX512_PATHS 1
#define QSTR_TARGET_AVX512 __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi")))
#else
#define QSTR_HAS_AVX512_PATHS 0
#define QSTR_TARGET_AVX512
#endif

namespace qstr::simd {

using host::VectorIsa;

// The best tier built in that this processor, with this system saving its
// registers, runs.
inline VectorIsa processorVectorIsa() {
#if QSTR_HAS_AVX512_PATHS
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
      __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi")) {
    return VectorIsa::Avx512;
  }
#endif
#if defined(__SSE2__)
  return VectorIsa::Sse2;
#else
  return VectorIsa::Plain;
#endif
}

// The tier the loops use: the processor's best, no higher than the host's
// cap (which lets the tests run every tier on one machine). Decided on
// first use and kept for the life of the process.
inline VectorIsa vectorIsa() {
  static const VectorIsa isa = std::min(processorVectorIsa(), host::vectorIsaCap());
  return isa;
}

}  // namespace qstr::simd
