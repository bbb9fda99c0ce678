// The registry store: the five host operations over the registry file.
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "fixture.h"
#include "regdb/format.h"
#include "regdb/tree.h"

namespace {

using namespace registry_test;
namespace reg = qstr::host::registry;

struct TypedValue {
  const char *name;
  uint32_t type;
  std::vector<uint8_t> data;
  const char *lineInFile;  // how the file shows it, or null when not checked
};

std::vector<TypedValue> typedValues() {
  std::vector<uint8_t> large(300);
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<uint8_t>(i * 7);
  return {
      {"Windows Code Page", 0x80000002, bytes({0x52, 0x03}),
       "\"Windows Code Page\"=hex(80000002):52,03\n"},
      {"Locked", 0x40000004, bytes({1, 0, 0, 0}), "\"Locked\"=hex(40000004):01,00,00,00\n"},
      {"Text", 1, bytes({'a', '\\', '"', 'b', 0}), "\"Text\"=\"a\\\\\\\"b\"\n"},
      {"", 1, bytes({'d', 0}), "@=\"d\"\n"},
      {"Count", 4, bytes({0x2A, 0, 0, 0x80}), "\"Count\"=dword:8000002a\n"},
      {"Binary", 3, bytes({0xFF}), "\"Binary\"=hex:ff\n"},
      {"Empty", 0x80000008, {}, "\"Empty\"=hex(80000008):\n"},
      // REG_SZ that the quoted form cannot hold exactly: no terminator,
      // non-ASCII bytes, an inner zero.
      {"Unterminated", 1, bytes({'x'}), "\"Unterminated\"=hex(1):78\n"},
      {"Latin", 1, bytes({0xE9, 0}), "\"Latin\"=hex(1):e9,00\n"},
      {"Inner zero", 1, bytes({'a', 0, 'b', 0}), nullptr},
      {"Short dword", 4, bytes({1, 2}), "\"Short dword\"=hex(4):01,02\n"},
      {"Large", 0x80000001, large, nullptr},
  };
}

TEST_F(RegistryFileTest, TypedValuesSurviveAReloadAndTheFileIsReadable) {
  host::RegKey key = createKey("Software\\Test");
  for (const TypedValue &v : typedValues()) {
    ASSERT_EQ(host::regSetValue(key, v.name, v.type, v.data.data(), static_cast<uint32_t>(v.data.size())), 0)
        << v.name;
  }
  reg::resetStore();  // forget everything cached: read back from the file
  for (const TypedValue &v : typedValues()) {
    uint32_t type = 0;
    std::vector<uint8_t> data(v.data.size() + 4);
    uint32_t size = static_cast<uint32_t>(data.size());
    ASSERT_EQ(host::regQueryValue(key, v.name, &type, data.data(), &size), 0) << v.name;
    data.resize(size);
    EXPECT_EQ(type, v.type) << v.name;
    EXPECT_EQ(data, v.data) << v.name;
  }
  std::string text = readFile(path_);
  EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\n", 0), 0u);
  EXPECT_NE(text.find("\n[HKEY_CURRENT_USER\\Software\\Test]\n"), std::string::npos);
  for (const TypedValue &v : typedValues()) {
    if (v.lineInFile != nullptr) EXPECT_NE(text.find(v.lineInFile), std::string::npos) << v.name;
  }
  EXPECT_NE(text.find(",\\\n  "), std::string::npos);  // the large value continues on lines
  EXPECT_TRUE(reg::storeStatus().usable);
}

TEST_F(RegistryFileTest, NamesCompareWithoutRegardToCase) {
  uint32_t disposition = 0;
  host::RegKey first = 0, second = 0;
  ASSERT_EQ(createUserKey("Software\\MixedCase", &first, &disposition), 0);
  EXPECT_EQ(disposition, host::kRegCreatedNewKey);
  ASSERT_EQ(createUserKey("SOFTWARE\\mixedcase", &second, &disposition), 0);
  EXPECT_EQ(disposition, host::kRegOpenedExistingKey);
  const uint8_t one[] = {1}, two[] = {2};
  ASSERT_EQ(host::regSetValue(first, "Value", 3, one, 1), 0);
  ASSERT_EQ(host::regSetValue(second, "VALUE", 3, two, 1), 0);  // replaces, keeps the name
  std::vector<reg::ValueRecord> values;
  ASSERT_EQ(reg::listValues(first, &values), 0);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].name, "Value");
  EXPECT_EQ(values[0].data, bytes({2}));
  std::vector<std::string> subkeys;
  ASSERT_EQ(reg::listSubkeys(host::kHkeyCurrentUser, &subkeys), 0);
  EXPECT_EQ(subkeys, std::vector<std::string>{"Software"});
  EXPECT_EQ(host::regCloseKey(first), 0);
  EXPECT_EQ(host::regCloseKey(first), qstr::windows::kErrorInvalidHandle);
  EXPECT_EQ(host::regCloseKey(second), 0);
}

