// The registry file format: whatever the store holds, the file gives back.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "regdb/format.h"
#include "regdb/tree.h"

namespace {

namespace reg = qstr::regdb;

// A name of printable bytes, the format's special characters and bytes above
// ASCII included.
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
      if (name.empty() || name.find('\\') != std::string::npos) name = "k";
      path += "\\" + name;
    }
    reg::Key &key = tree.ensure(path, nullptr);
    for (int v = random() % 5; v > 0; --v) {
      uint32_t type = kTypes[random() % std::size(kTypes)];
      std::vector<uint8_t> data(random() % 3 == 0 ? random() % 200 : random() % 6);
      for (uint8_t &byte : data) byte = static_cast<uint8_t>(random() % 3 == 0 ? random() : 'a' + random() % 26);
      if (type == 1 && random() % 2 == 0) data.push_back(0);  // a terminated string
      reg::storeValue(key, randomName(random, 10), type, data.data(), data.size());
    }
  }
  return tree;
}

TEST(RegistryFormat, EveryTreeReadsBackAsWritten) {
  std::mt19937 random(2024);
  for (int round = 0; round < 300; ++round) {
    reg::Tree tree = randomTree(random);
    std::string text = reg::formatRegistryText(tree);
    reg::Tree back;
    reg::ParseError error;
    ASSERT_TRUE(reg::parseRegistryText(text, back, error)) << error.line << ": " << error.message
                                                           << "\n" << text;
    std::vector<const reg::Key *> written = tree.keysInOrder(), read = back.keysInOrder();
    ASSERT_EQ(written.size(), read.size());
    for (std::size_t k = 0; k < written.size(); ++k) {
      EXPECT_EQ(read[k]->path, written[k]->path);
      ASSERT_EQ(read[k]->values.size(), written[k]->values.size()) << text;
      for (std::size_t v = 0; v < written[k]->values.size(); ++v) {
        const reg::Value &a = written[k]->values[v], &b = read[k]->values[v];
        EXPECT_EQ(b.name, a.name);
        EXPECT_EQ(b.type, a.type);
        EXPECT_EQ(b.data, a.data) << reg::formatValueLine(a);
      }
    }
    EXPECT_EQ(reg::formatRegistryText(back), text);
  }
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
  EXPECT_EQ(reg::findValue(*key, "")->data, (std::vector<uint8_t>{'d', 'e', 'f', 'a', 'u', 'l', 't', 0}));
  EXPECT_EQ(reg::findValue(*key, "split")->data, (std::vector<uint8_t>{0x52, 0x03}));
  EXPECT_EQ(reg::findValue(*key, "split")->type, 0x80000002u);
  EXPECT_EQ(reg::findValue(*key, "Short")->data, (std::vector<uint8_t>{0x2A, 0, 0, 0}));
  EXPECT_EQ(reg::findValue(*key, "CASE")->data, (std::vector<uint8_t>{1}));
  EXPECT_TRUE(reg::parseRegistryText("", tree, error));  // an empty file: an empty registry
  EXPECT_TRUE(tree.empty());
}

}  // namespace
