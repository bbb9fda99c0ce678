// The tool's files: an output replaces its file whole, keeping its mode and
// its links, or leaves everything as it was, also when the tool is stopped
// by a signal; an input that cannot be read names itself and the reason.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "files.h"
#include "run_qstr.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using qstr::cli::InputFile;
using qstr::cli::OutputFile;
using qstr::cli::TemporaryFile;
using qstr::test::readWhole;
using FilesTest = qstr::test::ScratchFolderTest;

// Every name under `folder`, sorted.
std::vector<std::string> names(const fs::path &folder) {
  std::vector<std::string> all;
  for (const auto &entry : fs::recursive_directory_iterator(folder)) {
    all.push_back(entry.path().lexically_relative(folder));
  }
  std::sort(all.begin(), all.end());
  return all;
}

int modeOf(const fs::path &path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? static_cast<int>(info.st_mode & 07777) : -1;
}

// What `body` returns, run in a child process as an ordinary user (root may
// write into any folder).
std::string asOrdinaryUser(const std::function<std::string()> &body) {
  int channel[2];
  if (pipe(channel) != 0) return "no pipe";
  const pid_t child = fork();
  if (child == 0) {
    const std::string result = geteuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0) ? body() : "no setuid";
    _exit(write(channel[1], result.data(), result.size()) < 0);
  }
  close(channel[1]);
  char buffer[512];
  const ssize_t got = read(channel[0], buffer, sizeof buffer);
  close(channel[0]);
  waitpid(child, nullptr, 0);
  return std::string(buffer, got > 0 ? static_cast<std::size_t>(got) : 0);
}

TEST_F(FilesTest, OutputReplacesItsOwnInputKeepingModeAndLink) {
  // The mode of the file replaced (0: none), whether the output is named
  // by a symbolic link to it, the mode of the result under umask 027.
  struct Case { int oldMode; bool throughLink; int mode; };
  const std::vector<Case> cases = {{0, false, 0640}, {0644, false, 0644}, {0600, false, 0600},
                                   {0755, false, 0755}, {0644, true, 0644},
                                   {0, true, 0640}};  // a link to a file still to be made
  const mode_t umaskBefore = umask(027);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case &c = cases[i];
    SCOPED_TRACE("case " + std::to_string(i));
    const fs::path folder = dir_ / std::to_string(i), target = folder / "target", link = folder / "link";
    fs::create_directory(folder);
    if (c.oldMode != 0) fs::permissions(write(std::to_string(i) + "/target", "old"), fs::perms(c.oldMode));
    if (c.throughLink) fs::create_symlink("target", link);
    const std::string path = c.throughLink ? link : target;
    // The temporary file is there before the input is read.
    OutputFile out(path);
    ASSERT_EQ(out.error(), "");
    std::string old;
    if (c.oldMode != 0) {
      EXPECT_TRUE(InputFile(path).readAll(old));
    }
    EXPECT_TRUE(out.write("new:" + old));
    EXPECT_TRUE(out.commit()) << out.error();
    EXPECT_EQ(readWhole(target), "new:" + old);
    EXPECT_EQ(modeOf(target), c.mode);
    EXPECT_EQ(fs::is_symlink(link), c.throughLink);
    const std::vector<std::string> expected = c.throughLink ? std::vector<std::string>{"link", "target"}
                                                           : std::vector<std::string>{"target"};
    EXPECT_EQ(names(folder), expected);
  }
  umask(umaskBefore);
}

TEST_F(FilesTest, FailuresNameTheFileAndTheReasonAndLeaveNothing) {
  fs::create_directory(dir_ / "folder");
  fs::create_directory(dir_ / "locked");
  fs::permissions(dir_, fs::perms(0755));
  fs::permissions(dir_ / "locked", fs::perms(0555));
  const auto readAll = [](const std::string &path) {
    InputFile in(path);
    std::string bytes;
    return in.readAll(bytes) ? std::string("read") : in.error();
  };
  const auto open = [](const std::string &path) { return OutputFile(path).error(); };
  const auto commitOnto = [](const std::string &path) {  // the target becomes a folder meanwhile
    OutputFile out(path);
    out.write("x");
    fs::create_directories(fs::path(path) / "inside");
    return out.commit() ? std::string("committed") : out.error();
  };
  struct Case {
    std::string path;
    std::function<std::string(const std::string &)> attempt;
    std::string reason;
    bool asUser = false;  // tried by an ordinary user
  };
  const std::vector<Case> cases = {
      {dir_, readAll, "Is a directory"},
      {dir_ / "missing", readAll, "No such file or directory"},
      {"/proc/self/mem", readAll, "Input/output error"},  // opens, but its first page cannot be read
      {dir_ / "missing" / "out", open, "No such file or directory"},
      {dir_ / "folder", open, "Is a directory"},
      {dir_ / "locked" / "out", open, "Permission denied", true},
      {dir_ / "blocked", commitOnto, "Is a directory"},
  };
  for (const Case &c : cases) {
    const std::string error = c.asUser ? asOrdinaryUser([&] { return c.attempt(c.path); }) : c.attempt(c.path);
    EXPECT_EQ(error, c.path + ": " + c.reason);
  }
  // No temporary file is left.
  EXPECT_EQ(names(dir_), (std::vector<std::string>{"blocked", "blocked/inside", "folder", "locked"}));
}

