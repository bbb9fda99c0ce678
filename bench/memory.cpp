#include "memory.h"

#include <fstream>
#include <string>

namespace qstr::bench {
namespace {

// A "Name:   1234 kB" line of /proc/self/status, in KiB; -1 when missing.
long statusKiB(const std::string &name) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.compare(0, name.size() + 1, name + ":") == 0) return std::stol(line.substr(name.size() + 1));
  }
  return -1;
}

// Linux restarts the peak (VmHWM) at the current size on writing 5 to
// clear_refs.
bool restartPeak() {
  std::ofstream clearRefs("/proc/self/clear_refs");
  clearRefs << "5";
  clearRefs.flush();
  return static_cast<bool>(clearRefs);
}

}  // namespace

ResidentMemoryWatch::ResidentMemoryWatch() : startKiB_(statusKiB("VmRSS")), peakRestarted_(restartPeak()) {}

void ResidentMemoryWatch::report(benchmark::State &state) const {
  const long peakKiB = statusKiB("VmHWM");
  if (peakKiB < 0 || startKiB_ < 0) return;
  state.counters[kPeakRssCounter] = static_cast<double>(peakKiB) / 1024.0;
  // Without a restarted peak, the peak may be older than this run.
  if (peakRestarted_) state.counters[kRssGrowthCounter] = static_cast<double>(peakKiB - startKiB_);
}

}  // namespace qstr::bench
