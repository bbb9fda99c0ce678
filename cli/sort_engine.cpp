#include "sort_engine.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <thread>
#include <unistd.h>
#endif

#include "cli.h"

namespace qstr::cli::sorting {
namespace {

// ---- Memory that grows without being cleared ----
//
// Lines, keys and the index are written once and read many times: growing
// them must neither clear the new part nor keep two copies at once, which
// realloc of a large block avoids on Linux (it moves the pages).
template <typename T>
class RawArray {
 public:
  RawArray() = default;
  ~RawArray() { std::free(data_); }
  RawArray(const RawArray &) = delete;
  RawArray &operator=(const RawArray &) = delete;
  RawArray(RawArray &&other) noexcept { swap(other); }
  RawArray &operator=(RawArray &&other) noexcept {
    swap(other);
    return *this;
  }

  T *data() { return data_; }
  const T *data() const { return data_; }
  std::size_t size() const { return size_; }
  T &operator[](std::size_t i) { return data_[i]; }
  const T &operator[](std::size_t i) const { return data_[i]; }

  void reserve(std::size_t wanted) {
    if (wanted <= capacity_) return;
    const std::size_t capacity = std::max(wanted, capacity_ + capacity_ / 2 + 64);
    void *grown = std::realloc(data_, capacity * sizeof(T));
    if (grown == nullptr) throw std::bad_alloc();
    data_ = static_cast<T *>(grown);
    capacity_ = capacity;
  }
  // New elements are not initialised.
  void resize(std::size_t size) {
    reserve(size);
    size_ = size;
  }
  void push(const T &value) {
    if (size_ == capacity_) reserve(size_ + 1);
    data_[size_++] = value;
  }
  void clear() { size_ = 0; }
  void release() {
    std::free(data_);
    data_ = nullptr;
    size_ = capacity_ = 0;
  }

 private:
  void swap(RawArray &other) {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
  }
  T *data_ = nullptr;
  std::size_t size_ = 0, capacity_ = 0;
};

// ---- Two threads ----

// Runs both tasks, the second on a thread of its own where threads are
// available (this tool's Windows builds run them one after the other).
template <typename First, typename Second>
void runBoth(First first, Second second) {
#ifdef _WIN32
  first();
  second();
#else
  std::thread other(second);
  first();
  other.join();
#endif
}

// ---- Numbers in the held forms ----

uint8_t *putVarint(uint8_t *out, std::uint64_t value) {
  while (value >= 0x80) {
    *out++ = static_cast<uint8_t>(value | 0x80);
    value >>= 7;
  }
  *out++ = static_cast<uint8_t>(value);
  return out;
}

const uint8_t *getVarint(const uint8_t *in, std::uint64_t &value) {
  value = *in & 0x7F;
  for (unsigned shift = 7; *in++ & 0x80; shift += 7) value |= static_cast<std::uint64_t>(*in & 0x7F) << shift;
  return in;
}

constexpr std::size_t kVarintRoom = 10;

// ---- Records ----
//
// Chunks in memory and runs on disk hold a line as one record: the key's
// length (twice, plus one when the key is not exact), the key, the line's
// length and the line with its line feed. Comparing reads the front of a
// record; writing the line reads the rest of the same place.

uint8_t *putRecord(uint8_t *out, const uint8_t *key, std::size_t keyLength, bool inexact, const char *line,
                   std::size_t lineLength) {
  out = putVarint(out, std::uint64_t{keyLength} << 1 | (inexact ? 1 : 0));
  std::memcpy(out, key, keyLength);
  out = putVarint(out + keyLength, lineLength);
  std::memcpy(out, line, lineLength);
  return out + lineLength;
}

// The record at `in`; `end` is set past it.
SortRecord getRecord(const uint8_t *in, const uint8_t *&end) {
  std::uint64_t key = 0, length = 0;
  in = getVarint(in, key);
  const uint8_t *keyBytes = in;
  in = getVarint(in + (key >> 1), length);
  end = in + length;
  return {reinterpret_cast<const char *>(in), static_cast<std::size_t>(length), keyBytes,
          static_cast<uint32_t>(key >> 1), (key & 1) != 0};
}

std::size_t recordRoom(std::size_t keyLength, std::size_t lineLength) {
  return 2 * kVarintRoom + keyLength + lineLength;
}

// ---- Where sorted lines go ----

class Sink {
 public:
  virtual ~Sink() = default;
  // False after an error message.
  virtual bool put(const SortRecord &record) = 0;
  virtual bool finish() = 0;
};

constexpr std::size_t kWriteBuffer = 1 << 20;

// The output: each line as it was read.
class OutputSink : public Sink {
 public:
  explicit OutputSink(OutputFile &output) : output_(output) { buffer_.reserve(kWriteBuffer + 4096); }
  bool put(const SortRecord &record) override {
    buffer_.append(record.line, record.lineLength);
    return buffer_.size() < kWriteBuffer || flush();
  }
  bool finish() override { return flush(); }