TEST_F(RegistryFileTest, QueryResultCodes) {
  host::RegKey key = createKey("Software\\Codes");
  const uint8_t data[] = {1, 2, 3, 4, 5};
  ASSERT_EQ(host::regSetValue(key, "Five", 0x80000003, data, sizeof data), 0);
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
  host::RegKey missing = 0;
  EXPECT_EQ(openUserKey("Software\\Nowhere", &missing), host::kErrorFileNotFound);
  EXPECT_EQ(host::regQueryValue(0x1234567, "Five", &type, buffer, &size), qstr::windows::kErrorInvalidHandle);
  // Access rights are checked: a key opened for reading only refuses writes.
  host::RegKey readOnly = 0;
  ASSERT_EQ(openUserKey("Software\\Codes", &readOnly, 0x20019), 0);
  EXPECT_EQ(host::regSetValue(readOnly, "Five", 3, data, 1), host::kErrorAccessDenied);
  size = sizeof buffer;
  EXPECT_EQ(host::regQueryValue(readOnly, "Five", &type, buffer, &size), 0);
}

TEST_F(RegistryFileTest, RequestsPastTheLimitsAreRefused) {
  host::RegKey key = createKey("Software\\Limits");
  std::vector<uint8_t> huge(qstr::regdb::kMaxValueBytes + 1);
  EXPECT_EQ(host::regSetValue(key, "Huge", 3, huge.data(), static_cast<uint32_t>(huge.size())),
            host::kErrorInvalidParameter);
  EXPECT_EQ(host::regSetValue(key, "Tab\tName", 3, huge.data(), 1), host::kErrorInvalidParameter);
  std::string deep;
  for (std::size_t i = 0; i <= qstr::regdb::kMaxKeyDepth; ++i) deep += "k\\";
  host::RegKey result = 0;
  EXPECT_EQ(createUserKey(deep, &result), host::kErrorInvalidParameter);
  EXPECT_EQ(createUserKey(std::string(256, 'n'), &result), host::kErrorInvalidParameter);
}

TEST_F(RegistryFileTest, MissingFolderIsCreatedOnTheFirstValueWritten) {
  EXPECT_FALSE(fs::exists(path_.parent_path()));
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
  EXPECT_TRUE(fs::exists(path_));
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
  const std::string header = std::string(qstr::regdb::kFileHeader) + "\n";
  writeFile(path_, header + "\n[HKEY_CURRENT_USER\\Software\\Shared]\n\"Theirs\"=dword:00000007\n");
  uint32_t type = 0, number = 0, size = 4;
  ASSERT_EQ(host::regQueryValue(key, "Theirs", &type, reinterpret_cast<uint8_t *>(&number), &size), 0);
  EXPECT_EQ(number, 7u);
  EXPECT_EQ(host::regQueryValue(key, "Mine", &type, nullptr, &size), host::kErrorFileNotFound);
  // The key itself goes away: its handle reports that, writes included.
  writeFile(path_, header);
  EXPECT_EQ(host::regQueryValue(key, "Theirs", &type, nullptr, &size), qstr::windows::kErrorKeyDeleted);
  EXPECT_EQ(host::regSetValue(key, "Mine", 3, mine, 1), qstr::windows::kErrorKeyDeleted);
}

