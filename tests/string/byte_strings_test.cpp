#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "qstr14/strings.h"
#include "support/host_profile.h"

namespace {

using namespace std::string_literals;
using qstr::test::ScopedProfile;
const qstr::test::Environment kJapanese = {{"LANG", "ja_JP"}};

// Destinations start as 8 guard bytes 0x55 ('U'), so that every byte a
// function writes can be seen, and none past a limit goes unnoticed.
std::string guarded() { return "UUUUUUUU"; }

const std::string kAbHiragana = "ab\x82\xA0";  // one double-byte character in 932 after "ab"

TEST(ByteStrings, BoundedCopyWithPadding) {
  struct Case {
    std::string source;  // without its terminator
    uint32_t n;
    std::string expected;  // the destination afterwards
    bool japanese;
  };
  const std::vector<Case> cases = {
      {"ab", 5, "ab\0\0\0UUU"s, false},
      {"abcdef", 3, "abcUUUUU", false},
      {"abcdef", 0, "UUUUUUUU", false},
      {"", 2, "\0\0UUUUUU"s, false},
      {kAbHiragana, 3, "abUUUUUU", true},  // the lead would end the copy
      {kAbHiragana, 4, "ab\x82\xA0UUUU", true},
      {kAbHiragana, 5, "ab\x82\xA0\0UUU"s, true},
      {kAbHiragana, 3, "ab\x82UUUUU", false},  // 1252: no lead bytes
  };
  for (const Case &c : cases) {
    ScopedProfile profile(c.japanese ? kJapanese : qstr::test::Environment{{"LANG", "en_US"}});
    std::string dst = guarded();
    EXPECT_EQ(wstrncpy(dst.data(), c.source.c_str(), c.n), dst.data());
    EXPECT_EQ(dst, c.expected) << c.source << " n=" << c.n;
  }
}

TEST(ByteStrings, CopyUpToAndNullTerminate) {
  ScopedProfile profile(kJapanese);
  struct Case {
    std::string source;
    int32_t size;
    std::string expected;  // the destination afterwards
  };
  const std::vector<Case> cases = {
      {"abcdef", 4, "abc\0UUUU"s},
      {"ab", 8, "ab\0\0UUUU"s},  // one more zero after a copied terminator
      {"abc", 1, "\0UUUUUUU"s},
      {"abc", 0, "UUUUUUUU"},
      {"abc", -3, "UUUUUUUU"},
      // Dropped whole: the terminator takes the lead's place (the trail byte
      // stays behind it, inside the buffer).
      {"\x82\xA0", 2, "\0\xA0UUUUUU"s},
      {"\x82\xA0", 3, "\x82\xA0\0UUUUU"s},
      {"a\x82\xA0" "b", 3, "a\0\xA0UUUUU"s},
      {"\x82", 8, "\0\0UUUUUU"s},  // lone lead before the terminator
  };
  for (const Case &c : cases) {
    std::string dst = guarded();
    CopyUpToAndNullTerminate(dst.data(), c.source.c_str(), c.size);
    EXPECT_EQ(dst, c.expected) << c.source << " size=" << c.size;
    if (c.size >= 1) EXPECT_LT(std::strlen(dst.c_str()), static_cast<std::size_t>(c.size));
  }
}

TEST(ByteStrings, BoundedConcatenation) {
  for (const auto &[n, expected] : std::vector<std::pair<uint32_t, std::string>>{
           {2, "xab\0UUUU"s}, {9, "xabc\0UUU"s}, {3, "xabc\0UUU"s}, {0, "x\0UUUUUU"s}}) {
    std::string dst = "x\0UUUUUU"s;
    EXPECT_EQ(wstrncat(dst.data(), "abc", n), dst.data());
    EXPECT_EQ(dst, expected) << n;
  }
}

TEST(ByteStrings, CompareAndSearch) {
  EXPECT_EQ(wstrlen(nullptr), 0u);
  EXPECT_EQ(wstrlen("abc"), 3u);
  EXPECT_EQ(wstrcmp("abc", "abc"), 0);
  EXPECT_EQ(wstrcmp("abc", "abd"), 'c' - 'd');
  EXPECT_EQ(wstrcmp("ab", "abc"), -'c');
  EXPECT_EQ(wstrcmp("\xE9", "e"), 0xE9 - 'e');  // bytes compare unsigned
  EXPECT_EQ(wstrcmp(nullptr, "x"), 0);
  EXPECT_EQ(wstrncmp("abcx", "abcy", 3), 0);
  EXPECT_EQ(wstrncmp("abcx", "abcy", 4), 'x' - 'y');
  EXPECT_EQ(wstrncmp("a", "b", 0), 0);
  EXPECT_EQ(wstrncmp("a", "b", -1), 0);
  EXPECT_EQ(wstrncmp("ab", "ab", 10), 0);

  const char text[] = "abcabc";
  EXPECT_EQ(wstrchr(text, 'b'), text + 1);
  EXPECT_EQ(wstrrchr(text, 'b'), text + 4);
  EXPECT_EQ(wstrchr(text, 0), nullptr);
  EXPECT_EQ(wstrrchr(text, 0), nullptr);
  EXPECT_EQ(wstrchr(text, 'z'), nullptr);
  EXPECT_EQ(wstrrchr("", 'a'), nullptr);
  EXPECT_EQ(wstrrchr(nullptr, 'a'), nullptr);
  EXPECT_EQ(wstrchr(text, 0x162), text + 1);  // only the low 8 bits count

  char dst[8] = "x";
  EXPECT_EQ(wstrcpy(nullptr, "a"), nullptr);
  EXPECT_EQ(wstrcpy(dst, nullptr), nullptr);
  EXPECT_STREQ(dst, "x");
  EXPECT_EQ(wstrcat(wstrcpy(dst, "ab"), "cd"), dst);
  EXPECT_STREQ(dst, "abcd");
}

}  // namespace