 private:
  bool flush() {
    const bool written = output_.write(buffer_);
    buffer_.clear();
    if (!written) printError("sort", output_.error());
    return written;
  }
  OutputFile &output_;
  std::string buffer_;
};

// A run: records, so that merging compares without building keys again.
class RunSink : public Sink {
 public:
  explicit RunSink(TemporaryFile &file) : file_(file) {}
  bool put(const SortRecord &record) override {
    const std::size_t at = buffer_.size();
    buffer_.resize(at + recordRoom(record.keyLength, record.lineLength));
    const uint8_t *end = putRecord(buffer_.data() + at, record.key, record.keyLength, record.inexact, record.line,
                                   record.lineLength);
    buffer_.resize(static_cast<std::size_t>(end - buffer_.data()));
    ++records;
    return buffer_.size() < kWriteBuffer || flush();
  }
  bool finish() override { return flush() && (std::fflush(file_.file()) == 0 || fail()); }
  std::uint64_t records = 0;

 private:
  bool flush() {
    const bool written = std::fwrite(buffer_.data(), 1, buffer_.size(), file_.file()) == buffer_.size();
    buffer_.clear();
    return written || fail();
  }
  bool fail() {
    printError("sort", file_.path() + ": " + std::strerror(errno));
    return false;
  }
  TemporaryFile &file_;
  RawArray<uint8_t> buffer_;
};

// Reads a run's records back.
class RunReader {
 public:
  RunReader(TemporaryFile &file, std::size_t bufferBytes) : file_(file) {
    std::rewind(file_.file());
    buffer_.resize(bufferBytes);
  }
  // The next record in `current`; false at the end or after an error
  // message (failed() tells).
  bool next() {
    if (!fill(1)) return false;
    std::size_t at = 0;
    std::uint64_t key = 0, length = 0;
    const bool whole = varintAt(at, key) && (at += key >> 1, varintAt(at, length)) && fill(at += length);
    if (!whole) {
      if (!failed_) printError("sort", file_.path() + ": the run ends early");
      failed_ = true;
      return false;
    }
    const uint8_t *end = nullptr;
    current = getRecord(buffer_.data() + start_, end);
    start_ += at;
    return true;
  }
  bool failed() const { return failed_; }
  SortRecord current{};

