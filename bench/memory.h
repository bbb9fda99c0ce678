// The resident memory of the benchmark process, to show that a streaming
// conversion needs no more memory for a longer text.
#pragma once

#include <benchmark/benchmark.h>

namespace qstr::bench {

// Watches the process's peak resident memory from its construction on and
// reports, as counters of `state`, the peak and how far it rose above the
// resident memory at the start.
class ResidentMemoryWatch {
 public:
  ResidentMemoryWatch();
  void report(benchmark::State &state) const;

 private:
  long startKiB_ = -1;
  bool peakRestarted_ = false;
};

// The counter names, for the summary.
inline constexpr const char *kPeakRssCounter = "peak_RSS_MiB";
inline constexpr const char *kRssGrowthCounter = "RSS_growth_KiB";
// The peak resident memory of a child process a row runs (every contender
// of the row reports its own), in MiB.
inline constexpr const char *kChildPeakRssCounter = "child_peak_RSS_MiB";

}  // namespace qstr::bench
