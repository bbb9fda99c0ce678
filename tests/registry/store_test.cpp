// The registry store: the host's key and value operations over the registry
// file, which other writers may change, a killed writer must not corrupt,
// and a file that does not parse leaves untouched.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <fstream>
#include <random>
#include <sstream>

#include "host/host.h"
#include "host/profile.h"
#include "host/registry_store.h"
#include "regdb/format.h"
#include "support/scratch_folder.h"

namespace {

namespace host = qstr::host;
namespace reg = qstr::host::registry;
namespace db = qstr::regdb;
namespace win = qstr::windows;
using Bytes = std::vector<uint8_t>;

void useRegistryPath(const std::string &path) {
  host::HostProfile profile = host::hostProfile();
  profile.registryPath.value = path;
  host::installHostProfile(profile);
  reg::resetStore();
}

// The registry file one level below its own folder, so that creating the
// folder is part of the first write.
class RegistryFileTest : public qstr::test::ScratchFolderTest {
 protected:
  void SetUp() override {
    ScratchFolderTest::SetUp();
    path_ = dir_ / "config" / "registry.reg";
    useRegistryPath(path_.string());
  }
  void TearDown() override {
    host::resetHostProfile();
    reg::resetStore();
    ScratchFolderTest::TearDown();
  }
  std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path &path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

// Creates (or opens) a key below HKEY_CURRENT_USER: the handle, 0 on failure,
// and the status in `status` when given.
host::RegKey userKey(const std::string &subKey, bool create = true, int32_t *status = nullptr,
                     uint32_t *disposition = nullptr) {
  host::RegKey key = 0;
  const int32_t result =
      create ? host::regCreateKey(host::kHkeyCurrentUser, subKey.c_str(), 0x2001F, &key, disposition)
             : host::regOpenKey(host::kHkeyCurrentUser, subKey.c_str(), 0x2001F, &key);
  if (status != nullptr) *status = result;
  return key;
}

int32_t keyStatus(const std::string &subKey, bool create = true) {
  int32_t status = 0;
  userKey(subKey, create, &status);
  return status;
}

int32_t set(host::RegKey key, const char *name, const Bytes &data, uint32_t type = 3) {
  return host::regSetValue(key, name, type, data.data(), static_cast<uint32_t>(data.size()));
}

// A value's type and data (up to 512 bytes), or the status of the failed query.
struct Read {
  int32_t status;
  uint32_t type = 0;
  Bytes data = {};
  bool operator==(const Read &) const = default;
};
Read query(host::RegKey key, const char *name) {
  Read read{0, 0, Bytes(512)};
  uint32_t size = 512;
  read.status = host::regQueryValue(key, name, &read.type, read.data.data(), &size);
  if (read.status != 0) return {read.status};
  read.data.resize(size);
  return read;
}

// ASCII letters compare without regard to case, the last of them included;
// a value set again keeps the name it had.
TEST_F(RegistryFileTest, NamesCompareWithoutRegardToCase) {
  uint32_t created = 0, opened = 0;
  host::RegKey first = userKey("Software\\MixedCase Zoo", true, nullptr, &created);
  host::RegKey second = userKey("SOFTWARE\\mixedCASE zoo", true, nullptr, &opened);
  EXPECT_EQ(created, host::kRegCreatedNewKey);
  EXPECT_EQ(opened, host::kRegOpenedExistingKey);
  ASSERT_EQ(set(first, "Value z", {1}), 0);
  ASSERT_EQ(set(second, "VALUE Z", {2}), 0);
  std::vector<reg::ValueRecord> values;
  ASSERT_EQ(reg::listValues(first, &values), 0);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].name, "Value z");
  EXPECT_EQ(values[0].data, Bytes{2});
  std::vector<std::string> subkeys;
  ASSERT_EQ(reg::listSubkeys(host::kHkeyCurrentUser, &subkeys), 0);
  EXPECT_EQ(subkeys, std::vector<std::string>{"Software"});
  EXPECT_EQ(host::regCloseKey(first), 0);
  EXPECT_EQ(host::regCloseKey(first), win::kErrorInvalidHandle);
}

