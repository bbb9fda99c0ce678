// The benchmark program: Google Benchmark's runner and output, then a
// summary table of every row with the ratios against the peers.
#include <cstdio>
#include <map>

#include "rows.h"

namespace qstr::bench {
namespace {

// Collects the runs while the console reporter prints them.
class CollectingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run> &runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run &run : runs) collected.push_back(run);
  }
  std::vector<Run> collected;
};

}  // namespace

void addRow(const std::string &row, std::vector<Contender> contenders) {
  for (Contender &contender : contenders) {
    benchmark::RegisterBenchmark((row + "/" + contender.name).c_str(), contender.body);
  }
}

void printSummary(const std::vector<benchmark::BenchmarkReporter::Run> &runs) {
  // row → ordered (contender, ns per iteration)
  std::map<std::string, std::vector<std::pair<std::string, double>>> rows;
  std::vector<std::string> order;
  for (const auto &run : runs) {
    const std::string name = run.benchmark_name();
    const auto slash = name.rfind('/');
    if (slash == std::string::npos) continue;
    const std::string row = name.substr(0, slash);
    if (!rows.count(row)) order.push_back(row);
    rows[row].push_back({name.substr(slash + 1), run.error_occurred ? -1.0 : run.GetAdjustedRealTime()});
  }
  std::printf("\n%-44s %14s %14s %10s\n", "row / peer", "ours", "peer", "ratio");
  for (const std::string &row : order) {
    const auto &contenders = rows[row];
    const double ours = contenders.front().second;
    std::printf("%-44s %14s\n", row.c_str(), ours < 0 ? "FAILED" : "");
    for (std::size_t i = 1; i < contenders.size(); ++i) {
      const double peer = contenders[i].second;
      if (ours < 0 || peer < 0) {
        std::printf("  %-42s %14s\n", contenders[i].first.c_str(), "FAILED");
        continue;
      }
      std::printf("  %-42s %11.0f ns %11.0f ns %9.2fx\n", contenders[i].first.c_str(), ours, peer, peer / ours);
    }
    if (contenders.size() == 1 && ours >= 0) std::printf("  %-42s %11.0f ns\n", "(no peer)", ours);
  }
}

}  // namespace qstr::bench

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  qstr::bench::CollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  qstr::bench::printSummary(reporter.collected);
  benchmark::Shutdown();
  return 0;
}