 private:
  // The number at `at` bytes into the unread part, `at` moved past it.
  bool varintAt(std::size_t &at, std::uint64_t &value) {
    value = 0;
    for (unsigned shift = 0; shift < 64 && fill(at + 1); shift += 7) {
      const uint8_t byte = buffer_[start_ + at++];
      value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
      if ((byte & 0x80) == 0) return true;
    }
    return false;
  }
  // At least `wanted` bytes unread in the buffer; false when the file ends first.
  bool fill(std::size_t wanted) {
    if (end_ - start_ >= wanted) return true;
    std::memmove(buffer_.data(), buffer_.data() + start_, end_ - start_);
    end_ -= start_;
    start_ = 0;
    if (wanted > buffer_.size()) buffer_.resize(wanted);
    while (end_ < wanted && !atEnd_) {
      const std::size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_.file());
      end_ += got;
      if (got == 0) {
        atEnd_ = true;
        if (std::ferror(file_.file())) {
          printError("sort", file_.path() + ": " + std::strerror(errno));
          failed_ = true;
        }
      }
    }
    return end_ - start_ >= wanted;
  }
  TemporaryFile &file_;
  RawArray<uint8_t> buffer_;
  std::size_t start_ = 0, end_ = 0;
  bool atEnd_ = false, failed_ = false;
};

// Keeps the first of lines that compare equal (with -u), else every line.
class UniqueFilter {
 public:
  UniqueFilter(const Order &order, bool unique) : order_(order), unique_(unique) {}
  // Whether `record` goes out; it is remembered when it does. A record
  // that stays where it is until the next call needs no copy.
  bool pass(const SortRecord &record, bool copy) {
    if (!unique_) return true;
    if (have_ && order_.compare(last_, record) == 0) return false;
    have_ = true;
    last_ = record;
    if (copy) {
      lineCopy_.assign(record.line, record.lineLength);
      keyCopy_.assign(reinterpret_cast<const char *>(record.key), record.keyLength);
      last_.line = lineCopy_.data();
      last_.key = reinterpret_cast<const uint8_t *>(keyCopy_.data());
    }
    return true;
  }

 private:
  const Order &order_;
  bool unique_;
  bool have_ = false;
  SortRecord last_{};
  std::string lineCopy_, keyCopy_;
};

// A run's file and how many runs of runs it holds.
struct Run {
  std::unique_ptr<TemporaryFile> file;
  unsigned level = 0;
  std::uint64_t records = 0;
};

// How many runs one merge reads at once.
constexpr std::size_t kFanIn = 16;

// One thread's share of the lines of a block: their records and index
// entries, built apart and then appended to the chunk's.
struct Share {
  const char *begin = nullptr, *end = nullptr;
  RawArray<uint8_t> records;
  RawArray<uint64_t> entries;  // index entries, with offsets within `records`
  RawArray<uint8_t> key;
  std::uint64_t lines = 0;
  BadColumn bad = 0;  // in line `lines` (from 0) of the share
};

}  // namespace

// ---- The engine ----
//
// A chunk holds a record per line (`arena`) and the index the sort orders
// (`index`): per line, the first bytes of its key above the offset of its
// record, so that most comparisons need not look at the records. Records
// lie in input order, so their offsets break ties and the sort is stable.
// `input` holds the bytes read and not yet made records.
struct Engine::State {
  const Order &order;
  EngineSettings settings;
  Progress &progress;
  bool prefixes;  // whether index entries carry key prefixes

  RawArray<char> input;
  RawArray<uint8_t> arena;
  RawArray<uint64_t> index;
  std::vector<std::pair<std::size_t, std::size_t>> segments;  // of `index`, each sorted
  Share shares[2];

  std::uint64_t lines = 0;  // read so far, for messages
  std::vector<Run> runs;

  State(const Order &o, const EngineSettings &s, Progress &p)
      : order(o), settings(s), progress(p), prefixes(o.keysOrderAlone()) {}

  SortRecord recordAt(uint64_t entry) const {
    const uint8_t *end = nullptr;
    return getRecord(arena.data() + static_cast<uint32_t>(entry), end);
  }

  std::size_t used() const { return input.size() + arena.size() + index.size() * sizeof(uint64_t); }

  void buildShare(Share &share) const {
    share.records.clear();
    share.entries.clear();
    share.lines = 0;
    share.bad = 0;
    for (const char *line = share.begin; line < share.end; ++share.lines) {
      const char *newline = static_cast<const char *>(std::memchr(line, '\n', share.end - line));
      const std::size_t length = static_cast<std::size_t>(newline - line) + 1;
      const std::string_view text = lineText(line, length);
      share.key.resize(order.keyRoom(text));
      bool inexact = false;
      const std::size_t keyLength = order.buildKey(text, share.key.data(), inexact, share.bad);
      if (share.bad != 0) return;
      const std::size_t at = share.records.size();
      share.records.resize(at + recordRoom(keyLength, length));
      const uint8_t *end = putRecord(share.records.data() + at, share.key.data(), keyLength, inexact, line, length);
      share.records.resize(static_cast<std::size_t>(end - share.records.data()));
      const std::uint64_t prefix = prefixes ? Order::keyPrefix(share.key.data(), keyLength) : 0;
      share.entries.push(prefix << 32 | at);
      line = newline + 1;
    }
  }

