// CKZKey: keys by path, locked values, and link values read and written
// through the resolver.
#include <random>
#include <string>
#include <vector>

#include "fixture.h"
#include "registry/ckzkey.h"
#include "registry/link_resolver.h"

namespace {

using namespace registry_test;
using qstr::registry::CKZKey;
namespace r = qstr::registry;

constexpr const char *kLinks = "HKEY_CURRENT_USER\\Software\\Links";

std::vector<uint8_t> utf16Bytes(std::u16string_view text) {
  std::vector<uint8_t> out;
  for (char16_t unit : text) {
    out.push_back(static_cast<uint8_t>(unit));
    out.push_back(static_cast<uint8_t>(unit >> 8));
  }
  out.push_back(0);
  out.push_back(0);
  return out;
}

std::u16string textOf(const std::vector<uint8_t> &bytes) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8));
  }
  return text.substr(0, text.find(u'\0'));
}

void put(const char *path, const char *name, uint32_t type, const std::vector<uint8_t> &data) {
  CKZKey key(path, kReadWrite);
  ASSERT_NE(key.Key(), 0u) << path;
  ASSERT_EQ(key.SetValue(name, type, data.data(), static_cast<uint32_t>(data.size()), 0, 1), 0);
}

void putLink(const char *name, std::u16string_view expression, const char *path = kLinks) {
  put(path, name, r::kLinkType, utf16Bytes(expression));
}

struct Reading {
  int32_t status = -1;
  uint32_t type = 0;
  uint32_t lock = 0;
  std::vector<uint8_t> data;
  uint32_t resolverError = 0;
};

Reading read(const char *name, const char *path = kLinks, uint32_t capacity = 256, int resolve = 1) {
  Reading reading;
  CKZKey key(path, kReadWrite);
  reading.data.assign(capacity, 0xEE);
  uint32_t size = capacity;
  reading.status = key.QueryValue(name, &reading.type, &reading.lock, reading.data.data(), &size, resolve);
  if (reading.status == 0) reading.data.resize(size);
  reading.resolverError = key.ResolverError();
  return reading;
}

class CKZKeyTest : public InMemoryRegistryTest {};

struct PathCase {
  const char *path;
  int32_t status;
  bool open;
};

TEST_F(CKZKeyTest, PathsNameARootInAnyCase) {
  const std::vector<PathCase> cases = {
      {"HKEY_CURRENT_USER\\Software\\Paths", 0, true}, {"hkey_current_user\\Software\\Paths", 0, true},
      {"HKEY_CURRENT_USER", 0, true},                   {"hKey_Local_Machine\\Software", 0, true},
      {"HKEY_NOWHERE\\Software", host::kErrorBadKey, false}, {"Software\\Paths", host::kErrorBadKey, false},
      {"", host::kErrorBadKey, false},                  {nullptr, host::kErrorBadKey, false},
  };
  for (const PathCase &c : cases) {
    CKZKey key(c.path, kReadWrite);
    EXPECT_EQ(key.Status(), c.status) << (c.path ? c.path : "(null)");
    EXPECT_EQ(key.Key() != 0, c.open) << (c.path ? c.path : "(null)");
  }
  // Both spellings of the root reach one key; only the first creates it.
  CKZKey again("HKEY_CURRENT_USER\\Software\\Fresh", kReadWrite);
  EXPECT_TRUE(again.Created());
  CKZKey lower("hkey_current_user\\Software\\Fresh", kReadWrite);
  EXPECT_FALSE(lower.Created());
  const uint8_t one[] = {1};
  ASSERT_EQ(again.SetValue("v", 3, one, 1, 0, 0), 0);
  uint32_t size = 0;
  EXPECT_EQ(lower.QueryValue("v", nullptr, nullptr, nullptr, &size, 0), 0);
  EXPECT_EQ(size, 1u);
  // The length limit of paths.
  std::string longest = "HKEY_CURRENT_USER\\" + std::string(CKZKey::kMaxPathLength - 18, 'p');
  EXPECT_NE(CKZKey(longest.c_str(), kReadWrite).Key(), 0u);
  EXPECT_EQ(CKZKey((longest + "p").c_str(), kReadWrite).Status(), host::kErrorBadKey);
}