struct BrokenFile {
  std::string text;
  std::size_t line;
  const char *message;  // part of the status message
};

TEST_F(RegistryFileTest, AFileThatDoesNotParseIsLeftAloneAndExplained) {
  const std::string header = std::string(qstr::regdb::kFileHeader) + "\n";
  const std::string user = header + "[HKEY_CURRENT_USER]\n";
  std::string deepKey = "[HKEY_CURRENT_USER";
  for (std::size_t i = 0; i <= qstr::regdb::kMaxKeyDepth; ++i) deepKey += "\\k";
  deepKey += "]\n";
  const std::vector<BrokenFile> cases = {
      {"REGEDIT4\n", 1, "expected the header"},
      {std::string("\xFF\xFEW\0", 4), 1, "UTF-16"},
      {header + "\"v\"=dword:1\n", 2, "before the first [KEY]"},
      {header + "\n[HKEY_CURRENT_USER\\Software\n", 3, "closing ']'"},
      {header + "[HKEY_NOWHERE\\X]\n", 2, "unknown root key \"HKEY_NOWHERE\""},
      {header + "[HKEY_CURRENT_USER\\\\X]\n", 2, "empty key name"},
      {header + "[-HKEY_CURRENT_USER\\X]\n", 2, "not supported"},
      {header + deepKey, 2, "deeper than 512"},
      {header + "[HKEY_CURRENT_USER\\" + std::string(256, 'n') + "]\n", 2, "longer than 255"},
      {user + "\"v\"=hex(80000002):52,zz\n", 3, "invalid hex byte \"zz\""},
      {user + "\"v\"=hex:123\n", 3, "invalid hex byte"},       {user + "\"v\"=hex:01 02\n", 3, "expected ','"},
      {user + "\"v\"=hex:01,\n", 3, "ends with ','"},          {user + "\"v\"=hex:01,\\\n", 3, "past the end"},
      {user + "\"v\"=hex:01,\\\n\n", 4, "ends with ','"},
      {user + "\"v\"=qword:00\n", 3, "unknown value type \"qword\""},
      {user + "\"v\"=hex(1g):00\n", 3, "invalid type"},        {user + "\"v\"=hex(123456789):00\n", 3, "invalid type"},
      {user + "\"v\"=dword:123456789\n", 3, "invalid dword"},  {user + "\"v\"=dword:\n", 3, "invalid dword"},
      {user + "\"v=\"x\"\n", 3, "expected '='"},
      {user + "\"v\"=\"unterminated\n", 3, "unterminated string"},
      {user + "\"v\"=\"text\" tail\n", 3, "after the string"}, {user + "\"v\"=\"C:\\dir\"\n", 3, "unknown escape"},
      {user + "\"unterminated\n", 3, "unterminated value name"},
      {user + "\"v\"=-\n", 3, "not supported"},
      {user + "v=1\n", 3, "unrecognised line"},
  };
  fs::create_directories(path_.parent_path());
  for (const BrokenFile &broken : cases) {
    SCOPED_TRACE(broken.text.substr(0, 80));
    writeFile(path_, broken.text);
    reg::StoreStatus status = reg::storeStatus();
    EXPECT_FALSE(status.usable);
    std::string where = path_.string() + ":" + std::to_string(broken.line) + ": ";
    EXPECT_EQ(status.message.rfind(where, 0), 0u) << status.message;
    EXPECT_NE(status.message.find(broken.message), std::string::npos) << status.message;
    // Every operation fails, and nothing touches the file.
    host::RegKey key = 0;
    uint32_t size = 0;
    const uint8_t one[] = {1};
    EXPECT_EQ(createUserKey("Software\\New", &key), qstr::windows::kErrorBadDb);
    EXPECT_EQ(openUserKey("Software", &key), qstr::windows::kErrorBadDb);
    EXPECT_EQ(host::regQueryValue(host::kHkeyCurrentUser, "v", nullptr, nullptr, &size), qstr::windows::kErrorBadDb);
    EXPECT_EQ(host::regSetValue(host::kHkeyCurrentUser, "v", 3, one, 1), qstr::windows::kErrorBadDb);
    EXPECT_EQ(readFile(path_), broken.text);
  }
  // Over-long lines and values, found without a crash and reported.
  std::string enormous = user + "\"v\"=hex:00";
  for (std::size_t i = 0; i < qstr::regdb::kMaxValueBytes; ++i) enormous += i % 20 == 19 ? ",\\\n00" : ",00";
  writeFile(path_, enormous + "\n");
  EXPECT_NE(reg::storeStatus().message.find("larger than 1048576 bytes"), std::string::npos);
  writeFile(path_, user + "\"v\"=hex:" + std::string(qstr::regdb::kMaxLineBytes, '0') + "\n");
  EXPECT_EQ(reg::storeStatus().message,
            path_.string() + ":3: line is longer than " + std::to_string(qstr::regdb::kMaxLineBytes) + " bytes");
  // Repaired by the user: usable again, without a reset.
  writeFile(path_, header + "; a comment\r\n[hkey_current_user\\Software]\r\n\"v\" = dword:2\r\n");
  EXPECT_TRUE(reg::storeStatus().usable);
  uint32_t size = 0;
  host::RegKey key = 0;
  ASSERT_EQ(openUserKey("software", &key), 0);
  EXPECT_EQ(host::regQueryValue(key, "V", nullptr, nullptr, &size), 0);
  EXPECT_EQ(size, 4u);
}

