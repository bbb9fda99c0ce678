// qstr sort as a program against the system's sort in en_US.UTF-8: both
// run as child processes on the same file of generated words (made once,
// in a temporary folder), timed by the wall clock, their peak resident
// memory read from /proc while they run.
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "host/profile.h"
#include "inputs.h"
#include "memory.h"
#include "qstr14/charset.h"
#include "qstr14/collate.h"
#include "rows.h"
#include "words.h"

extern char **environ;

#ifndef QSTR14_QSTR_BINARY
#define QSTR14_QSTR_BINARY "qstr"
#endif

namespace qstr::bench {
namespace {

// The folder of the word files and the outputs, removed at exit.
class Folder {
 public:
  Folder() {
    const char *tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/qstr14-sort-bench-XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~Folder() {
    for (const std::string &file : files_) std::remove(file.c_str());
    if (!path_.empty()) rmdir(path_.c_str());
  }
  // A file of the folder, removed with it.
  std::string file(const std::string &name) {
    files_.push_back(path_ + "/" + name);
    return files_.back();
  }
  bool ok() const { return !path_.empty(); }
  const std::string &path() const { return path_; }

 private:
  std::string path_;
  std::vector<std::string> files_;
};

Folder &folder() {
  static Folder instance;
  return instance;
}

// The file of `count` Western words, written the first time it is asked for.
const std::string &wordFile(std::size_t count) {
  static std::map<std::size_t, std::string> made;
  auto found = made.find(count);
  if (found == made.end()) {
    useMachine("en_US");
    std::string path = folder().file("words-" + std::to_string(count) + ".txt");
    if (!writeWords(Alphabet::Western, count, path)) path.clear();
    host::resetHostProfile();
    found = made.emplace(count, path).first;
  }
  return found->second;
}

struct ChildRun {
  bool ok = false;
  double seconds = 0;
  double peakMiB = 0;
  std::string error;
};

// Runs `args` with standard input from `in`, output to `out`, standard
// error to `err`, and `environment` added to this process's.
ChildRun runChild(const std::vector<std::string> &args, const std::vector<std::pair<std::string, std::string>> &environment,
                  const std::string &in, const std::string &out, const std::string &err) {
  ChildRun result;
  // Spawned: no copy of this process's page tables for a child that
  // replaces itself at once.
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 0, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<std::string> variables;
  for (char **variable = environ; *variable != nullptr; ++variable) {
    const std::string text = *variable;
    const bool replaced = std::any_of(environment.begin(), environment.end(),
                                      [&](const auto &pair) { return text.rfind(pair.first + "=", 0) == 0; });
    if (!replaced) variables.push_back(text);
  }
  for (const auto &[name, value] : environment) variables.push_back(name + "=" + value);
  std::vector<char *> argv, envp;
  for (const std::string &arg : args) argv.push_back(const_cast<char *>(arg.c_str()));
  argv.push_back(nullptr);
  for (const std::string &variable : variables) envp.push_back(const_cast<char *>(variable.c_str()));
  envp.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  const int failure = posix_spawnp(&child, argv[0], &files, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&files);
  if (failure != 0) {
    result.error = args[0] + ": " + std::strerror(failure);
    return result;
  }
  // The child's own peak, read while it runs: the peak its resource usage
  // reports at the end also counts this process's pages, which the child
  // shared until exec.
  int status = 0;
  long peakKiB = 0;
  const std::string statusFile = "/proc/" + std::to_string(child) + "/status";
  for (;;) {
    const pid_t done = waitpid(child, &status, WNOHANG);
    if (done == child) break;
    if (done < 0) {
      result.error = std::strerror(errno);
      return result;
    }
    std::ifstream childStatus(statusFile);
    for (std::string line; std::getline(childStatus, line);) {
      if (line.rfind("VmHWM:", 0) == 0) peakKiB = std::max(peakKiB, std::stol(line.substr(6)));
    }
    usleep(2000);
  }
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  result.peakMiB = static_cast<double>(peakKiB) / 1024.0;
  result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (!result.ok) {
    std::ifstream errors(err);
    std::getline(errors, result.error);
    result.error = args[0] + " failed (status " + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) +
                   "): " + result.error;
  }
  return result;
}

std::vector<std::string> linesOf(const std::string &path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

std::vector<uint16_t> nativesOf(const std::string &utf8) {
  std::vector<uint16_t> natives;
  for (char16_t unit : utf16OfUtf8(utf8)) natives.push_back(KZcharUnicodeToQX6x(unit));
  natives.push_back(0);
  return natives;
}

// The output holds the input's lines, each following line sorting after
// or with the one before by the comparison of language 0.
bool sortedWell(const std::string &input, const std::string &output) {
  std::vector<std::string> in = linesOf(input), out = linesOf(output);
  if (in.size() != out.size()) return false;
  useMachine("en_US");
  bool ordered = true;
  for (std::size_t i = 1; ordered && i < out.size(); ++i) {
    ordered = QxQS6Cmpcoll(nativesOf(out[i - 1]).data(), nativesOf(out[i]).data(), 0, 0, 0) <= 0;
  }
  host::resetHostProfile();
  std::sort(in.begin(), in.end());
  std::sort(out.begin(), out.end());
  return ordered && in == out;
}

// Times one program on the word file: the wall time of each run, and the
// peak memory of the last.
void timeChild(benchmark::State &state, const std::vector<std::string> &args,
               const std::vector<std::pair<std::string, std::string>> &environment, std::size_t words, bool check) {
  const std::string &input = wordFile(words);
  if (!verify(state, folder().ok() && !input.empty(), "cannot write the word file")) return;
  const std::string output = folder().file("sorted.txt"), errors = folder().file("errors.txt");
  ChildRun run;
  for (auto _ : state) {
    run = runChild(args, environment, input, output, errors);
    if (!run.ok) break;
    state.SetIterationTime(run.seconds);
  }
  if (!run.ok) {
    state.SkipWithError(run.error.c_str());
    return;
  }
  if (check && !verify(state, sortedWell(input, output), "qstr sort's output is not the input in order")) return;
  state.counters[kChildPeakRssCounter] = run.peakMiB;
  std::remove(output.c_str());
}

std::vector<std::pair<std::string, std::string>> childEnvironment() {
  return {{"LC_ALL", "en_US.UTF-8"}, {"QSTR14_REGISTRY", ":memory:"}, {"TMPDIR", folder().path()}};
}

void oursBody(benchmark::State &state, std::size_t words) {
  // The order is checked on the smaller file only: it takes as long as the sort.
  timeChild(state, {QSTR14_QSTR_BINARY, "sort", "--lang", "US"}, childEnvironment(), words, words <= 1000000);
}

void systemSortBody(benchmark::State &state, std::size_t words) {
  const bool haveLocale = collateIn("en_US.UTF-8");
  std::setlocale(LC_COLLATE, "C");
  if (!haveLocale) {
    state.SkipWithError("skipped: locale en_US.UTF-8 missing and localedef could not make it (needs root)");
    return;
  }
  timeChild(state, {"sort"}, childEnvironment(), words, false);
}

void addSortRow(const char *row, std::size_t words, int iterations) {
  auto configure = [iterations](benchmark::internal::Benchmark *b) {
    b->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(iterations);
  };
  addRow(row,
         {{"ours", [words](benchmark::State &state) { oursBody(state, words); }},
          {"GNU sort, en_US.UTF-8", [words](benchmark::State &state) { systemSortBody(state, words); }}},
         configure);
}

[[maybe_unused]] const bool registered = [] {
  addSortRow("qstr sort 1,000,000 words, --lang US", 1000000, 3);
  // The long row: about a minute in all, most of it the system's sort.
  addSortRow("qstr sort 20,000,000 words, --lang US", 20000000, 1);
  return true;
}();

}  // namespace
}  // namespace qstr::bench