// What holds a file half written when the signal comes: the classes
// themselves in a child, or the tool with its input still open.
enum class Holder { kOutput, kTemporary, kConvertTool, kSortTool };

// In the child: opens the file the case holds and writes half of it.
// False when that fails.
bool holdHalfWritten(Holder holder, const fs::path &target) {
  static std::optional<OutputFile> out;
  static std::optional<TemporaryFile> temporary;
  const std::string half(1 << 20, 'x');
  if (holder == Holder::kTemporary) {
    return temporary.emplace().error().empty() && std::fputs(half.c_str(), temporary->file()) >= 0;
  }
  return out.emplace(target.string()).write(half);
}

// Starts the tool on a pipe it reads from; returns its pid and the pipe's
// writing end, left open so that the tool waits for more.
pid_t startTool(Holder holder, int signal, const fs::path &target, int *input) {
  int channel[2];
  if (pipe(channel) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    ::signal(signal, SIG_DFL);
    dup2(channel[0], 0);
    close(channel[0]);
    close(channel[1]);
    const std::string out = target.string();
    if (holder == Holder::kConvertTool) {
      execl(QSTR_BINARY, "qstr", "convert", "--from", "utf8", "--to", "utf16le", "-o", out.c_str(), nullptr);
    } else {
      execl(QSTR_BINARY, "qstr", "sort", "-S", "4K", "-o", out.c_str(), nullptr);
    }
    _exit(127);
  }
  close(channel[0]);
  *input = channel[1];
  return child;
}

// A child that holds an output or a temporary file (sort's runs) half
// written is stopped: it dies of the signal, its temporary files are gone,
// and the old file is as it was.
TEST_F(FilesTest, StopSignalsRemoveTemporaryFiles) {
  struct Case { int signal; Holder holder; };
  const std::vector<Case> cases = {
      {SIGINT, Holder::kOutput},      {SIGTERM, Holder::kOutput},      {SIGHUP, Holder::kOutput},
      {SIGINT, Holder::kTemporary},   {SIGHUP, Holder::kTemporary},    {SIGINT, Holder::kConvertTool},
      {SIGTERM, Holder::kConvertTool}, {SIGINT, Holder::kSortTool},    {SIGTERM, Holder::kSortTool},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case &c = cases[i];
    SCOPED_TRACE("case " + std::to_string(i));
    const fs::path folder = dir_ / std::to_string(i);
    fs::create_directory(folder);
    const fs::path target = write(std::to_string(i) + "/target", "old");
    setenv("TMPDIR", folder.c_str(), 1);
    int input = -1;
    pid_t child = -1;
    if (c.holder == Holder::kConvertTool || c.holder == Holder::kSortTool) {
      child = startTool(c.holder, c.signal, target, &input);
      ASSERT_GT(child, 0);
      std::string lines;
      for (int n = 0; n < 20000; ++n) lines += "line " + std::to_string(n * 7919 % 20000) + "\n";
      ASSERT_EQ(::write(input, lines.data(), lines.size()), static_cast<ssize_t>(lines.size()));
      for (int wait = 0; wait < 500 && names(folder).size() < 2; ++wait) usleep(10000);
    } else {
      int ready[2];
      ASSERT_EQ(pipe(ready), 0);
      child = fork();
      if (child == 0) {
        signal(c.signal, SIG_DFL);  // not left ignored by whoever runs the tests
        alarm(10);                  // a child the signal fails to stop dies of SIGALRM
        if (!holdHalfWritten(c.holder, target) || ::write(ready[1], "", 1) != 1) _exit(3);
        for (;;) pause();
      }
      close(ready[1]);
      char byte;
      ASSERT_EQ(read(ready[0], &byte, 1), 1) << "the child has its file open";
      close(ready[0]);
    }
    EXPECT_GE(names(folder).size(), 2u) << "a temporary file is there";
    kill(child, c.signal);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    if (input >= 0) close(input);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << "status " << status;
    EXPECT_EQ(names(folder), std::vector<std::string>{"target"});
    EXPECT_EQ(readWhole(target), "old");
  }
  unsetenv("TMPDIR");
}

}  // namespace