TEST_F(RegistryFileTest, ResultCodesAndLimits) {
  host::RegKey key = userKey("Software\\Codes");
  Bytes data(db::kMaxValueBytes + 1, 5);
  ASSERT_EQ(host::regSetValue(key, "Five", 0x80000003, data.data(), 5), 0);
  uint8_t buffer[8] = {};
  uint32_t type = 0, size = 2;
  EXPECT_EQ(host::regQueryValue(key, "Five", &type, buffer, &size), host::kErrorMoreData);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(type, 0x80000003u);
  size = 0;
  EXPECT_EQ(host::regQueryValue(key, "five", nullptr, nullptr, &size), 0);  // size only
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(query(key, "Missing").status, host::kErrorFileNotFound);
  EXPECT_EQ(host::regQueryValue(key, "Five", &type, buffer, nullptr), host::kErrorInvalidParameter);
  EXPECT_EQ(query(0x1234567, "Five").status, win::kErrorInvalidHandle);
  EXPECT_EQ(keyStatus("Software\\Nowhere", false), host::kErrorFileNotFound);
  host::RegKey readOnly = 0;
  ASSERT_EQ(host::regOpenKey(host::kHkeyCurrentUser, "Software\\Codes", 0x20019, &readOnly), 0);
  EXPECT_EQ(set(readOnly, "Five", {1}), host::kErrorAccessDenied);
  EXPECT_EQ(query(readOnly, "Five").status, 0);
  // Sizes, names and depths up to their limits.
  EXPECT_EQ(host::regSetValue(key, "Max", 3, data.data(), db::kMaxValueBytes), 0);
  EXPECT_EQ(set(key, "Huge", data), host::kErrorInvalidParameter);
  EXPECT_EQ(set(key, "Tab\tName", {1}), host::kErrorInvalidParameter);
  std::string deep;
  for (std::size_t i = 0; i < db::kMaxKeyDepth; ++i) deep += "k\\";
  EXPECT_NE(userKey(deep), 0u);
  EXPECT_EQ(keyStatus(deep + "k"), host::kErrorInvalidParameter);
  EXPECT_NE(userKey(std::string(255, 'n')), 0u);
  EXPECT_EQ(keyStatus(std::string(256, 'n')), host::kErrorInvalidParameter);
}

// Reading or creating keys writes nothing until a value makes the file; once
// it exists, a key created is written at once.
TEST_F(RegistryFileTest, MissingFolderIsCreatedOnTheFirstValueWritten) {
  EXPECT_EQ(keyStatus("Software", false), host::kErrorFileNotFound);
  userKey("Software\\FirstB");
  userKey("Software\\First\\Second");
  host::RegKey key = userKey("software\\first", false);
  EXPECT_EQ(query(key, "v").status, host::kErrorFileNotFound);
  EXPECT_FALSE(std::filesystem::exists(path_.parent_path()));
  EXPECT_EQ(set(key, "v", {1}), 0);
  EXPECT_NE(readFile(path_).find("[HKEY_CURRENT_USER\\Software\\First]\n\"v\"=hex:01"), std::string::npos);
  userKey("Software\\Third");
  EXPECT_NE(readFile(path_).find("[HKEY_CURRENT_USER\\Software\\Third]"), std::string::npos);
}

// Another writer's change is seen at once; a key it removes says so through
// its handle, writes included.
TEST_F(RegistryFileTest, ChangesByAnotherWriterAreSeenAndHandlesSurviveThem) {
  host::RegKey key = userKey("Software\\Shared");
  ASSERT_EQ(set(key, "Mine", {1}), 0);
  const std::string header = std::string(db::kFileHeader) + "\n";
  std::ofstream(path_) << header << "\n[HKEY_CURRENT_USER\\Software\\Shared]\n\"Theirs\"=dword:00000007\n";
  EXPECT_EQ(query(key, "Theirs"), (Read{0, 4, {7, 0, 0, 0}}));
  EXPECT_EQ(query(key, "Mine").status, host::kErrorFileNotFound);
  std::ofstream(path_) << header;
  EXPECT_EQ(query(key, "Theirs").status, win::kErrorKeyDeleted);
  EXPECT_EQ(set(key, "Mine", {1}), win::kErrorKeyDeleted);
}

// A broken file fails every operation, with its file and line first, and is
// not written until it is repaired.
TEST_F(RegistryFileTest, AFileThatDoesNotParseIsLeftAloneAndExplained) {
  const std::string broken = std::string(db::kFileHeader) + "\n[HKEY_CURRENT_USER]\n\"v\"=hex:zz\n";
  std::filesystem::create_directories(path_.parent_path());
  std::ofstream(path_) << broken;
  EXPECT_FALSE(reg::storeStatus().usable);
  EXPECT_EQ(reg::storeStatus().message.rfind(path_.string() + ":3: invalid hex byte", 0), 0u);
  EXPECT_EQ(keyStatus("New"), win::kErrorBadDb);
  EXPECT_EQ(keyStatus("Software", false), win::kErrorBadDb);
  EXPECT_EQ(query(host::kHkeyCurrentUser, "v").status, win::kErrorBadDb);
  EXPECT_EQ(set(host::kHkeyCurrentUser, "v", {1}), win::kErrorBadDb);
  EXPECT_EQ(readFile(path_), broken);
  std::ofstream(path_) << db::kFileHeader << "\r\n; a comment\r\n[hkey_current_user\\Software]\r\n"
                       << "\"v\" = dword:2\r\n";
  EXPECT_TRUE(reg::storeStatus().usable);
  EXPECT_EQ(query(userKey("software", false), "V").data.size(), 4u);
}

