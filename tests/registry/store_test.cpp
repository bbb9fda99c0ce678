// The registry file: what the store holds reads back, broken files say where and are left alone;
// the host's key and value operations see other writers' changes; a killed writer corrupts nothing.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <fstream>
#include <random>

#include "host/host.h"
#include "host/profile.h"
#include "host/registry_store.h"
#include "regdb/format.h"
#include "regdb/tree.h"
#include "support/scratch_folder.h"

namespace {

namespace host = qstr::host;
namespace reg = qstr::host::registry;
namespace db = qstr::regdb;
namespace win = qstr::windows;
using Bytes = std::vector<uint8_t>;
using qstr::test::readWhole;
const std::string kHeader = std::string(db::kFileHeader) + "\n";
const std::string kUser = kHeader + "[HKEY_CURRENT_USER]\n";

// Quoted text only for printable ASCII with one terminator, dword: for four bytes, else hex.
TEST(RegistryFormat, ValuesAreWrittenInTheirUsualFormsAndReadBack) {
  Bytes large(300);
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = uint8_t(i * 7);
  const std::vector<std::pair<db::Value, std::string>> cases = {
      {{"v", 0x80000002, {0x52, 0x03}}, "\"v\"=hex(80000002):52,03"},
      {{"v", 1, {'a', '\\', '"', 'b', 0}}, "\"v\"=\"a\\\\\\\"b\""},
      {{"", 1, {'d', 0}}, "@=\"d\""},
      {{"v", 1, {' ', '~', 0}}, "\"v\"=\" ~\""},
      {{"v", 1, {0x7F, 0}}, "\"v\"=hex(1):7f,00"},
      {{"v", 1, {0x1F, 0}}, "\"v\"=hex(1):1f,00"},
      {{"v", 1, {'a'}}, "\"v\"=hex(1):61"},
      {{"v", 1, {'a', 0, 'b', 0}}, "\"v\"=hex(1):61,00,62,00"},
      {{"v", 1, {}}, "\"v\"=hex(1):"},
      {{"v", 4, {0x2A, 0, 0, 0x80}}, "\"v\"=dword:8000002a"},
      {{"v", 4, {0x2A, 0}}, "\"v\"=hex(4):2a,00"},
      {{"v", 3, {0xFF}}, "\"v\"=hex:ff"},
      {{"a\"=\\[]@;\xFF", 0xC0000008, {0}}, "\"a\\\"=\\\\[]@;\xFF\"=hex(c0000008):00"},
      {{"Large", 0x80000001, large}, ""},
  };
  for (const auto &[value, line] : cases) {
    const std::string written = db::formatValueLine(value);
    if (!line.empty()) EXPECT_EQ(written, line);
    db::Tree tree;
    db::ParseError error;
    ASSERT_TRUE(db::parseRegistryText(kUser + written + "\n", tree, error)) << written;
    const db::Value &back = tree.find("HKEY_CURRENT_USER")->values.at(0);
    EXPECT_EQ(std::tie(back.name, back.type, back.data), std::tie(value.name, value.type, value.data));
  }
  const std::string wrapped = db::formatValueLine(cases.back().first);
  EXPECT_EQ(wrapped.rfind("\"Large\"=hex(80000001):00,07,", 0), 0u);
  EXPECT_NE(wrapped.find(",\\\n  "), std::string::npos);
  db::Tree tree, back;
  db::storeValue(tree.ensure("HKEY_CURRENT_USER\\Software\\a\"=@; ]\xE9", nullptr), "v", 3, large.data(), 1);
  db::Key &software = tree.ensure("HKEY_CURRENT_USER\\Software", nullptr);
  db::storeValue(software, "v", 3, large.data(), 1);
  db::storeValue(software, "u", 3, large.data(), 1);
  const std::string text = db::formatRegistryText(tree);
  EXPECT_EQ(text, kHeader + "\n[HKEY_CURRENT_USER]\n\n[HKEY_CURRENT_USER\\Software]\n\"v\"=hex:00\n"
                  "\"u\"=hex:00\n\n[HKEY_CURRENT_USER\\Software\\a\"=@; ]\xE9]\n\"v\"=hex:00\n");
  db::ParseError error;
  ASSERT_TRUE(db::parseRegistryText(text, back, error)) << error.message;
  EXPECT_EQ(db::formatRegistryText(back), text);
}

TEST(RegistryFormat, ReadsTheFormsPeopleWrite) {
  const std::string text =
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n; comment\n"
      "  [HKEY_CURRENT_USER\\Software\\Odd]Name]  \n"
      "@=\"default\"\n"
      "\"Split\"=hex(80000002):\\\n  52,\\\n  03\n"
      "\"Short\" = dword:2A\n"
      "\"Case\"=hex:0F,a0\n"
      "\"case\"=hex:01\n";  // the same name again replaces
  db::Tree tree;
  db::ParseError error;
  ASSERT_TRUE(db::parseRegistryText(text, tree, error)) << error.message;
  const db::Key *key = tree.find("HKEY_CURRENT_USER\\SOFTWARE\\odd]name");
  ASSERT_NE(key, nullptr);
  ASSERT_NE(tree.find("HKEY_CURRENT_USER\\Software"), nullptr);
  ASSERT_EQ(key->values.size(), 4u);
  for (const auto &[name, type, data] : std::vector<std::tuple<const char *, uint32_t, Bytes>>{
           {"", 1, {'d', 'e', 'f', 'a', 'u', 'l', 't', 0}},
           {"split", 0x80000002, {0x52, 0x03}},
           {"Short", 4, {0x2A, 0, 0, 0}},
           {"CASE", 3, {1}}}) {  // hex: without a type
    const db::Value *value = db::findValue(*key, name);
    ASSERT_NE(value, nullptr) << name;
    EXPECT_EQ(std::tie(value->type, value->data), std::tie(type, data));
  }
  EXPECT_TRUE(db::parseRegistryText("", tree, error));
  EXPECT_TRUE(tree.empty());
}

TEST(RegistryFormat, TextThatDoesNotParseSaysWhereAndWhy) {
  const std::string v = kUser + "\"v\"=";
  std::string deepKey = "[HKEY_CURRENT_USER";
  for (std::size_t i = 0; i <= db::kMaxKeyDepth; ++i) deepKey += "\\k";
  const std::vector<std::tuple<std::string, std::size_t, const char *>> cases = {
      {"REGEDIT4\n", 1, "expected the header"}, {std::string("\xFF\xFEW\0", 4), 1, "UTF-16"},
      {kHeader + "\"v\"=dword:1\n", 2, "before the first [KEY]"},
      {kHeader + "\n[HKEY_CURRENT_USER\\Software\n", 3, "closing ']'"},
      {kHeader + "[HKEY_NOWHERE\\X]\n", 2, "unknown root key \"HKEY_NOWHERE\""},
      {kHeader + "[HKEY_CURRENT_USER\\\\X]\n", 2, "empty key name"},
      {kHeader + "[-HKEY_CURRENT_USER\\X]\n", 2, "not supported"},
      {kHeader + deepKey + "]\n", 2, "deeper than 512"},
      {kHeader + "[HKEY_CURRENT_USER\\" + std::string(256, 'n') + "]\n", 2, "longer than 255"},
      {v + "hex(80000002):52,zz\n", 3, "invalid hex byte \"zz\""}, {v + "hex:123\n", 3, "invalid hex byte"},
      {v + "hex:01 02\n", 3, "expected ','"}, {v + "hex:01,\n", 3, "ends with ','"},
      {v + "hex:01,\\\n", 3, "past the end"}, {v + "hex:01,\\\n\n", 4, "ends with ','"},
      {v + "qword:00\n", 3, "unknown value type \"qword\""}, {v + "hex(123456789):00\n", 3, "invalid type"},
      {v + "dword:\n", 3, "invalid dword"}, {kUser + "\"v=\"x\"\n", 3, "expected '='"},
      {v + "\"unterminated\n", 3, "unterminated string"}, {v + "\"text\" tail\n", 3, "after the string"},
      {v + "\"C:\\dir\"\n", 3, "unknown escape"}, {v + "-\n", 3, "not supported"},
      {kUser + "\"unterminated\nv=1\n", 3, "unterminated value name"},  // the first error counts
      {kUser + "v=1\n", 3, "unrecognised line"},
      {v + "hex:" + std::string(db::kMaxLineBytes, '0') + "\n", 3, "line is longer than"},
  };
  for (const auto &[text, line, message] : cases) {
    db::Tree tree;
    db::ParseError error;
    EXPECT_FALSE(db::parseRegistryText(text, tree, error)) << text.substr(0, 80);
    EXPECT_EQ(error.line, line);
    EXPECT_NE(error.message.find(message), std::string::npos) << error.message;
  }
}

// Exactly the largest size reads, a byte more is refused: hex, continued hex, string with terminator.
TEST(RegistryFormat, ValuesUpToTheSizeLimit) {
  for (std::size_t size : {db::kMaxValueBytes, db::kMaxValueBytes + 1}) {
    std::string hex = "\"v\"=hex:00", continued = hex;
    for (std::size_t i = 1; i < size; ++i) {
      hex += ",00";
      continued += i % 20 == 19 ? ",\\\n00" : ",00";
    }
    for (const std::string &line : {hex, continued, "\"v\"=\"" + std::string(size - 1, 'a') + "\""}) {
      db::Tree tree;
      db::ParseError error;
      const bool fits = size == db::kMaxValueBytes;
      ASSERT_EQ(db::parseRegistryText(kUser + line + "\n", tree, error), fits) << line.substr(0, 12);
      if (fits) EXPECT_EQ(tree.find("HKEY_CURRENT_USER")->values[0].data.size(), size);
      if (!fits) EXPECT_NE(error.message.find("larger than 1048576 bytes"), std::string::npos);
    }
  }
}

// One level below its own folder, so that the first write makes the folder.
class RegistryFileTest : public qstr::test::ScratchFolderTest {
 protected:
  void SetUp() override {
    ScratchFolderTest::SetUp();
    path_ = dir_ / "config" / "registry.reg";
    useRegistryFile(path_);
  }
  void useRegistryFile(const std::filesystem::path &path) {
    host::HostProfile profile = host::hostProfile();
    profile.registryPath.value = path.string();
    host::installHostProfile(profile);
    reg::resetStore();
  }
  void TearDown() override {
    host::resetHostProfile();
    reg::resetStore();
    ScratchFolderTest::TearDown();
  }
  std::filesystem::path path_;
};

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
  return host::regSetValue(key, name, type, data.data(), uint32_t(data.size()));
}

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

