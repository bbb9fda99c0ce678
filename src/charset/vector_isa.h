// The vector instruction set that the string loops use when the processor
// has it: AVX-512 with byte permutes (F, BW and VBMI) on x86-64. Functions
// that use it are compiled for it one by one and called only after asking.
#pragma once

#if defined(__x86_64__) && defined(__GNUC__)
#define QSTR_HAS_AVX512_PATHS 1
#define QSTR_TARGET_AVX512 __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi")))
#else
#define QSTR_HAS_AVX512_PATHS 0
#define QSTR_TARGET_AVX512
#endif

namespace qstr::charset {

// Whether this processor, with this system saving its registers, runs the
// instruction set above; asked once. Always false where it is not built.
inline bool avx512Available() {
#if QSTR_HAS_AVX512_PATHS
  static const bool available = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                                __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi");
  return available;
#else
  return false;
#endif
}

}  // namespace qstr::charset
