// Crash safety of the registry file: a writer killed at any moment leaves a
// file that parses and holds the last value it stored or the one before.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <random>

#include "fixture.h"
#include "regdb/format.h"
#include "regdb/tree.h"

namespace {

using namespace registry_test;
namespace reg = qstr::regdb;

constexpr const char *kKeyPath = "HKEY_CURRENT_USER\\Software\\Crash";

// The counter stored in the file, read straight from its text; -1 when the
// file does not parse or holds no counter.
long storedCounter(const fs::path &path) {
  reg::Tree tree;
  reg::ParseError error;
  if (!reg::parseRegistryText(readFile(path), tree, error)) return -1;
  const reg::Key *key = tree.find(kKeyPath);
  if (key == nullptr) return -1;
  for (const reg::Value &value : key->values) {
    if (value.name == "Counter" && value.data.size() == 4) {
      uint32_t counter;
      std::memcpy(&counter, value.data.data(), 4);
      return counter;
    }
  }
  return -1;
}

// Writes counters from `first` up, each with a larger companion value so
// that a write takes a while, until killed; says on `ready` when the first
// counter has been written, so that every round makes progress however
// slow the build.
[[noreturn]] void writeForever(host::RegKey key, uint32_t first, int ready) {
  std::vector<uint8_t> companion(64 * 1024, 0xAB);
  for (uint32_t counter = first;; ++counter) {
    companion[0] = static_cast<uint8_t>(counter);
    host::regSetValue(key, "Companion", 3, companion.data(), static_cast<uint32_t>(companion.size()));
    host::regSetValue(key, "Counter", 4, reinterpret_cast<const uint8_t *>(&counter), 4);
    if (counter == first) {
      const char byte = 1;
      (void)!write(ready, &byte, 1);
    }
  }
}

TEST_F(RegistryFileTest, KilledWritersNeverLoseOrCorruptAValue) {
  host::RegKey key = createKey("Software\\Crash");
  const uint32_t start = 0;
  ASSERT_EQ(host::regSetValue(key, "Counter", 4, reinterpret_cast<const uint8_t *>(&start), 4), 0);
  std::mt19937 random(5);
  long last = 0;
  int kills = 0;
  for (int round = 0; round < 40; ++round) {
    qstr::host::registry::resetStore();
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) writeForever(key, static_cast<uint32_t>(last + 1), ready[1]);
    char byte;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    close(ready[1]);
    usleep(static_cast<useconds_t>(random() % 20000));
    ASSERT_EQ(kill(pid, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status));
    ++kills;
    const long counter = storedCounter(path_);
    ASSERT_GE(counter, last) << "round " << round << ": the file lost its value or does not parse";
    last = counter;
  }
  qstr::host::registry::resetStore();
  uint32_t type = 0, value = 0, size = 4;
  ASSERT_EQ(host::regQueryValue(key, "Counter", &type, reinterpret_cast<uint8_t *>(&value), &size), 0);
  EXPECT_EQ(static_cast<long>(value), last);
  EXPECT_EQ(kills, 40);
  EXPECT_GT(last, 0) << "the writers made progress";
}

// A registry folder that cannot be made (a file stands in its way, which
// binds every user, the superuser too): writes fail, nothing is written
// elsewhere, and the status says why.
TEST_F(RegistryFileTest, UnwritableFolderFallsBackAndWritesNothing) {
  const fs::path blocker = dir_ / "blocker";
  { std::ofstream(blocker) << "not a folder"; }
  const fs::path path = blocker / "sub" / "registry.reg";
  useRegistryPath(path.string());
  host::RegKey key = 0;
  if (createUserKey("Software\\X", &key) == 0) {
    const uint8_t data[2] = {1, 2};
    EXPECT_NE(host::regSetValue(key, "V", 3, data, 2), 0);
  }
  EXPECT_EQ(readFile(blocker), "not a folder");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

}  // namespace
