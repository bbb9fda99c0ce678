// The benchmark program: Google Benchmark's runner and output, then a
// summary table of every row with the ratios against the peers.
#include <cstdio>
#include <map>
#include <string>

#include "memory.h"
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

void addRow(const std::string &row, std::vector<Contender> contenders, const Configure &configure) {
  for (Contender &contender : contenders) {
    benchmark::internal::Benchmark *b = benchmark::RegisterBenchmark((row + "/" + contender.name).c_str(), contender.body);
    if (configure) configure(b);
  }
}

namespace {

// Real time per item when the run counts items, else per iteration, in ns.
// Item rates are taken over CPU time: items per iteration = rate × CPU time
// per iteration.
double nsPerUnit(const benchmark::BenchmarkReporter::Run &run) {
  const double perIteration = run.real_accumulated_time * 1e9 / static_cast<double>(run.iterations);
  const auto items = run.counters.find("items_per_second");
  if (items == run.counters.end()) return perIteration;
  const double itemsPerIteration = items->second.value * run.cpu_accumulated_time / static_cast<double>(run.iterations);
  return itemsPerIteration > 0 ? perIteration / itemsPerIteration : perIteration;
}

std::string formatTime(double ns) {
  char text[32];
  if (ns < 1e3) {
    std::snprintf(text, sizeof text, "%.1f ns", ns);
  } else if (ns < 1e6) {
    std::snprintf(text, sizeof text, "%.2f us", ns / 1e3);
  } else if (ns < 1e9) {
    std::snprintf(text, sizeof text, "%.2f ms", ns / 1e6);
  } else {
    std::snprintf(text, sizeof text, "%.3f s", ns / 1e9);
  }
  return text;
}

}  // namespace

void printSummary(const std::vector<benchmark::BenchmarkReporter::Run> &runs) {
  // row → ordered (contender, ns per item or iteration; -1 when it failed)
  std::map<std::string, std::vector<std::pair<std::string, double>>> rows;
  std::map<std::string, std::string> memoryLines;  // row → our peak resident memory, where watched
  std::map<std::string, std::map<std::string, double>> childPeaks;  // row → contender → MiB
  std::vector<std::string> order;
  for (const auto &run : runs) {
    const std::string &name = run.run_name.function_name;
    const auto slash = name.rfind('/');
    if (slash == std::string::npos) continue;
    std::string row = name.substr(0, slash);
    if (!run.report_label.empty()) {
      row += " (" + run.report_label + ")";
    } else if (!run.run_name.args.empty()) {
      row += " /" + run.run_name.args;
    }
    if (!rows.count(row)) order.push_back(row);
    rows[row].push_back({name.substr(slash + 1), run.error_occurred ? -1.0 : nsPerUnit(run)});
    if (const auto child = run.counters.find(kChildPeakRssCounter); child != run.counters.end()) {
      childPeaks[row][name.substr(slash + 1)] = child->second.value;
    }
    const auto peak = run.counters.find(kPeakRssCounter), growth = run.counters.find(kRssGrowthCounter);
    if (peak != run.counters.end() && growth != run.counters.end()) {
      char line[96];
      std::snprintf(line, sizeof line, "  %-44s %8.1f MiB, %.0f KiB above its start", "peak resident memory",
                    peak->second.value, growth->second.value);
      memoryLines[row] = line;
    }
  }
  std::printf("\n%-46s %11s %11s %8s\n", "row / peer (time per item, else per run)", "ours", "peer", "ratio");
  for (const std::string &row : order) {
    const auto &contenders = rows[row];
    const double ours = contenders.front().second;
    std::printf("%-46s %11s\n", row.c_str(), ours < 0 ? "FAILED" : "");
    for (std::size_t i = 1; i < contenders.size(); ++i) {
      const double peer = contenders[i].second;
      if (ours < 0 || peer < 0) {
        std::printf("  %-44s %11s %11s\n", contenders[i].first.c_str(), ours < 0 ? "" : formatTime(ours).c_str(),
                    peer < 0 ? "FAILED" : formatTime(peer).c_str());
        continue;
      }
      std::printf("  %-44s %11s %11s %7.2fx\n", contenders[i].first.c_str(), formatTime(ours).c_str(),
                  formatTime(peer).c_str(), peer / ours);
    }
    if (contenders.size() == 1 && ours >= 0) std::printf("  %-44s %11s\n", "(no peer)", formatTime(ours).c_str());
    if (memoryLines.count(row)) std::printf("%s\n", memoryLines[row].c_str());
    // Rows that run programs: each one's peak resident memory beside ours.
    const auto &peaks = childPeaks[row];
    const auto oursPeak = peaks.find(contenders.front().first);
    for (std::size_t i = 1; oursPeak != peaks.end() && i < contenders.size(); ++i) {
      const auto peer = peaks.find(contenders[i].first);
      if (peer == peaks.end()) continue;
      char ours[32], theirs[32];
      std::snprintf(ours, sizeof ours, "%.1f MiB", oursPeak->second);
      std::snprintf(theirs, sizeof theirs, "%.1f MiB", peer->second);
      std::printf("  %-44s %11s %11s %7.2fx\n", ("peak memory, " + contenders[i].first).c_str(), ours, theirs,
                  peer->second / oursPeak->second);
    }
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