// 'z' included; a value set again keeps its first spelling.
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
  uint32_t size = 0;
  EXPECT_EQ(host::regQueryValue(key, "five", nullptr, nullptr, &size), 0);  // size only
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(host::regQueryValue(key, "Five", nullptr, buffer, nullptr), host::kErrorInvalidParameter);
  EXPECT_EQ(query(0x1234567, "Five").status, win::kErrorInvalidHandle);
  host::RegKey readOnly = 0;
  ASSERT_EQ(host::regOpenKey(host::kHkeyCurrentUser, "Software\\Codes", 0x20019, &readOnly), 0);
  EXPECT_EQ(set(readOnly, "Five", {1}), host::kErrorAccessDenied);
  EXPECT_EQ(query(readOnly, "Five").status, 0);
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

// Keys alone write nothing; once a value made the file, a key created is written at once.
TEST_F(RegistryFileTest, MissingFolderIsCreatedOnTheFirstValueWritten) {
  EXPECT_EQ(keyStatus("Software", false), host::kErrorFileNotFound);
  userKey("Software\\FirstB");
  userKey("Software\\First\\Second");
  host::RegKey key = userKey("software\\first", false);
  EXPECT_EQ(query(key, "v").status, host::kErrorFileNotFound);
  EXPECT_FALSE(std::filesystem::exists(path_.parent_path()));
  EXPECT_EQ(set(key, "v", {1}), 0);
  EXPECT_NE(readWhole(path_).find("[HKEY_CURRENT_USER\\Software\\First]\n\"v\"=hex:01"), std::string::npos);
  userKey("Software\\Third");
  EXPECT_NE(readWhole(path_).find("[HKEY_CURRENT_USER\\Software\\Third]"), std::string::npos);
}