TEST_F(CKZKeyTest, LockedValuesAndTheirTypes) {
  put(kLinks, "Locked", 0x80000002 | r::kLockFlag, bytes({0x52, 0x03}));
  put(kLinks, "LockedDword", 0x40000004, bytes({7, 0, 0, 0}));
  CKZKey key(kLinks, kReadWrite);
  const uint8_t other[] = {0xE4, 0x04};
  EXPECT_EQ(key.SetValue("Locked", 0x80000002, other, 2, 1, 0), host::kErrorAccessDenied);
  Reading kept = read("Locked");
  EXPECT_EQ(kept.data, bytes({0x52, 0x03}));
  EXPECT_EQ(kept.type, 0x80000002u);
  EXPECT_EQ(kept.lock, r::kLockFlag);
  EXPECT_EQ(key.SetValue("Locked", 0x80000002, other, 2, 1, 1), 0);  // forced
  Reading forced = read("Locked");
  EXPECT_EQ(forced.data, bytes({0xE4, 0x04}));
  EXPECT_EQ(forced.lock, 0u);  // written with the type given
  Reading dword = read("LockedDword");
  EXPECT_EQ(dword.type, 4u);
  EXPECT_EQ(dword.lock, r::kLockFlag);
  EXPECT_EQ(dword.data, bytes({7, 0, 0, 0}));
  // Too small a buffer: 234 and the size needed; a missing value: 2.
  uint32_t type = 0, size = 2;
  uint8_t small[2];
  EXPECT_EQ(key.QueryValue("LockedDword", &type, nullptr, small, &size, 1), host::kErrorMoreData);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(read("Missing").status, host::kErrorFileNotFound);
}

TEST_F(CKZKeyTest, ALinkToAPlainValueReadsAndWritesThatValue) {
  put("HKEY_CURRENT_USER\\Software\\Target", "Code Page", 0x80000002, bytes({0x52, 0x03}));
  putLink("Relative", u"<Target\\Code Page>");
  putLink("Absolute", u"<\\HKEY_CURRENT_USER\\Software\\Target\\Code Page>");
  for (const char *name : {"Relative", "Absolute"}) {
    SCOPED_TRACE(name);
    Reading reading = read(name);
    EXPECT_EQ(reading.status, 0);
    EXPECT_EQ(reading.type, 0x80000002u);
    EXPECT_EQ(reading.data, bytes({0x52, 0x03}));
    EXPECT_EQ(reading.resolverError, 0u);
  }
  CKZKey key(kLinks, kReadWrite);
  const uint8_t written[] = {0xE4, 0x04};
  EXPECT_EQ(key.SetValue("Relative", 0x80000002, written, 2, 1, 0), 0);
  EXPECT_EQ(read("Code Page", "HKEY_CURRENT_USER\\Software\\Target").data, bytes({0xE4, 0x04}));
  EXPECT_EQ(read("Relative", kLinks, 256, 0).type, r::kLinkType);  // the link stays a link
  // Without resolving, the link is read as it is stored.
  Reading raw = read("Absolute", kLinks, 256, 0);
  EXPECT_EQ(textOf(raw.data), u"<\\HKEY_CURRENT_USER\\Software\\Target\\Code Page>");
  // A locked target refuses a write through the link; the link's own read
  // is what SetValue reports.
  put("HKEY_CURRENT_USER\\Software\\Target", "Code Page", 0x80000002 | r::kLockFlag, bytes({1, 1}));
  EXPECT_EQ(key.SetValue("Relative", 0x80000002, written, 2, 1, 0), 0);
  EXPECT_EQ(read("Code Page", "HKEY_CURRENT_USER\\Software\\Target").data, bytes({1, 1}));
}

TEST_F(CKZKeyTest, WritingThroughALinkToAMissingValueCreatesIt) {
  putLink("Forward", u"<Created\\Fresh Value>");
  CKZKey key(kLinks, kReadWrite);
  const uint8_t data[] = {9};
  EXPECT_EQ(key.SetValue("Forward", 3, data, 1, 1, 0), 0);
  Reading created = read("Fresh Value", "HKEY_CURRENT_USER\\Software\\Created");
  EXPECT_EQ(created.status, 0);
  EXPECT_EQ(created.data, bytes({9}));
  EXPECT_EQ(read("Forward").data, bytes({9}));  // and reads back through the link
}

TEST_F(CKZKeyTest, AStringValueReadThroughALinkBecomesUtf16) {
  put(kLinks, "Name", 1, bytes({'A', 'b', 0}));
  putLink("ToName", u"<Links\\Name>");
  Reading reading = read("ToName");
  EXPECT_EQ(reading.type, 1u);
  EXPECT_EQ(reading.data, bytes({'A', 0, 'b', 0, 0, 0}));
}

struct ExpressionCase {
  std::u16string expression;
  std::u16string text;  // the result's text, when the evaluation succeeds
  uint32_t error;       // resolver error, 0 for success
};

