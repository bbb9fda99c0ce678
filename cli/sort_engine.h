// The machinery of qstr sort: lines read into a memory budget with their
// keys, sorted there (on two threads where there are two), and, when the
// input does not fit, written as sorted runs to temporary files and merged.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "files.h"
#include "sort_order.h"

namespace qstr::cli::sorting {

struct EngineSettings {
  std::uint64_t bufferSize = 0;  // bytes of lines, keys and their index held in memory at once
  bool unique = false;           // keep the first of lines that compare equal
  unsigned threads = 1;          // 1 or 2
};

// Threads the sort uses: 2 where the machine has two processors or more
// and the build has threads, else 1.
unsigned defaultThreads();

// The default --buffer-size: a quarter of physical memory, at most 1 GiB.
std::uint64_t defaultBufferSize();
// The most the buffer may be: offsets within it are 32 bits.
inline constexpr std::uint64_t kLargestBuffer = 3ull << 30;

// What the sort is doing, on standard error while it is a terminal and
// once the work has taken a second; nothing otherwise.
class Progress {
 public:
  Progress();
  ~Progress();
  void reading(std::uint64_t lines, std::size_t runs);
  void merging(std::uint64_t done, std::uint64_t total, std::size_t runs);
  // Clears the line shown, if any.
  void finish();

 private:
  void show(const std::string &text);
  bool enabled_ = false;
  std::chrono::steady_clock::time_point start_, last_;
  std::size_t shown_ = 0;  // characters on the line now
};

class Engine {
 public:
  Engine(const Order &order, const EngineSettings &settings, Progress &progress);
  ~Engine();
  Engine(const Engine &) = delete;
  Engine &operator=(const Engine &) = delete;

  // Reads every line of the input. False after an error message: a read
  // error, invalid UTF-8, a temporary file that cannot be written.
  bool read(InputFile &input);
  // Writes the lines in order to `output` (not committed). False after an
  // error message.
  bool write(OutputFile &output);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace qstr::cli::sorting