void reap(pid_t pid, bool signaled) {
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_EQ(WIFSIGNALED(status), signaled);
  if (!signaled) EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(RegistryFileTest, ConcurrentWritersLoseNothing) {
  ASSERT_EQ(set(userKey("Software\\Race"), "first", {0}), 0);
  std::array<pid_t, 2> children{};  // off the heap: a writer leaves through _exit
  for (int writer = 0; writer < 2; ++writer) {
    children[writer] = fork();
    ASSERT_GE(children[writer], 0);
    if (children[writer] == 0) {
      reg::resetStore();
      host::RegKey key = userKey("Software\\Race", false);
      int failures = key == 0;
      for (uint8_t i = 0; i < 100; ++i) {
        failures += set(key, (std::to_string(writer) + "-" + std::to_string(i)).c_str(), {i}) != 0;
      }
      _exit(failures == 0 ? 0 : 1);
    }
  }
  for (pid_t pid : children) reap(pid, false);
  std::vector<reg::ValueRecord> values;
  ASSERT_EQ(reg::listValues(userKey("Software\\Race"), &values), 0);
  EXPECT_EQ(values.size(), 201u);
}

// A writer killed at any moment leaves a file that parses and holds its last
// counter or the one before. Each store follows a large companion value, so
// that a write takes a while; the pipe says the first is stored.
TEST_F(RegistryFileTest, KilledWritersNeverLoseOrCorruptAValue) {
  host::RegKey key = userKey("Software\\Crash");
  ASSERT_EQ(set(key, "Counter", {0, 0, 0, 0}, 4), 0);
  std::mt19937 random(5);
  long last = 0;
  for (int round = 0; round < 40; ++round) {
    reg::resetStore();
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    for (auto counter = static_cast<uint32_t>(last + 1); pid == 0; ++counter) {
      set(key, "Companion", Bytes(64 * 1024, static_cast<uint8_t>(counter)));
      host::regSetValue(key, "Counter", 4, reinterpret_cast<const uint8_t *>(&counter), 4);
      if (counter == last + 1) (void)!::write(ready[1], "!", 1);
    }
    char byte;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    close(ready[1]);
    usleep(static_cast<useconds_t>(random() % 20000));
    ASSERT_EQ(kill(pid, SIGKILL), 0);
    reap(pid, true);
    reg::resetStore();  // read the file afresh
    const Bytes data = query(key, "Counter").data;
    ASSERT_TRUE(reg::storeStatus().usable && data.size() == 4) << "round " << round << " does not parse";
    const long counter = data[0] | data[1] << 8 | data[2] << 16;
    ASSERT_GE(counter, last) << "round " << round << ": the file lost its value";
    last = counter;
  }
  EXPECT_GT(last, 0) << "the writers made progress";
}

// A registry folder that cannot be made (a file stands in its way, which
// binds the superuser too): writes fail and nothing is written.
TEST_F(RegistryFileTest, UnwritableFolderFallsBackAndWritesNothing) {
  const std::filesystem::path blocker = write("blocker", "not a folder");
  useRegistryPath((blocker / "sub" / "registry.reg").string());
  host::RegKey key = userKey("Software\\X");
  if (key != 0) EXPECT_NE(set(key, "V", {1, 2}), 0);
  EXPECT_EQ(readFile(blocker), "not a folder");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), std::filesystem::directory_iterator()), 1);
}

TEST_F(RegistryFileTest, PrivateRegistryKeepsValuesUntilReset) {
  useRegistryPath(":memory:");
  host::RegKey key = userKey("Software\\Private");
  ASSERT_EQ(set(key, "v", {1}), 0);
  EXPECT_EQ(query(key, "v").status, 0);
  EXPECT_TRUE(reg::storeStatus().usable && reg::storeStatus().inMemory);
  EXPECT_TRUE(std::filesystem::is_empty(dir_));
  reg::resetStore();
  EXPECT_EQ(query(key, "v").status, win::kErrorKeyDeleted);
}

}  // namespace