TEST_F(CKZKeyTest, ExpressionsEvaluateToText) {
  putLink("Pair", u"x|y");
  putLink("Digits", u"1|2");
  putLink("Single", u"z");
  putLink("Self", u"<Links\\Self>");
  putLink("Ping", u"<Links\\Pong>");
  putLink("Pong", u"<Links\\Ping>");
  put(kLinks, "Plain", 3, bytes({'P', 0}));
  const std::vector<ExpressionCase> cases = {
      {u"plain text", u"plain text", 0},
      {u"a*b", u"a*b", 0},  // a product after a literal is a literal
      {u"<Links\\Pair>*<Links\\Digits>", u"x1|x2|y1|y2", 0},
      {u"<Links\\Pair>*<Links\\Digits>*<Links\\Single>", u"x1z|x2z|y1z|y2z", 0},
      {u"pre<Links\\Single>post", u"prezpost", 0},     {u"pre<Links\\Missing>post", u"prepost", 0},
      {u"<Links\\Pair>*<Links\\Missing>", u"x|y", 0}, {u"<Links\\Pair>|<Links\\Digits>", u"x|y|1|2", 0},
      {u"\"a\"\"b\"", u"\"ab\"", 0},  // adjacent quotation marks go in pairs
      {u"\"\"", u"", 0},
      {u"\"a|b\"*<Links\\Pair>", u"\"a|b\"*x|y", 0},
      {u"\"unclosed", u"", r::kErrorUnclosedQuote},          {u"<Links\\Pair", u"", r::kErrorUnclosedReference},
      {u"<Links\\Pair>*text", u"", r::kErrorUnclosedReference}, {u"stray>close", u"", r::kErrorLinkCycle},
      {u"<Links\\Self>", u"", r::kErrorLinkCycle},            {u"<Links\\Ping>", u"", r::kErrorLinkCycle},
      {u"<LINKS\\self>", u"", r::kErrorLinkCycle},  // one atom, whatever the case
  };
  for (const ExpressionCase &c : cases) {
    SCOPED_TRACE(std::string(c.expression.begin(), c.expression.end()));
    putLink("Expr", c.expression);
    Reading reading = read("Expr");
    EXPECT_EQ(reading.status, 0);
    EXPECT_EQ(reading.resolverError, c.error);
    if (c.error == 0) {
      EXPECT_EQ(reading.type, r::kLinkType);
      EXPECT_EQ(textOf(reading.data), c.text);
      EXPECT_EQ(reading.data.size(), c.text.size() * 2 + 2);  // terminator counted
    } else {
      // The buffer holds what the plain read left: the link's own text.
      EXPECT_EQ(textOf(std::vector<uint8_t>(reading.data.begin(), reading.data.begin() + c.expression.size() * 2)),
                c.expression);
    }
  }
  // A plain value ends the evaluation: it is the whole result.
  putLink("Expr", u"ignored<Links\\Plain>also ignored");
  Reading plain = read("Expr");
  EXPECT_EQ(plain.type, 3u);
  EXPECT_EQ(plain.data, bytes({'P', 0}));
  // Atoms are released after a cycle: the name is held by nobody.
  uint16_t atom = host::addAtom("Links\\Self");
  ASSERT_NE(atom, 0);
  EXPECT_EQ(host::deleteAtom(atom), 0);
  EXPECT_EQ(host::deleteAtom(atom), atom);
}

TEST_F(CKZKeyTest, ChainsOfLinksAreBounded) {
  // Link i refers to link i+1; the last one to a plain value.
  auto buildChain = [](int links) {
    for (int i = 0; i < links; ++i) {
      std::string name = "Chain" + std::to_string(i);
      std::string next = i + 1 < links ? "Chain" + std::to_string(i + 1) : "End";
      std::u16string expression = u"<Links\\" + std::u16string(next.begin(), next.end()) + u">";
      putLink(name.c_str(), expression);
    }
  };
  put(kLinks, "End", 0x80000002, bytes({0x52, 0x03}));
  buildChain(r::kMaxLinkDepth);
  // A link followed inside a link makes text: the value's bytes, a
  // terminator, and the link type.
  Reading within = read("Chain0");
  EXPECT_EQ(within.resolverError, 0u);
  EXPECT_EQ(within.data, bytes({0x52, 0x03, 0, 0}));
  EXPECT_EQ(within.type, r::kLinkType);
  buildChain(r::kMaxLinkDepth + 1);
  Reading past = read("Chain0");
  EXPECT_EQ(past.resolverError, r::kErrorLinkCycle);
  EXPECT_EQ(past.status, 0);
  // The value in the middle of the long chain still resolves.
  EXPECT_EQ(read("Chain1").resolverError, 0u);
}

TEST_F(CKZKeyTest, ResultsLargerThanTheBufferAreCutAndTheirSizeReported) {
  putLink("Long", u"0123456789");
  CKZKey key(kLinks, kReadWrite);
  uint8_t buffer[9] = {};
  uint32_t size = 8;
  EXPECT_EQ(key.QueryValue("Long", nullptr, nullptr, buffer, &size, 1), 0);
  EXPECT_EQ(size, 22u);
  EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 9), bytes({'0', 0, '1', 0, '2', 0, '3', 0, 0}));
}