  // Records for the complete lines of input[0, end), which then leave `input`.
  bool addLines(std::size_t end, const std::string &name) {
    const char *begin = input.data(), *finish = input.data() + end;
    const char *middle = finish;
    if (settings.threads > 1 && finish - begin >= (64 << 10)) {
      middle = static_cast<const char *>(std::memchr(begin + (finish - begin) / 2, '\n', finish - begin)) + 1;
    }
    shares[0].begin = begin, shares[0].end = middle;
    shares[1].begin = middle, shares[1].end = finish;
    if (middle < finish) {
      runBoth([&] { buildShare(shares[0]); }, [&] { buildShare(shares[1]); });
    } else {
      buildShare(shares[0]);
      buildShare(shares[1]);
    }
    for (const Share &share : shares) {
      if (share.bad != 0) {
        printError("sort", textPosition(name, lines + share.lines + 1, share.bad) + ": invalid UTF-8");
        return false;
      }
      lines += share.lines;
    }
    if (arena.size() + shares[0].records.size() + shares[1].records.size() > UINT32_MAX) {
      printError("sort", name + ": the lines up to line " + std::to_string(lines) +
                             " do not fit in 4 GiB: give a smaller --buffer-size");
      return false;
    }
    for (Share &share : shares) {
      if (share.entries.size() == 0) continue;
      const std::size_t base = arena.size();
      arena.resize(base + share.records.size());
      std::memcpy(arena.data() + base, share.records.data(), share.records.size());
      const std::size_t count = share.entries.size(), at = index.size();
      index.resize(at + count);
      for (std::size_t i = 0; i < count; ++i) index[at + i] = share.entries[i] + base;
    }
    std::memmove(input.data(), input.data() + end, input.size() - end);
    input.resize(input.size() - end);
    return true;
  }

  bool less(uint64_t a, uint64_t b) const {
    const auto prefixA = static_cast<uint32_t>(a >> 32), prefixB = static_cast<uint32_t>(b >> 32);
    if (prefixA != prefixB) return order.options().reverse ? prefixA > prefixB : prefixA < prefixB;
    const int order_ = order.ordered(recordAt(a), recordAt(b));
    return order_ != 0 ? order_ < 0 : static_cast<uint32_t>(a) < static_cast<uint32_t>(b);
  }

  // Sorts the index in segments, one per thread, merged as they are
  // written. (Smaller segments sort within the caches, but merging more of
  // them costs more than that saves.)
  void sortChunk() {
    const std::size_t count = index.size();
    const std::size_t threads = count >= (1u << 14) ? settings.threads : 1;
    const std::size_t size = std::max<std::size_t>(1, (count + threads - 1) / threads);
    segments.clear();
    for (std::size_t first = 0; first < count; first += size) segments.push_back({first, std::min(first + size, count)});
    std::atomic<std::size_t> next{0};
    auto sortSegments = [&] {
      for (std::size_t i; (i = next++) < segments.size();) {
        std::sort(index.data() + segments[i].first, index.data() + segments[i].second,
                  [this](uint64_t a, uint64_t b) { return less(a, b); });
      }
    };
    if (settings.threads > 1 && segments.size() > 1) {
      runBoth(sortSegments, sortSegments);
    } else {
      sortSegments();
    }
  }

  // Writes the sorted chunk: its segments merged.
  bool emitChunk(Sink &sink) {
    UniqueFilter unique(order, settings.unique);
    // A heap of the segments not yet written out, the lowest entry on top.
    auto after = [this](const std::pair<std::size_t, std::size_t> &a, const std::pair<std::size_t, std::size_t> &b) {
      return less(index[b.first], index[a.first]);
    };
    std::vector<std::pair<std::size_t, std::size_t>> heap(segments.begin(), segments.end());
    std::make_heap(heap.begin(), heap.end(), after);
    while (!heap.empty()) {
      std::pop_heap(heap.begin(), heap.end(), after);
      const SortRecord record = recordAt(index[heap.back().first++]);
      if (unique.pass(record, false) && !sink.put(record)) return false;
      if (heap.back().first < heap.back().second) {
        std::push_heap(heap.begin(), heap.end(), after);
      } else {
        heap.pop_back();
      }
    }
    return sink.finish();
  }