TEST_F(RegistryFileTest, ChangesByAnotherWriterAreSeenAndHandlesSurviveThem) {
  host::RegKey key = userKey("Software\\Shared");
  ASSERT_EQ(set(key, "Mine", {1}), 0);
  std::ofstream(path_) << kHeader << "\n[HKEY_CURRENT_USER\\Software\\Shared]\n\"Theirs\"=dword:00000007\n";
  EXPECT_EQ(query(key, "Theirs"), (Read{0, 4, {7, 0, 0, 0}}));
  EXPECT_EQ(query(key, "Mine").status, host::kErrorFileNotFound);
  std::ofstream(path_) << kHeader;
  EXPECT_EQ(query(key, "Theirs").status, win::kErrorKeyDeleted);
  EXPECT_EQ(set(key, "Mine", {1}), win::kErrorKeyDeleted);
}

TEST_F(RegistryFileTest, AFileThatDoesNotParseIsLeftAloneAndExplained) {
  const std::string broken = kUser + "\"v\"=hex:zz\n";
  std::filesystem::create_directories(path_.parent_path());
  std::ofstream(path_) << broken;
  EXPECT_FALSE(reg::storeStatus().usable);
  EXPECT_EQ(reg::storeStatus().message.rfind(path_.string() + ":3: invalid hex byte", 0), 0u);
  EXPECT_EQ(keyStatus("New"), win::kErrorBadDb);
  EXPECT_EQ(keyStatus("Software", false), win::kErrorBadDb);
  EXPECT_EQ(query(host::kHkeyCurrentUser, "v").status, win::kErrorBadDb);
  EXPECT_EQ(set(host::kHkeyCurrentUser, "v", {1}), win::kErrorBadDb);
  EXPECT_EQ(readWhole(path_), broken);
  std::ofstream(path_) << kHeader << "[hkey_current_user\\Software]\n\"v\"=dword:2\n";
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
  std::array<pid_t, 2> children{};
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

// The file must parse and hold the last counter or the one before; the large companion value
// makes each write take a while.
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
    for (auto counter = uint32_t(last + 1); pid == 0; ++counter) {
      set(key, "Companion", Bytes(64 * 1024, uint8_t(counter)));
      host::regSetValue(key, "Counter", 4, reinterpret_cast<const uint8_t *>(&counter), 4);
      if (counter == last + 1) (void)!::write(ready[1], "!", 1);
    }
    char byte;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    close(ready[1]);
    usleep(useconds_t(random() % 20000));
    ASSERT_EQ(kill(pid, SIGKILL), 0);
    reap(pid, true);
    reg::resetStore();
    const Bytes data = query(key, "Counter").data;
    ASSERT_TRUE(reg::storeStatus().usable && data.size() == 4) << round;
    const long counter = data[0] | data[1] << 8 | data[2] << 16;
    ASSERT_GE(counter, last) << round;
    last = counter;
  }
  EXPECT_GT(last, 0);
}

// A registry folder that cannot be made (a file stands in its way, which binds the superuser
// too): writes fail and nothing is written.
TEST_F(RegistryFileTest, UnwritableFolderFallsBackAndWritesNothing) {
  const std::filesystem::path blocker = write("blocker", "not a folder");
  useRegistryFile(blocker / "sub" / "registry.reg");
  host::RegKey key = userKey("Software\\X");
  if (key != 0) EXPECT_NE(set(key, "V", {1, 2}), 0);
  EXPECT_EQ(readWhole(blocker), "not a folder");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), std::filesystem::directory_iterator()), 1);
}

}  // namespace
