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
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "files.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using qstr::cli::InputFile;
using qstr::cli::OutputFile;
using FilesTest = qstr::test::ScratchFolderTest;

std::string readWhole(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> names(const fs::path &folder) {
  std::vector<std::string> all;
  for (const auto &entry : fs::recursive_directory_iterator(folder)) {
    all.push_back(entry.path().lexically_relative(folder));
  }
  std::sort(all.begin(), all.end());
  return all;
}

// The old mode (0: no file), whether a link names it, the new mode under
// umask 027; the temporary file is made before the input is read.
TEST_F(FilesTest, OutputReplacesItsOwnInputKeepingModeAndLink) {
  struct Case { int oldMode; bool throughLink; int mode; };
  const std::vector<Case> cases = {{0, false, 0640}, {0755, false, 0755}, {0600, true, 0600},
                                   {0, true, 0640}};  // a link to a file still to be made
  const mode_t umaskBefore = umask(027);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case &c = cases[i];
    const fs::path folder = dir_ / std::to_string(i), target = folder / "target", link = folder / "link";
    fs::create_directory(folder);
    if (c.oldMode != 0) fs::permissions(write(std::to_string(i) + "/target", "old"), fs::perms(c.oldMode));
    if (c.throughLink) fs::create_symlink("target", link);
    const std::string path = c.throughLink ? link : target;
    OutputFile out(path);
    std::string old;
    if (c.oldMode != 0) EXPECT_TRUE(InputFile(path).readAll(old));
    EXPECT_TRUE(out.write("new:" + old));
    EXPECT_TRUE(out.commit()) << out.error();
    EXPECT_EQ(readWhole(target), "new:" + old) << i;
    EXPECT_EQ(static_cast<int>(fs::status(target).permissions()), c.mode) << i;
    EXPECT_EQ(names(folder).size(), c.throughLink ? 2u : 1u) << "the link stays; no temporary file is left";
    EXPECT_EQ(fs::is_symlink(link), c.throughLink) << i;
  }
  umask(umaskBefore);
}

TEST_F(FilesTest, FailuresNameTheFileAndTheReasonAndLeaveNothing) {
  const auto readAll = [](const std::string &path) {
    InputFile in(path);
    std::string bytes;
    return in.readAll(bytes) ? std::string("read") : in.error();
  };
  const std::string folder = (dir_ / "folder").string(), missing = (dir_ / "missing").string();
  fs::create_directory(folder);
  EXPECT_EQ(readAll(folder), folder + ": Is a directory");
  EXPECT_EQ(readAll(missing), missing + ": No such file or directory");
  EXPECT_EQ(readAll("/proc/self/mem"), "/proc/self/mem: Input/output error");  // opens; the first page is unreadable
  EXPECT_EQ(OutputFile(missing + "/out").error(), missing + "/out: No such file or directory");
  EXPECT_EQ(OutputFile(folder).error(), folder + ": Is a directory");
  OutputFile out(missing);  // a folder takes the output's place before the commit
  EXPECT_TRUE(out.write("x"));
  fs::create_directories(missing + "/inside");
  EXPECT_FALSE(out.commit());
  EXPECT_EQ(out.error(), missing + ": Is a directory");
  EXPECT_EQ(names(dir_), (std::vector<std::string>{"folder", "missing", "missing/inside"}));
}

// The tool stopped with its output and sort's runs half written dies of the
// signal, leaving the old file and no temporary file.
TEST_F(FilesTest, StopSignalsRemoveTemporaryFiles) {
  const std::vector<std::pair<int, const char *>> cases = {{SIGINT, "sort"}, {SIGHUP, "sort"}, {SIGTERM, "convert"}};
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const auto [signal, command] = cases[i];
    const fs::path folder = dir_ / std::to_string(i);
    fs::create_directory(folder);
    const std::string target = write(std::to_string(i) + "/target", "old").string();
    setenv("TMPDIR", folder.c_str(), 1);
    int input[2];
    ASSERT_EQ(pipe(input), 0);
    const pid_t child = fork();
    if (child == 0) {
      ::signal(signal, SIG_DFL);  // not left ignored by whoever runs the tests
      alarm(10);                  // a child the signal fails to stop dies of SIGALRM
      dup2(input[0], 0);
      const char *to = target.c_str();
      if (command == std::string("sort")) execl(QSTR_BINARY, "qstr", "sort", "-S", "4K", "-o", to, nullptr);
      execl(QSTR_BINARY, "qstr", "convert", "--from", "utf8", "--to", "utf16le", "-o", to, nullptr);
      _exit(127);
    }
    close(input[0]);
    std::string lines;
    for (int n = 0; n < 20000; ++n) lines += "line " + std::to_string(n * 7919 % 20000) + "\n";
    ASSERT_EQ(::write(input[1], lines.data(), lines.size()), static_cast<ssize_t>(lines.size()));
    const std::size_t held = command == std::string("sort") ? 3 : 2;  // the output's and a run's
    for (int wait = 0; wait < 500 && names(folder).size() < held; ++wait) usleep(10000);
    EXPECT_GE(names(folder).size(), held) << "the temporary files are there";
    kill(child, signal);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    close(input[1]);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << i << " status " << status;
    EXPECT_EQ(names(folder), std::vector<std::string>{"target"}) << i;
    EXPECT_EQ(readWhole(target), "old") << i;
  }
  unsetenv("TMPDIR");
}

}  // namespace