  bool newRun(Run &run) {
    run.file = std::make_unique<TemporaryFile>();
    if (!run.file->error().empty()) {
      printError("sort", run.file->error());
      return false;
    }
    return true;
  }

  // Sorts the chunk into a run and empties it.
  bool flushRun() {
    sortChunk();
    Run run;
    if (!newRun(run)) return false;
    RunSink sink(*run.file);
    if (!emitChunk(sink)) return false;
    run.records = sink.records;
    runs.push_back(std::move(run));
    arena.clear();
    index.clear();
    progress.reading(lines, runs.size());
    // Runs of runs: whenever the last kFanIn runs are of one level, they
    // become one run of the next, so that few files are open at once.
    while (runs.size() >= kFanIn) {
      const std::size_t from = runs.size() - kFanIn;
      if (!std::all_of(runs.begin() + from, runs.end(), [&](const Run &r) { return r.level == runs.back().level; })) {
        break;
      }
      Run merged;
      merged.level = runs.back().level + 1;
      if (!newRun(merged)) return false;
      RunSink mergedSink(*merged.file);
      if (!mergeRuns(from, runs.size(), mergedSink)) return false;
      merged.records = mergedSink.records;
      runs.erase(runs.begin() + static_cast<std::ptrdiff_t>(from), runs.end());
      runs.push_back(std::move(merged));
    }
    return true;
  }

  // Merges runs[from, to) into `sink`: the lowest record first, and of
  // equal ones the one from the earlier run.
  bool mergeRuns(std::size_t from, std::size_t to, Sink &sink) {
    const std::size_t count = to - from;
    const std::size_t bufferBytes = std::clamp<std::uint64_t>(settings.bufferSize / (count + 1), 16 << 10, 1 << 20);
    std::vector<std::unique_ptr<RunReader>> readers;
    std::uint64_t total = 0, done = 0;
    for (std::size_t i = from; i < to; ++i) {
      readers.push_back(std::make_unique<RunReader>(*runs[i].file, bufferBytes));
      total += runs[i].records;
    }
    // A heap of the readers that have a record, the lowest on top.
    auto after = [&](std::size_t a, std::size_t b) {
      const int order_ = order.ordered(readers[a]->current, readers[b]->current);
      return order_ != 0 ? order_ > 0 : a > b;
    };
    std::vector<std::size_t> heap;
    for (std::size_t i = 0; i < count; ++i) {
      if (readers[i]->next()) heap.push_back(i);
      if (readers[i]->failed()) return false;
    }
    std::make_heap(heap.begin(), heap.end(), after);
    UniqueFilter unique(order, settings.unique);
    while (!heap.empty()) {
      std::pop_heap(heap.begin(), heap.end(), after);
      RunReader &reader = *readers[heap.back()];
      if (unique.pass(reader.current, true) && !sink.put(reader.current)) return false;
      if (reader.next()) {
        std::push_heap(heap.begin(), heap.end(), after);
      } else {
        if (reader.failed()) return false;
        heap.pop_back();
      }
      if ((++done & 0xFFFF) == 0) progress.merging(done, total, count);
    }
    return sink.finish();
  }
};

Engine::Engine(const Order &order, const EngineSettings &settings, Progress &progress)
    : state_(std::make_unique<State>(order, settings, progress)) {}

Engine::~Engine() = default;

