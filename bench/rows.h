// Benchmark rows: our function and its peers on the same input, measured in
// one run and reported side by side with the ratio peer time / our time
// (above 1: we are faster).
#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <string>
#include <vector>

namespace qstr::bench {

using Body = std::function<void(benchmark::State &)>;
// Settings applied to every contender's benchmark (arguments, unit, ...).
using Configure = std::function<void(benchmark::internal::Benchmark *)>;

struct Contender {
  std::string name;  // "ours", "iconv", "ICU", ...
  Body body;
};

// Registers one benchmark per contender, named "ROW/CONTENDER". The first
// contender is ours; every body checks its output once before timing. With
// arguments, each argument is a row of its own in the summary, named after
// the label the body sets (state.SetLabel) or else the argument.
void addRow(const std::string &row, std::vector<Contender> contenders, const Configure &configure = {});

// Prints the one-screen summary of every row measured.
void printSummary(const std::vector<benchmark::BenchmarkReporter::Run> &runs);

// Fails the benchmark (and so the row) when `ok` is false.
inline bool verify(benchmark::State &state, bool ok, const char *what) {
  if (!ok) state.SkipWithError(what);
  return ok;
}

}  // namespace qstr::bench
