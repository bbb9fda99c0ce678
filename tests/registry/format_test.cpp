// The registry file format: whatever the store holds, the file gives back;
// the forms people write are read; a file that does not parse says where
// and why; values are held to their size limit.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>

#include "regdb/format.h"
#include "regdb/tree.h"

namespace {

namespace reg = qstr::regdb;
using Bytes = std::vector<uint8_t>;

// A name of printable bytes, special characters and bytes above ASCII.
std::string randomName(std::mt19937 &random, std::size_t maxLength) {
  static const std::string kAlphabet = "abcXYZ 09\"\\[]=@,;:-_()\xE9\xFF";
  std::string name;
  for (std::size_t n = random() % maxLength; n > 0; --n) name += kAlphabet[random() % kAlphabet.size()];
  return name;
}

reg::Tree randomTree(std::mt19937 &random) {
  static const uint32_t kTypes[] = {1, 1, 2, 3, 4, 4, 7, 0x80000002, 0x40000004, 0xC0000008};
  reg::Tree tree;
  for (int k = random() % 6; k > 0; --k) {
    std::string path = "HKEY_CURRENT_USER";
    for (int depth = random() % 4; depth > 0; --depth) {
      std::string name = randomName(random, 12);
      path += "\\" + (name.empty() || name.find('\\') != std::string::npos ? "k" : name);
    }
    reg::Key &key = tree.ensure(path, nullptr);
    for (int v = random() % 5; v > 0; --v) {
      uint32_t type = kTypes[random() % std::size(kTypes)];
      Bytes data(random() % 3 == 0 ? random() % 200 : random() % 6);
      for (uint8_t &byte : data) byte = static_cast<uint8_t>(random() % 3 == 0 ? random() : 'a' + random() % 26);
      if (type == 1 && random() % 2 == 0) data.push_back(0);  // a terminated string
      reg::storeValue(key, randomName(random, 10), type, data.data(), data.size());
    }
  }
  return tree;
}

// Every key path, and every value's key, name, type and data, in order.
std::vector<std::tuple<std::string, std::string, uint32_t, Bytes>> flatten(const reg::Tree &tree) {
  std::vector<std::tuple<std::string, std::string, uint32_t, Bytes>> out;
  for (const reg::Key *key : tree.keysInOrder()) {
    out.emplace_back(key->path, "", 0, Bytes{});
    for (const reg::Value &v : key->values) out.emplace_back(key->path, v.name, v.type, v.data);
  }
  return out;
}

TEST(RegistryFormat, EveryTreeReadsBackAsWritten) {
  std::mt19937 random(2024);
  for (int round = 0; round < 300; ++round) {
    reg::Tree tree = randomTree(random), back;
    std::string text = reg::formatRegistryText(tree);
    reg::ParseError error;
    ASSERT_TRUE(reg::parseRegistryText(text, back, error)) << error.line << ": " << error.message << "\n" << text;
    EXPECT_EQ(flatten(back), flatten(tree)) << text;
    EXPECT_EQ(reg::formatRegistryText(back), text);
  }
}

// How values look in the file, pinned where another form would read back
// the same: quoted text only for printable ASCII with its terminator, dword:
// for four bytes, hex: for binary, long lists continued on indented lines.
TEST(RegistryFormat, ValuesAreWrittenInTheirUsualForms) {
  Bytes large(300);
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<uint8_t>(i * 7);
  const std::vector<std::pair<reg::Value, std::string>> cases = {
      {{"Windows Code Page", 0x80000002, {0x52, 0x03}}, "\"Windows Code Page\"=hex(80000002):52,03"},
      {{"Text", 1, {'a', '\\', '"', 'b', 0}}, "\"Text\"=\"a\\\\\\\"b\""},
      {{"", 1, {'d', 0}}, "@=\"d\""},
      {{"Count", 4, {0x2A, 0, 0, 0x80}}, "\"Count\"=dword:8000002a"},
      {{"Binary", 3, {0xFF}}, "\"Binary\"=hex:ff"},
      {{"Empty", 0x80000008, {}}, "\"Empty\"=hex(80000008):"},
      {{"Latin", 1, {0xE9, 0}}, "\"Latin\"=hex(1):e9,00"},
  };
  for (const auto &[value, line] : cases) EXPECT_EQ(reg::formatValueLine(value), line);
  const std::string wrapped = reg::formatValueLine({"Large", 0x80000001, large});
  EXPECT_EQ(wrapped.rfind("\"Large\"=hex(80000001):00,07,", 0), 0u);
  EXPECT_NE(wrapped.find(",\\\n  "), std::string::npos);
  reg::Tree tree;
  reg::storeValue(tree.ensure("HKEY_CURRENT_USER\\Software", nullptr), "v", 3, large.data(), 1);
  EXPECT_EQ(reg::formatRegistryText(tree), "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER]\n"
                                           "\n[HKEY_CURRENT_USER\\Software]\n\"v\"=hex:00\n");
}

TEST(RegistryFormat, ReadsTheFormsPeopleWrite) {
  const std::string text =
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
      "\r\n"
      "; comment\n"
      "  [HKEY_CURRENT_USER\\Software\\Odd]Name]  \n"
      "@=\"default\"\n"
      "\"Split\"=hex(80000002):\\\n"
      "  52,\\\n"
      "  03\n"
      "\"Short\"=dword:2A\n"
      "\"Case\"=hex:0F,a0\n"
      "\"case\"=hex:01\n";  // the same name again: the later one counts
  reg::Tree tree;
  reg::ParseError error;
  ASSERT_TRUE(reg::parseRegistryText(text, tree, error)) << error.line << ": " << error.message;
  const reg::Key *key = tree.find("HKEY_CURRENT_USER\\SOFTWARE\\odd]name");
  ASSERT_NE(key, nullptr);
  ASSERT_NE(tree.find("HKEY_CURRENT_USER\\Software"), nullptr);  // parents exist
  ASSERT_EQ(key->values.size(), 4u);
  for (const auto &[name, type, data] : std::vector<std::tuple<const char *, uint32_t, Bytes>>{
           {"", 1, {'d', 'e', 'f', 'a', 'u', 'l', 't', 0}},
           {"split", 0x80000002, {0x52, 0x03}},
           {"Short", 4, {0x2A, 0, 0, 0}},
           {"CASE", 3, {1}}}) {  // hex: without a type
    ASSERT_NE(reg::findValue(*key, name), nullptr) << name;
    EXPECT_EQ(std::tie(reg::findValue(*key, name)->type, reg::findValue(*key, name)->data), std::tie(type, data));
  }
  EXPECT_TRUE(reg::parseRegistryText("", tree, error));  // an empty file: an empty registry
  EXPECT_TRUE(tree.empty());
}

TEST(RegistryFormat, TextThatDoesNotParseSaysWhereAndWhy) {
  struct BrokenText {
    std::string text;
    std::size_t line;
    const char *message;  // part of the error message
  };
  const std::string header = std::string(reg::kFileHeader) + "\n";
  const std::string user = header + "[HKEY_CURRENT_USER]\n";
  std::string deepKey = "[HKEY_CURRENT_USER";
  for (std::size_t i = 0; i <= reg::kMaxKeyDepth; ++i) deepKey += "\\k";
  const std::vector<BrokenText> cases = {
      {"REGEDIT4\n", 1, "expected the header"},
      {std::string("\xFF\xFEW\0", 4), 1, "UTF-16"},
      {header + "\"v\"=dword:1\n", 2, "before the first [KEY]"},
      {header + "\n[HKEY_CURRENT_USER\\Software\n", 3, "closing ']'"},
      {header + "[HKEY_NOWHERE\\X]\n", 2, "unknown root key \"HKEY_NOWHERE\""},
      {header + "[HKEY_CURRENT_USER\\\\X]\n", 2, "empty key name"},
      {header + "[-HKEY_CURRENT_USER\\X]\n", 2, "not supported"},
      {header + deepKey + "]\n", 2, "deeper than 512"},
      {header + "[HKEY_CURRENT_USER\\" + std::string(256, 'n') + "]\n", 2, "longer than 255"},
      {user + "\"v\"=hex(80000002):52,zz\n", 3, "invalid hex byte \"zz\""},
      {user + "\"v\"=hex:123\n", 3, "invalid hex byte"},    {user + "\"v\"=hex:01 02\n", 3, "expected ','"},
      {user + "\"v\"=hex:01,\n", 3, "ends with ','"},       {user + "\"v\"=hex:01,\\\n", 3, "past the end"},
      {user + "\"v\"=hex:01,\\\n\n", 4, "ends with ','"},
      {user + "\"v\"=qword:00\n", 3, "unknown value type \"qword\""},
      {user + "\"v\"=hex(123456789):00\n", 3, "invalid type"}, {user + "\"v\"=dword:\n", 3, "invalid dword"},
      {user + "\"v=\"x\"\n", 3, "expected '='"},
      {user + "\"v\"=\"unterminated\n", 3, "unterminated string"},
      {user + "\"v\"=\"text\" tail\n", 3, "after the string"},
      {user + "\"v\"=\"C:\\dir\"\n", 3, "unknown escape"},
      {user + "\"unterminated\nv=1\n", 3, "unterminated value name"},  // the first error counts
      {user + "\"v\"=-\n", 3, "not supported"},            {user + "v=1\n", 3, "unrecognised line"},
      {user + "\"v\"=hex:" + std::string(reg::kMaxLineBytes, '0') + "\n", 3, "line is longer than"},
  };
  for (const BrokenText &broken : cases) {
    reg::Tree tree;
    reg::ParseError error;
    EXPECT_FALSE(reg::parseRegistryText(broken.text, tree, error)) << broken.text.substr(0, 80);
    EXPECT_EQ(error.line, broken.line) << broken.text.substr(0, 80);
    EXPECT_NE(error.message.find(broken.message), std::string::npos) << error.message;
  }
}

// A value of exactly the largest size reads; a byte more is refused, as a
// hex list (on continuation lines too) and as a string with its terminator.
TEST(RegistryFormat, ValuesUpToTheSizeLimit) {
  const std::string user = std::string(reg::kFileHeader) + "\n[HKEY_CURRENT_USER]\n";
  for (std::size_t size : {reg::kMaxValueBytes, reg::kMaxValueBytes + 1}) {
    std::string hex = "\"v\"=hex:00", continued = hex;
    for (std::size_t i = 1; i < size; ++i) {
      hex += ",00";
      continued += i % 20 == 19 ? ",\\\n00" : ",00";
    }
    const std::string quoted = "\"v\"=\"" + std::string(size - 1, 'a') + "\"";
    for (const std::string &line : {hex, continued, quoted}) {
      reg::Tree tree;
      reg::ParseError error;
      const bool fits = size == reg::kMaxValueBytes;
      ASSERT_EQ(reg::parseRegistryText(user + line + "\n", tree, error), fits) << line.substr(0, 12);
      if (fits) EXPECT_EQ(tree.find("HKEY_CURRENT_USER")->values[0].data.size(), size);
      if (!fits) EXPECT_NE(error.message.find("larger than 1048576 bytes"), std::string::npos);
    }
  }
}

}  // namespace