bool Engine::read(InputFile &in) {
  State &s = *state_;
  const std::uint64_t budget = s.settings.bufferSize;
  // Small reads for small budgets, so that a run holds about what the
  // budget allows.
  const std::size_t block = static_cast<std::size_t>(std::clamp<std::uint64_t>(budget / 8, 16, 1 << 20));
  // Memory that records and index take per byte of input, as seen so far
  // (4 until lines have been seen).
  double perByte = 4.0;
  std::uint64_t recordsOf = 0;  // input bytes that the chunk's records hold
  for (;;) {
    if (s.index.size() > 0) {
      perByte = static_cast<double>(s.arena.size() + s.index.size() * sizeof(uint64_t)) / static_cast<double>(recordsOf);
      if (static_cast<double>(s.used()) + static_cast<double>(block) * perByte > static_cast<double>(budget)) {
        if (!s.flushRun()) return false;
        recordsOf = 0;
      }
    }
    const std::size_t before = s.input.size();
    s.input.reserve(before + block + 1);
    const std::size_t got = in.read(reinterpret_cast<uint8_t *>(s.input.data() + before), block);
    if (got == 0 && !in.error().empty()) {
      printError("sort", in.error());
      return false;
    }
    s.input.resize(before + got);
    if (got == 0) {
      // A last line without a line feed gets one, as every line is written.
      if (s.input.size() > 0 && s.input[s.input.size() - 1] != '\n') s.input.push('\n');
      return s.input.size() == 0 || s.addLines(s.input.size(), in.name());
    }
    // Lines complete so far: up to the last line feed read.
    const char *data = s.input.data();
    std::size_t end = s.input.size();
    while (end > before && data[end - 1] != '\n') --end;
    if (end > before) {
      if (!s.addLines(end, in.name())) return false;
      recordsOf += end;
    }
    s.progress.reading(s.lines, s.runs.size());
  }
}

bool Engine::write(OutputFile &output) {
  State &s = *state_;
  OutputSink sink(output);
  if (s.runs.empty()) {
    s.sortChunk();
    return s.emitChunk(sink);
  }
  if (s.index.size() > 0 && !s.flushRun()) return false;
  s.input.release();
  s.arena.release();
  s.index.release();
  for (Share &share : s.shares) share.records.release(), share.entries.release(), share.key.release();
  return s.mergeRuns(0, s.runs.size(), sink);
}

// ---- Settings ----

std::uint64_t defaultBufferSize() {
  std::uint64_t physical = 0;
#ifdef _WIN32
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (GlobalMemoryStatusEx(&status)) physical = status.ullTotalPhys;
#else
  const long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGESIZE);
  if (pages > 0 && pageSize > 0) physical = static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
#endif
  if (physical == 0) return 256ull << 20;
  return std::min<std::uint64_t>(physical / 4, 1ull << 30);
}

unsigned defaultThreads() {
#ifdef _WIN32
  return 1;
#else
  return std::thread::hardware_concurrency() >= 2 ? 2 : 1;
#endif
}

// ---- Progress ----

Progress::Progress() : start_(std::chrono::steady_clock::now()), last_(start_) {
#ifdef _WIN32
  enabled_ = _isatty(_fileno(stderr)) != 0;
#else
  enabled_ = isatty(fileno(stderr)) != 0;
#endif
}

Progress::~Progress() { finish(); }

void Progress::reading(std::uint64_t lines, std::size_t runs) {
  if (!enabled_) return;
  const std::string written = runs == 0 ? "" : runs == 1 ? ", 1 run written" : ", " + std::to_string(runs) + " runs written";
  show(std::to_string(lines) + " lines read" + written);
}

void Progress::merging(std::uint64_t done, std::uint64_t total, std::size_t runs) {
  if (!enabled_) return;
  show("merging " + std::to_string(runs) + " runs: " + std::to_string(total == 0 ? 100 : done * 100 / total) + "%");
}

void Progress::show(const std::string &text) {
  const auto now = std::chrono::steady_clock::now();
  if (now - start_ < std::chrono::seconds(1) || now - last_ < std::chrono::milliseconds(200)) return;
  last_ = now;
  std::string line = "\rqstr sort: " + text;
  const std::size_t length = line.size() - 1;
  if (length < shown_) line += std::string(shown_ - length, ' ');
  shown_ = length;
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
}

void Progress::finish() {
  if (shown_ == 0) return;
  std::fputs(("\r" + std::string(shown_, ' ') + "\r").c_str(), stderr);
  std::fflush(stderr);
  shown_ = 0;
}

}  // namespace qstr::cli::sorting
