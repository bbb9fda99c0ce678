#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "qstr14/strings.h"
#include "support/host_profile.h"

namespace {

using qstr::test::ScopedProfile;
const qstr::test::Environment kJapanese = {{"LANG", "ja_JP"}};

// A destination buffer filled with guard bytes, so that every byte a
// function writes can be seen, and none past a limit goes unnoticed.
std::string guarded(std::size_t size) { return std::string(size, '\x55'); }

const char kHiragana[] = "\x82\xA0";  // one double-byte character in 932

struct NCopyCase {
  std::string source;  // without its terminator
  uint32_t n;
  std::string expected;  // the first 8 bytes of the destination afterwards
  bool japanese;
};

TEST(ByteStrings, BoundedCopyWithPadding) {
  const std::vector<NCopyCase> cases = {
      {"ab", 5, std::string("ab\0\0\0", 5) + "\x55\x55\x55", false},
      {"abcdef", 3, "abc\x55\x55\x55\x55\x55", false},
      {"abcdef", 0, std::string(8, '\x55'), false},
      {"", 2, std::string("\0\0", 2) + std::string(6, '\x55'), false},
      {std::string("ab") + kHiragana, 3, "ab\x55\x55\x55\x55\x55\x55", true},  // the lead would end the copy
      {std::string("ab") + kHiragana, 4, "ab\x82\xA0\x55\x55\x55\x55", true},
      {std::string("ab") + kHiragana, 5, std::string("ab\x82\xA0\0", 5) + "\x55\x55\x55", true},
      {std::string("ab") + kHiragana, 3, "ab\x82\x55\x55\x55\x55\x55", false},  // 1252: no lead bytes
  };
  for (const NCopyCase &c : cases) {
    ScopedProfile profile(c.japanese ? kJapanese : qstr::test::Environment{{"LANG", "en_US"}});
    std::string dst = guarded(8);
    EXPECT_EQ(wstrncpy(dst.data(), c.source.c_str(), c.n), dst.data());
    EXPECT_EQ(dst, c.expected) << c.source << " n=" << c.n;
  }
}

struct TerminatedCopyCase {
  std::string source;
  int32_t size;
  std::string expected;  // the destination's first 8 bytes
};

TEST(ByteStrings, CopyUpToAndNullTerminate) {
  ScopedProfile profile(kJapanese);
  const std::string u = "\x55";
  const std::vector<TerminatedCopyCase> cases = {
      {"abcdef", 4, std::string("abc\0", 4) + u + u + u + u},
      {"ab", 8, std::string("ab\0\0", 4) + u + u + u + u},  // one more zero after a copied terminator
      {"abc", 1, std::string("\0", 1) + std::string(7, '\x55')},
      {"abc", 0, std::string(8, '\x55')},
      {"abc", -3, std::string(8, '\x55')},
      // Dropped whole: the terminator takes the lead's place (the trail byte
      // stays behind it, inside the buffer).
      {kHiragana, 2, std::string("\0\xA0", 2) + std::string(6, '\x55')},
      {kHiragana, 3, std::string("\x82\xA0\0", 3) + std::string(5, '\x55')},
      {std::string("a") + kHiragana + "b", 3, std::string("a\0", 2) + "\xA0" + std::string(5, '\x55')},
      {"\x82", 8, std::string("\0\0", 2) + std::string(6, '\x55')},  // lone lead before the terminator
  };
  for (const TerminatedCopyCase &c : cases) {
    std::string dst = guarded(8);
    CopyUpToAndNullTerminate(dst.data(), c.source.c_str(), c.size);
    EXPECT_EQ(dst, c.expected) << c.source << " size=" << c.size;
    if (c.size >= 1) {
      EXPECT_LT(std::strlen(dst.c_str()), static_cast<std::size_t>(c.size));
    }
  }
}

TEST(ByteStrings, BoundedConcatenation) {
  struct Case {
    const char *start;
    const char *source;
    uint32_t n;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"x", "abc", 2, std::string("xab\0", 4) + "\x55\x55\x55\x55"},
      {"x", "abc", 9, std::string("xabc\0", 5) + "\x55\x55\x55"},
      {"x", "abc", 3, std::string("xabc\0", 5) + "\x55\x55\x55"},
      {"x", "abc", 0, std::string("x\0", 2) + std::string(6, '\x55')},
  };
  for (const Case &c : cases) {
    std::string dst = guarded(8);
    std::memcpy(dst.data(), c.start, std::strlen(c.start) + 1);
    EXPECT_EQ(wstrncat(dst.data(), c.source, c.n), dst.data());
    EXPECT_EQ(dst, c.expected) << c.n;
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
