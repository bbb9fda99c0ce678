// The registry store: the host's key and value operations over the registry
// file, which another writer may change, a killed writer must not corrupt,
// and a file that does not parse leaves untouched.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "fixture.h"
#include "regdb/format.h"
#include "regdb/tree.h"

namespace {

using namespace registry_test;
namespace reg = qstr::host::registry;
namespace db = qstr::regdb;
namespace win = qstr::windows;

struct TypedValue {
  const char *name;
  uint32_t type;
  Bytes data;
  const char *lineInFile;  // how the file shows it, or null when not checked
};

TEST_F(RegistryFileTest, TypedValuesSurviveAReloadAndTheFileIsReadable) {
  Bytes large(300);
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<uint8_t>(i * 7);
  const std::vector<TypedValue> values = {
      {"Windows Code Page", 0x80000002, {0x52, 0x03}, "\"Windows Code Page\"=hex(80000002):52,03\n"},
      {"Locked", 0x40000004, {1, 0, 0, 0}, "\"Locked\"=hex(40000004):01,00,00,00\n"},
      {"Text", 1, {'a', '\\', '"', 'b', 0}, "\"Text\"=\"a\\\\\\\"b\"\n"},
      {"", 1, {'d', 0}, "@=\"d\"\n"},
      {"Count", 4, {0x2A, 0, 0, 0x80}, "\"Count\"=dword:8000002a\n"},
      {"Binary", 3, {0xFF}, "\"Binary\"=hex:ff\n"},
      {"Empty", 0x80000008, {}, "\"Empty\"=hex(80000008):\n"},
      // Strings that the quoted form cannot hold exactly: no terminator,
      // bytes above ASCII, an inner zero.
      {"Unterminated", 1, {'x'}, "\"Unterminated\"=hex(1):78\n"},
      {"Latin", 1, {0xE9, 0}, "\"Latin\"=hex(1):e9,00\n"},
      {"Inner zero", 1, {'a', 0, 'b', 0}, nullptr},
      {"Short dword", 4, {1, 2}, "\"Short dword\"=hex(4):01,02\n"},
      {"Large", 0x80000001, large, nullptr},
  };
  host::RegKey key = createKey("Software\\Test");
  for (const TypedValue &v : values) {
    ASSERT_EQ(host::regSetValue(key, v.name, v.type, v.data.data(), static_cast<uint32_t>(v.data.size())), 0)
        << v.name;
  }
  reg::resetStore();  // forget everything cached: read back from the file
  const std::string text = readFile(path_);
  for (const TypedValue &v : values) {
    uint32_t type = 0;
    Bytes data(v.data.size() + 4);
    uint32_t size = static_cast<uint32_t>(data.size());
    ASSERT_EQ(host::regQueryValue(key, v.name, &type, data.data(), &size), 0) << v.name;
    data.resize(size);
    EXPECT_EQ(type, v.type) << v.name;
    EXPECT_EQ(data, v.data) << v.name;
    if (v.lineInFile != nullptr) EXPECT_NE(text.find(v.lineInFile), std::string::npos) << v.name;
  }
  EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\n", 0), 0u);
  EXPECT_NE(text.find("\n[HKEY_CURRENT_USER\\Software\\Test]\n"), std::string::npos);
  EXPECT_NE(text.find(",\\\n  "), std::string::npos);  // the large value continues on lines
  EXPECT_TRUE(reg::storeStatus().usable);
}

// ASCII letters compare without regard to case, the first and last of them
// included; a value set again keeps the name it had.
TEST_F(RegistryFileTest, NamesCompareWithoutRegardToCase) {
  uint32_t disposition = 0;
  host::RegKey first = 0, second = 0;
  ASSERT_EQ(createUserKey("Software\\MixedCase Zoo", &first, &disposition), 0);
  EXPECT_EQ(disposition, host::kRegCreatedNewKey);
  ASSERT_EQ(createUserKey("SOFTWARE\\mixedCASE zoo", &second, &disposition), 0);
  EXPECT_EQ(disposition, host::kRegOpenedExistingKey);
  const uint8_t one[] = {1}, two[] = {2};
  ASSERT_EQ(host::regSetValue(first, "Value z", 3, one, 1), 0);
  ASSERT_EQ(host::regSetValue(second, "VALUE Z", 3, two, 1), 0);
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
  EXPECT_EQ(host::regCloseKey(second), 0);
}

TEST_F(RegistryFileTest, ResultCodesAndLimits) {
  host::RegKey key = createKey("Software\\Codes");
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
  EXPECT_EQ(host::regQueryValue(key, "Missing", &type, buffer, &size), host::kErrorFileNotFound);
  EXPECT_EQ(host::regQueryValue(key, "Five", &type, buffer, nullptr), host::kErrorInvalidParameter);
  EXPECT_EQ(host::regQueryValue(0x1234567, "Five", &type, buffer, &size), win::kErrorInvalidHandle);
  host::RegKey result = 0;
  EXPECT_EQ(openUserKey("Software\\Nowhere", &result), host::kErrorFileNotFound);
  // A key opened for reading only refuses writes.
  ASSERT_EQ(openUserKey("Software\\Codes", &result, 0x20019), 0);
  EXPECT_EQ(host::regSetValue(result, "Five", 3, data.data(), 1), host::kErrorAccessDenied);
  size = sizeof buffer;
  EXPECT_EQ(host::regQueryValue(result, "Five", &type, buffer, &size), 0);
  // Sizes, names and depths up to their limits.
  EXPECT_EQ(host::regSetValue(key, "Max", 3, data.data(), db::kMaxValueBytes), 0);
  EXPECT_EQ(host::regSetValue(key, "Huge", 3, data.data(), db::kMaxValueBytes + 1), host::kErrorInvalidParameter);
  EXPECT_EQ(host::regSetValue(key, "Tab\tName", 3, data.data(), 1), host::kErrorInvalidParameter);
  std::string deep;
  for (std::size_t i = 0; i <= db::kMaxKeyDepth; ++i) deep += "k\\";
  EXPECT_EQ(createUserKey(deep, &result), host::kErrorInvalidParameter);
  EXPECT_EQ(createUserKey(std::string(256, 'n'), &result), host::kErrorInvalidParameter);
}

TEST_F(RegistryFileTest, MissingFolderIsCreatedOnTheFirstValueWritten) {
  host::RegKey key = 0;
  // Reading an empty registry, or creating keys in it, writes nothing: the
  // keys are there for this process until a value makes the file.
  EXPECT_EQ(openUserKey("Software", &key), host::kErrorFileNotFound);
  createKey("Software\\FirstB");
  key = createKey("Software\\First\\Second");
  EXPECT_EQ(openUserKey("software\\first", &key), 0);
  uint32_t size = 0;
  EXPECT_EQ(host::regQueryValue(key, "v", nullptr, nullptr, &size), host::kErrorFileNotFound);
  EXPECT_FALSE(fs::exists(path_.parent_path()));
  const uint8_t one = 1;
  EXPECT_EQ(host::regSetValue(key, "v", 3, &one, 1), 0);
  EXPECT_NE(readFile(path_).find("[HKEY_CURRENT_USER\\Software\\First]\n\"v\"=hex:01"), std::string::npos);
  // Once the file exists, a key created is written at once.
  createKey("Software\\Third");
  EXPECT_NE(readFile(path_).find("[HKEY_CURRENT_USER\\Software\\Third]"), std::string::npos);
}

TEST_F(RegistryFileTest, ChangesByAnotherWriterAreSeenAndHandlesSurviveThem) {
  host::RegKey key = createKey("Software\\Shared");
  const uint8_t mine[] = {1};
  ASSERT_EQ(host::regSetValue(key, "Mine", 3, mine, 1), 0);
  // Another process replaces the file (here: a person editing it).
  const std::string header = std::string(db::kFileHeader) + "\n";
  std::ofstream(path_) << header << "\n[HKEY_CURRENT_USER\\Software\\Shared]\n\"Theirs\"=dword:00000007\n";
  uint32_t type = 0, number = 0, size = 4;
  ASSERT_EQ(host::regQueryValue(key, "Theirs", &type, reinterpret_cast<uint8_t *>(&number), &size), 0);
  EXPECT_EQ(number, 7u);
  EXPECT_EQ(host::regQueryValue(key, "Mine", &type, nullptr, &size), host::kErrorFileNotFound);
  // The key itself goes away: its handle reports that, writes included.
  std::ofstream(path_) << header;
  EXPECT_EQ(host::regQueryValue(key, "Theirs", &type, nullptr, &size), win::kErrorKeyDeleted);
  EXPECT_EQ(host::regSetValue(key, "Mine", 3, mine, 1), win::kErrorKeyDeleted);
}

// What a broken file says is the reader's (see format_test.cpp); the store
// puts the file and line first, fails every operation and writes nothing.
TEST_F(RegistryFileTest, AFileThatDoesNotParseIsLeftAloneAndExplained) {
  const std::string header = std::string(db::kFileHeader) + "\n";
  fs::create_directories(path_.parent_path());
  for (const std::string &broken : {std::string("REGEDIT4\n"), header + "[HKEY_CURRENT_USER]\n\"v\"=hex:zz\n"}) {
    std::ofstream(path_) << broken;
    reg::StoreStatus status = reg::storeStatus();
    EXPECT_FALSE(status.usable);
    const std::string where = path_.string() + (broken.size() < 10 ? ":1: " : ":3: ");
    EXPECT_EQ(status.message.rfind(where, 0), 0u) << status.message;
    host::RegKey key = 0;
    uint32_t size = 0;
    const uint8_t one[] = {1};
    EXPECT_EQ(createUserKey("Software\\New", &key), win::kErrorBadDb);
    EXPECT_EQ(openUserKey("Software", &key), win::kErrorBadDb);
    EXPECT_EQ(host::regQueryValue(host::kHkeyCurrentUser, "v", nullptr, nullptr, &size), win::kErrorBadDb);
    EXPECT_EQ(host::regSetValue(host::kHkeyCurrentUser, "v", 3, one, 1), win::kErrorBadDb);
    EXPECT_EQ(readFile(path_), broken);
  }
  // Repaired by the user: usable again, without a reset.
  std::ofstream(path_) << header << "; a comment\r\n[hkey_current_user\\Software]\r\n\"v\" = dword:2\r\n";
  EXPECT_TRUE(reg::storeStatus().usable);
  uint32_t size = 0;
  host::RegKey key = 0;
  ASSERT_EQ(openUserKey("software", &key), 0);
  EXPECT_EQ(host::regQueryValue(key, "V", nullptr, nullptr, &size), 0);
  EXPECT_EQ(size, 4u);
}

// Waits for `pid`, which must end as `signaled` says.
void reap(pid_t pid, bool signaled) {
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_EQ(WIFSIGNALED(status), signaled);
  if (!signaled) EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(RegistryFileTest, ConcurrentWritersLoseNothing) {
  const uint8_t zero = 0;
  ASSERT_EQ(host::regSetValue(createKey("Software\\Race"), "first", 3, &zero, 1), 0);
  std::vector<pid_t> children;
  for (int writer = 0; writer < 2; ++writer) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      reg::resetStore();
      host::RegKey key = 0;
      int failures = openUserKey("Software\\Race", &key) != 0;
      for (uint8_t i = 0; i < 100; ++i) {
        std::string name = "w" + std::to_string(writer) + "-" + std::to_string(i);
        failures += host::regSetValue(key, name.c_str(), 3, &i, 1) != 0;
      }
      _exit(failures == 0 ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) reap(pid, false);
  std::vector<reg::ValueRecord> values;
  ASSERT_EQ(reg::listValues(createKey("Software\\Race"), &values), 0);
  EXPECT_EQ(values.size(), 201u);
}

// The counter in the file, read straight from its text; -1 when the file
// does not parse or holds no counter.
long storedCounter(const fs::path &path) {
  db::Tree tree;
  db::ParseError error;
  if (!db::parseRegistryText(readFile(path), tree, error)) return -1;
  const db::Key *key = tree.find("HKEY_CURRENT_USER\\Software\\Crash");
  const db::Value *value = key == nullptr ? nullptr : db::findValue(*key, "Counter");
  if (value == nullptr || value->data.size() != 4) return -1;
  uint32_t counter;
  std::memcpy(&counter, value->data.data(), 4);
  return counter;
}

// A writer killed at any moment leaves a file that parses and holds the last
// counter it stored or the one before. Each writer stores counters from
// `first` up, each after a large companion value so that a write takes a
// while, and says on a pipe when the first is stored, so that every round
// makes progress however slow the build.
TEST_F(RegistryFileTest, KilledWritersNeverLoseOrCorruptAValue) {
  host::RegKey key = createKey("Software\\Crash");
  const uint32_t start = 0;
  ASSERT_EQ(host::regSetValue(key, "Counter", 4, reinterpret_cast<const uint8_t *>(&start), 4), 0);
  std::mt19937 random(5);
  long last = 0;
  for (int round = 0; round < 40; ++round) {
    reg::resetStore();
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      Bytes companion(64 * 1024, 0xAB);
      for (auto counter = static_cast<uint32_t>(last + 1);; ++counter) {
        companion[0] = static_cast<uint8_t>(counter);
        host::regSetValue(key, "Companion", 3, companion.data(), static_cast<uint32_t>(companion.size()));
        host::regSetValue(key, "Counter", 4, reinterpret_cast<const uint8_t *>(&counter), 4);
        if (counter == last + 1) (void)!::write(ready[1], "!", 1);
      }
    }
    char byte;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    close(ready[1]);
    usleep(static_cast<useconds_t>(random() % 20000));
    ASSERT_EQ(kill(pid, SIGKILL), 0);
    reap(pid, true);
    const long counter = storedCounter(path_);
    ASSERT_GE(counter, last) << "round " << round << ": the file lost its value or does not parse";
    last = counter;
  }
  reg::resetStore();
  uint32_t type = 0, value = 0, size = 4;
  ASSERT_EQ(host::regQueryValue(key, "Counter", &type, reinterpret_cast<uint8_t *>(&value), &size), 0);
  EXPECT_EQ(static_cast<long>(value), last);
  EXPECT_GT(last, 0) << "the writers made progress";
}

// A registry folder that cannot be made (a file stands in its way, which
// binds every user, the superuser too): writes fail and nothing is written.
TEST_F(RegistryFileTest, UnwritableFolderFallsBackAndWritesNothing) {
  const fs::path blocker = write("blocker", "not a folder");
  useRegistryPath((blocker / "sub" / "registry.reg").string());
  host::RegKey key = 0;
  const uint8_t data[2] = {1, 2};
  if (createUserKey("Software\\X", &key) == 0) EXPECT_NE(host::regSetValue(key, "V", 3, data, 2), 0);
  EXPECT_EQ(readFile(blocker), "not a folder");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(InMemoryRegistryTest, PrivateRegistryKeepsValuesUntilReset) {
  host::RegKey key = createKey("Software\\Private");
  const uint8_t one[] = {1};
  ASSERT_EQ(host::regSetValue(key, "v", 3, one, 1), 0);
  uint32_t size = 0;
  EXPECT_EQ(host::regQueryValue(key, "v", nullptr, nullptr, &size), 0);
  EXPECT_TRUE(reg::storeStatus().usable);
  EXPECT_TRUE(reg::storeStatus().inMemory);
  reg::resetStore();
  EXPECT_EQ(host::regQueryValue(key, "v", nullptr, nullptr, &size), win::kErrorKeyDeleted);
}

}  // namespace