TEST_F(CKZKeyTest, TheSyntaxCharactersValueIsWrittenOnFirstUseAndHonoured) {
  CKZKey root("HKEY_CURRENT_USER", kReadWrite);
  uint32_t size = 0;
  ASSERT_EQ(root.QueryValue(r::kSyntaxValueName, nullptr, nullptr, nullptr, &size, 0),
            host::kErrorFileNotFound);
  putLink("Single", u"z");
  putLink("Expr", u"<Links\\Single>");
  EXPECT_EQ(textOf(read("Expr").data), u"z");
  Reading syntax = read(r::kSyntaxValueName, "HKEY_CURRENT_USER", 64, 0);
  EXPECT_EQ(syntax.type, 1u);
  EXPECT_EQ(syntax.data, bytes({'"', '*', '<', '>', '|', 0}));
  // Other characters, as a user may configure them.
  put("HKEY_CURRENT_USER", r::kSyntaxValueName, 1, bytes({'\'', '+', '[', ']', '/', 0}));
  putLink("Pair", u"x/y");
  putLink("Expr", u"[Links\\Pair]+[Links\\Single]<kept>");
  EXPECT_EQ(textOf(read("Expr").data), u"xz/yz<kept>");
  // A value of another type is replaced by the default; a string too short
  // or too long to read is kept, and the default applies.
  put("HKEY_CURRENT_USER", r::kSyntaxValueName, 3, bytes({1}));
  read("Expr");
  EXPECT_EQ(read(r::kSyntaxValueName, "HKEY_CURRENT_USER", 64, 0).type, 1u);
  putLink("Expr", u"<Links\\Single>");
  const std::vector<uint8_t> longString = bytes({'\'', '+', '[', ']', '/', 'a', 'b', 'c', 'd', 'e', 'f', 'g',
                                                 'h', 'i', 'j', 'k', 0});
  for (const std::vector<uint8_t> &kept : {bytes({'a', 0}), longString}) {
    put("HKEY_CURRENT_USER", r::kSyntaxValueName, 1, kept);
    EXPECT_EQ(textOf(read("Expr").data), u"z");
    EXPECT_EQ(read(r::kSyntaxValueName, "HKEY_CURRENT_USER", 64, 0).data, kept);
  }
}

TEST_F(CKZKeyTest, AProductPastTheWorkBufferFailsCleanly) {
  std::u16string alternatives;
  for (int i = 0; i < 200; ++i) alternatives += (i ? u"|" : u"") + std::u16string(40, u'a' + i % 26);
  putLink("Many", alternatives);
  putLink("Expr", u"<Links\\Many>*<Links\\Many>");  // 40000 alternatives of 80 units
  Reading reading = read("Expr");
  EXPECT_EQ(reading.status, 0);
  EXPECT_EQ(reading.resolverError, r::kErrorOutOfMemory);
  putLink("Expr", u"<Links\\Many>*<Links\\Single>");
  putLink("Single", u"!");
  Reading fits = read("Expr", kLinks, 20000);
  EXPECT_EQ(fits.resolverError, 0u);
  EXPECT_EQ(fits.data.size(), (200 * 42 - 1) * 2 + 2u);
}

// Random expressions over the syntax characters and a few references, some
// of them cyclic: every evaluation ends, with text or an error, and holds no
// atom afterwards.
TEST_F(CKZKeyTest, RandomExpressionsAlwaysEnd) {
  putLink("A", u"a|b");
  putLink("B", u"<Links\\C>*<Links\\A>");
  putLink("C", u"<Links\\B>");
  put(kLinks, "P", 4, bytes({1, 2, 3, 4}));
  const std::u16string pieces[] = {u"\"", u"*", u"<", u">", u"|", u"x", u"<Links\\A>",
                                   u"<Links\\B>", u"<Links\\P>", u"<Links\\Missing>", u"\\"};
  std::mt19937 random(7);
  CKZKey key(kLinks, kReadWrite);
  for (int round = 0; round < 400; ++round) {
    std::u16string expression;
    for (int i = random() % 12; i > 0; --i) expression += pieces[random() % std::size(pieces)];
    std::vector<uint8_t> data = utf16Bytes(expression);
    ASSERT_EQ(key.SetValue("R", r::kLinkType, data.data(), static_cast<uint32_t>(data.size()), 0, 0), 0);
    std::vector<uint8_t> buffer(4096);
    uint32_t size = static_cast<uint32_t>(buffer.size());
    EXPECT_EQ(key.QueryValue("R", nullptr, nullptr, buffer.data(), &size, 1), 0);
  }
  for (const char *name : {"Links\\A", "Links\\B", "Links\\C"}) {
    uint16_t atom = host::addAtom(name);
    EXPECT_EQ(host::deleteAtom(atom), 0);
    EXPECT_EQ(host::deleteAtom(atom), atom) << name;
  }
}

}  // namespace