TEST_F(RegistryFileTest, ConcurrentWritersLoseNothing) {
  constexpr int kWriters = 2;
  constexpr int kValuesEach = 100;
  const uint8_t zero = 0;
  ASSERT_EQ(host::regSetValue(createKey("Software\\Race"), "first", 3, &zero, 1), 0);
  std::vector<pid_t> children;
  for (int writer = 0; writer < kWriters; ++writer) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      reg::resetStore();
      host::RegKey key = 0;
      int failures = 0;
      if (openUserKey("Software\\Race", &key) != 0) _exit(2);
      for (int i = 0; i < kValuesEach; ++i) {
        std::string name = "w" + std::to_string(writer) + "-" + std::to_string(i);
        auto data = static_cast<uint8_t>(i);
        failures += host::regSetValue(key, name.c_str(), 3, &data, 1) != 0;
      }
      _exit(failures == 0 ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  host::RegKey key = createKey("Software\\Race");
  std::vector<reg::ValueRecord> values;
  ASSERT_EQ(reg::listValues(key, &values), 0);
  EXPECT_EQ(values.size(), static_cast<std::size_t>(kWriters * kValuesEach + 1));
}

TEST_F(InMemoryRegistryTest, PrivateRegistryKeepsValuesUntilReset) {
  host::RegKey key = 0;
  ASSERT_EQ(createUserKey("Software\\Private", &key), 0);
  const uint8_t one[] = {1};
  ASSERT_EQ(host::regSetValue(key, "v", 3, one, 1), 0);
  uint32_t size = 0;
  EXPECT_EQ(host::regQueryValue(key, "v", nullptr, nullptr, &size), 0);
  reg::StoreStatus status = reg::storeStatus();
  EXPECT_TRUE(status.usable);
  EXPECT_TRUE(status.inMemory);
  reg::resetStore();
  EXPECT_EQ(host::regQueryValue(key, "v", nullptr, nullptr, &size), qstr::windows::kErrorKeyDeleted);
}

}  // namespace
