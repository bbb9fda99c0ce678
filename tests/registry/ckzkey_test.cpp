// CKZKey: keys by path, locked values, links read and written through the resolver and its bounded
// work buffer; the host's atoms and pages below them; the sorted search list.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "host/host.h"
#include "registry/ckzkey.h"
#include "registry/link_resolver.h"
#include "registry/search_list.h"
#include "registry/work_buffer.h"
#include "support/machine.h"

namespace {

using qstr::registry::CKZKey;
using qstr::registry::KZSEARCHLIST;
namespace r = qstr::registry;
namespace host = qstr::host;
using Bytes = std::vector<uint8_t>;

constexpr const char *kLinks = "HKEY_CURRENT_USER\\Software\\Links";
constexpr const char *kTarget = "HKEY_CURRENT_USER\\Software\\Target";
constexpr uint32_t kPageType = 0x80000002;
constexpr uint32_t kAll = 0x2001F;

Bytes utf16(std::u16string_view text) {
  Bytes out;
  for (char16_t unit : text) out.insert(out.end(), {uint8_t(unit), uint8_t(unit >> 8)});
  out.insert(out.end(), {0, 0});
  return out;
}

void put(const char *path, const char *name, uint32_t type, const Bytes &data) {
  ASSERT_EQ(CKZKey(path, kAll).SetValue(name, type, data.data(), uint32_t(data.size()), 0, 1), 0) << path;
}

void putLink(const char *name, std::u16string_view text) { put(kLinks, name, r::kLinkType, utf16(text)); }

struct Reading {
  int32_t status;
  uint32_t type, lock;
  Bytes data;
  uint32_t error = 0;
  bool operator==(const Reading &) const = default;
};

Reading read(const char *name, const char *path = kLinks, uint32_t capacity = 256, int resolve = 1) {
  Reading reading{-1, 0, 0, Bytes(capacity, 0xEE)};
  CKZKey key(path, kAll);
  reading.status = key.QueryValue(name, &reading.type, &reading.lock, reading.data.data(), &capacity, resolve);
  if (reading.status == 0) reading.data.resize(capacity);
  reading.error = key.ResolverError();
  return reading;
}

class CKZKeyTest : public ::testing::Test {
  qstr::test::Machine machine_{qstr::test::Environment{}};
};

TEST_F(CKZKeyTest, PathsNameARootInAnyCase) {
  for (const auto &[path, open] : std::vector<std::pair<const char *, bool>>{
           {"HKEY_CURRENT_USER", true}, {"hKey_Local_Machine\\Software", true}, {"HKEY_NOWHERE\\Software", false},
           {"Software\\Paths", false}, {"", false}, {nullptr, false}}) {
    CKZKey key(path, kAll);
    EXPECT_EQ(key.Status(), open ? 0 : host::kErrorBadKey) << (path ? path : "(null)");
    EXPECT_EQ(key.Key() != 0, open);
  }
  EXPECT_TRUE(CKZKey("HKEY_CURRENT_USER\\Software\\Fresh", kAll).Created());
  EXPECT_FALSE(CKZKey("hkey_current_user\\Software\\Fresh", kAll).Created());
  EXPECT_TRUE(CKZKey(host::kHkeyCurrentUser, "Software\\Other").Created());
  EXPECT_FALSE(CKZKey(host::kHkeyCurrentUser, "Software\\Fresh").Created());
  std::string longest = "HKEY_CURRENT_USER\\" + std::string(CKZKey::kMaxPathLength - 18, 'p');
  EXPECT_NE(CKZKey(longest.c_str(), kAll).Key(), 0u);
  EXPECT_EQ(CKZKey((longest + "p").c_str(), kAll).Status(), host::kErrorBadKey);
}

TEST_F(CKZKeyTest, LockedValuesAndTheirTypes) {
  put(kLinks, "Locked", kPageType | r::kLockFlag, {0x52, 0x03});
  put(kLinks, "LockedDword", 0x40000004, {7, 0, 0, 0});
  CKZKey key(kLinks, kAll);
  uint8_t other[] = {0xE4, 0x04};
  EXPECT_EQ(key.SetValue("Locked", kPageType, other, 2, 1, 0), host::kErrorAccessDenied);
  EXPECT_EQ(read("Locked"), (Reading{0, kPageType, r::kLockFlag, {0x52, 0x03}}));
  EXPECT_EQ(key.SetValue("Locked", kPageType, other, 2, 1, 1), 0);  // forced
  EXPECT_EQ(read("Locked"), (Reading{0, kPageType, 0, {0xE4, 0x04}}));
  EXPECT_EQ(read("LockedDword"), (Reading{0, 4, r::kLockFlag, {7, 0, 0, 0}}));
  uint32_t size = 2;
  EXPECT_EQ(key.QueryValue("LockedDword", nullptr, nullptr, other, &size, 1), host::kErrorMoreData);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(read("Missing").status, host::kErrorFileNotFound);
}

// Writes through a link create a missing value but leave a locked one; strings read become UTF-16.
TEST_F(CKZKeyTest, ALinkToAPlainValueReadsAndWritesThatValue) {
  put(kTarget, "Code Page", kPageType, {0x52, 0x03});
  const std::u16string absolute = u"<\\HKEY_CURRENT_USER\\Software\\Target\\Code Page>";
  putLink("Relative", u"<Target\\Code Page>");
  putLink("Absolute", absolute);
  EXPECT_EQ(read("Relative"), (Reading{0, kPageType, 0, {0x52, 0x03}}));
  EXPECT_EQ(read("Absolute"), (Reading{0, kPageType, 0, {0x52, 0x03}}));
  // A rooted single name is a value of HKEY_CURRENT_USER, even a root's name.
  put("HKEY_CURRENT_USER", "HKEY_USERS", 3, {9});
  putLink("Rooted", u"<\\HKEY_USERS>");
  EXPECT_EQ(read("Rooted"), (Reading{0, 3, 0, {9}}));
  Bytes stored = read("Absolute", kLinks, 256, 0).data;
  stored.resize(utf16(absolute).size());
  EXPECT_EQ(stored, utf16(absolute));
  CKZKey key(kLinks, kAll);
  const uint8_t written[] = {0xE4, 0x04};
  EXPECT_EQ(key.SetValue("Relative", kPageType, written, 2, 1, 0), 0);
  EXPECT_EQ(read("Code Page", kTarget).data, (Bytes{0xE4, 0x04}));
  EXPECT_EQ(read("Relative", kLinks, 256, 0).type, r::kLinkType);
  // SetValue reports the link's own read, whatever the write did.
  put(kTarget, "Code Page", kPageType | r::kLockFlag, {1, 1});
  EXPECT_EQ(key.SetValue("Relative", kPageType, written, 2, 1, 0), 0);
  EXPECT_EQ(read("Code Page", kTarget).data, (Bytes{1, 1}));
  putLink("Forward", u"<Created\\Fresh Value>");
  EXPECT_EQ(key.SetValue("Forward", 3, written, 1, 1, 0), 0);
  EXPECT_EQ(read("Fresh Value", "HKEY_CURRENT_USER\\Software\\Created").data, Bytes{0xE4});
  EXPECT_EQ(key.SetValue("Rooted", 3, written, 1, 1, 0), 0);
  EXPECT_EQ(read("HKEY_USERS", "HKEY_CURRENT_USER").data, Bytes{0xE4});
  put(kLinks, "Name", 1, {'A', 'b', 0});
  putLink("ToName", u"<Links\\Name>");
  EXPECT_EQ(read("ToName"), (Reading{0, 1, 0, {'A', 0, 'b', 0, 0, 0}}));
}

// A failed expression leaves the link's own text; a plain value referred to is the whole result;
// atoms of a cycle are released.
TEST_F(CKZKeyTest, ExpressionsEvaluateToText) {
  putLink("Pair", u"x|y");
  putLink("Digits", u"1|2");
  putLink("Single", u"z");
  putLink("Self", u"<Links\\Self>");
  putLink("Ping", u"<Links\\Pong>");
  putLink("Pong", u"<Links\\Ping>");
  put(kLinks, "Plain", 3, {'P', 0});
  const std::vector<std::tuple<std::u16string, std::u16string, uint32_t>> cases = {
      {u"plain text", u"plain text", 0}, {u"a*b", u"a*b", 0} /* '*' after a literal is text */,
      {u"<Links\\Pair>*<Links\\Digits>", u"x1|x2|y1|y2", 0},
      {u"<Links\\Pair>*<Links\\Digits>*<Links\\Single>", u"x1z|x2z|y1z|y2z", 0},
      {u"pre<Links\\Single>post", u"prezpost", 0},     {u"pre<Links\\Missing>post", u"prepost", 0},
      {u"<Links\\Pair>*<Links\\Missing>", u"x|y", 0}, {u"<Links\\Pair>|<Links\\Digits>", u"x|y|1|2", 0},
      {u"\"a\"\"b\"", u"\"ab\"", 0} /* quotation marks go in pairs */, {u"\"\"", u"", 0},
      {u"\"a|b\"*<Links\\Pair>", u"\"a|b\"*x|y", 0}, {u"\"unclosed", u"", r::kErrorUnclosedQuote},
      {u"<Links\\Pair", u"", r::kErrorUnclosedReference}, {u"stray>close", u"", r::kErrorLinkCycle},
      {u"<Links\\Pair>*text", u"", r::kErrorUnclosedReference}, {u"<Links\\Self>", u"", r::kErrorLinkCycle},
      {u"<Links\\Ping>", u"", r::kErrorLinkCycle},
      {u"<LINKS\\self>", u"", r::kErrorLinkCycle},  // one atom, whatever the case
  };
  for (const auto &[expression, text, error] : cases) {
    putLink("Expr", expression);
    Reading reading = read("Expr");
    if (error != 0) reading.data.resize(expression.size() * 2 + 2);
    EXPECT_EQ(reading, (Reading{0, r::kLinkType, 0, utf16(error ? expression : text), error}))
        << std::string(expression.begin(), expression.end());
  }
  putLink("Expr", u"ignored<Links\\Plain>also ignored");
  EXPECT_EQ(read("Expr"), (Reading{0, 3, 0, {'P', 0}}));
  const uint16_t atom = host::addAtom("Links\\Self");
  EXPECT_EQ(host::deleteAtom(atom), 0);
  EXPECT_EQ(host::deleteAtom(atom), atom);
}

// A value reached through a link inside a link becomes text: its bytes and a terminator.
TEST_F(CKZKeyTest, ChainsOfLinksAreBounded) {
  put(kLinks, "End", kPageType, {0x52, 0x03});
  for (int links : {r::kMaxLinkDepth, r::kMaxLinkDepth + 1}) {
    for (int i = 0; i < links; ++i) {
      std::string next = i + 1 < links ? "Chain" + std::to_string(i + 1) : "End";
      const std::u16string reference = u"<Links\\" + std::u16string(next.begin(), next.end()) + u">";
      putLink(("Chain" + std::to_string(i)).c_str(), reference);
    }
    const Reading reading = read("Chain0");
    if (links == r::kMaxLinkDepth) EXPECT_EQ(reading, (Reading{0, r::kLinkType, 0, {0x52, 0x03, 0, 0}}));
    if (links > r::kMaxLinkDepth) EXPECT_EQ(reading.error, r::kErrorLinkCycle);
  }
  EXPECT_EQ(read("Chain1").error, 0u);
}

TEST_F(CKZKeyTest, TheSyntaxCharactersValueIsWrittenOnFirstUseAndHonoured) {
  const char *root = "HKEY_CURRENT_USER";
  ASSERT_EQ(read(r::kSyntaxValueName, root, 64, 0).status, host::kErrorFileNotFound);
  putLink("Single", u"z");
  putLink("Expr", u"<Links\\Single>");
  EXPECT_EQ(read("Expr").data, utf16(u"z"));
  EXPECT_EQ(read(r::kSyntaxValueName, root, 64, 0), (Reading{0, 1, 0, {'"', '*', '<', '>', '|', 0}}));
  put(root, r::kSyntaxValueName, 1, {'\'', '+', '[', ']', '/', 0});
  putLink("Pair", u"x/y");
  putLink("Expr", u"[Links\\Pair]+[Links\\Single]<kept>");
  EXPECT_EQ(read("Expr").data, utf16(u"xz/yz<kept>"));
  // Another type is replaced by the default; a string too short or over the 16 bytes read is kept.
  put(root, r::kSyntaxValueName, 3, {1});
  read("Expr");
  EXPECT_EQ(read(r::kSyntaxValueName, root, 64, 0).type, 1u);
  putLink("Expr", u"<Links\\Single>");
  for (const Bytes &kept : {Bytes{'a', 0}, Bytes(17, 'a')}) {
    put(root, r::kSyntaxValueName, 1, kept);
    EXPECT_EQ(read("Expr").data, utf16(u"z"));
    EXPECT_EQ(read(r::kSyntaxValueName, root, 64, 0).data, kept);
  }
}

TEST_F(CKZKeyTest, ResultsPastTheBufferAreCutAndPastTheWorkBufferFail) {
  putLink("Long", u"0123456789");
  uint8_t buffer[9] = {};
  uint32_t size = 8;
  EXPECT_EQ(CKZKey(kLinks, kAll).QueryValue("Long", nullptr, nullptr, buffer, &size, 1), 0);
  EXPECT_EQ(size, 22u);
  EXPECT_EQ(Bytes(buffer, buffer + 9), (Bytes{'0', 0, '1', 0, '2', 0, '3', 0, 0}));
  std::u16string alternatives;
  for (int i = 0; i < 200; ++i) alternatives += (i ? u"|" : u"") + std::u16string(40, u'a' + i % 26);
  putLink("Many", alternatives);
  putLink("Expr", u"<Links\\Many>*<Links\\Many>");  // 40000 alternatives of 80 units
  EXPECT_EQ(read("Expr").error, r::kErrorOutOfMemory);
  putLink("Expr", u"<Links\\Many>*<Links\\Single>");
  putLink("Single", u"!");
  Reading fits = read("Expr", kLinks, 20000);
  EXPECT_EQ(fits.error, 0u);
  EXPECT_EQ(fits.data.size(), (200 * 42 - 1) * 2 + 2u);
}

TEST(WorkBuffer, CommitsWholePagesUpToTheReservation) {
  constexpr std::size_t kPage = host::kPageSize;
  r::WorkBuffer buffer;
  EXPECT_EQ(buffer.Take(1), nullptr);
  ASSERT_TRUE(buffer.Reserve());
  EXPECT_EQ(buffer.Committed(), kPage);
  ASSERT_EQ(buffer.Take(kPage - 1), buffer.Base());
  EXPECT_EQ(buffer.Committed(), kPage);
  uint8_t *second = buffer.Take(kPage + 2);
  ASSERT_EQ(second, buffer.Base() + kPage - 1);
  EXPECT_EQ(buffer.Committed(), 3 * kPage);
  std::memset(second, 0x5A, kPage + 2);
  buffer.GiveBack(kPage + 2);
  EXPECT_EQ(buffer.Used(), kPage - 1);
  buffer.GiveBack(10 * kPage);
  EXPECT_EQ(buffer.Used(), 0u);
  ASSERT_NE(buffer.Take(r::WorkBuffer::kReservedBytes), nullptr);
  EXPECT_EQ(buffer.Take(1), nullptr);
  buffer.Reset();
  EXPECT_EQ(buffer.Take(r::WorkBuffer::kReservedBytes + 1), nullptr);
  EXPECT_EQ(buffer.Used(), 0u);
}

// Global blocks and heap blocks asked zeroed come zeroed; a heap block grown keeps its bytes.
TEST(Memory, GlobalBlocksAndTheHeap) {
  host::GlobalHandle handle = host::globalAlloc(64);
  auto *data = static_cast<uint8_t *>(host::globalLock(handle));
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(std::count(data, data + 64, 0), 64);
  host::globalUnlock(handle);
  host::globalFree(handle);
  EXPECT_EQ(host::globalLock(nullptr), nullptr);
  auto *block = static_cast<uint8_t *>(host::heapAlloc(host::processHeap(), 32, true));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(std::count(block, block + 32, 0), 32);
  block[31] = 7;
  block = static_cast<uint8_t *>(host::heapReAlloc(host::processHeap(), block, 4096));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block[31], 7);
  host::heapFree(host::processHeap(), block);
}

TEST(Atoms, EqualNamesShareAnAtomWhileHeld) {
  std::vector<uint16_t> atoms(8);
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < atoms.size(); ++i) {
    const char *name = i % 2 ? "hkey_current_user\\software\\x" : "HKEY_CURRENT_USER\\Software\\X";
    threads.emplace_back([&atoms, i, name] { atoms[i] = host::addAtom(name); });
  }
  for (std::thread &t : threads) t.join();
  EXPECT_GE(atoms[0], 0xC000);
  EXPECT_EQ(std::count(atoms.begin(), atoms.end(), atoms[0]), 8);
  const uint16_t other = host::addAtom("Another");
  EXPECT_NE(other, atoms[0]);
  for (uint16_t atom : atoms) EXPECT_EQ(host::deleteAtom(atom), 0);
  EXPECT_EQ(host::deleteAtom(atoms[0]), atoms[0]);
  EXPECT_EQ(host::deleteAtom(other), 0);
  // "#n" up to 0xBFFF is atom n; -1: a string atom.
  for (const auto &[name, atom] : std::vector<std::pair<std::string, int>>{
           {"#49151", 49151}, {"#49152", 0}, {"#0", 0}, {"#12a", -1},
           {"", 0}, {std::string(256, 'x'), 0}, {std::string(255, 'x'), -1}}) {
    if (atom >= 0) EXPECT_EQ(host::addAtom(name.c_str()), atom) << name;
    if (atom < 0) EXPECT_GE(host::addAtom(name.c_str()), 0xC000) << name;
  }
  EXPECT_EQ(host::deleteAtom(49151), 0);
  EXPECT_EQ(host::addAtom(nullptr), 0);
}

TEST(SearchList, AgreesWithAnOrderedMap) {
  KZSEARCHLIST list;
  ASSERT_EQ(list.Create(1, 4, nullptr, KZSEARCHLIST::kFindFirst), 1);
  std::map<uint32_t, uint32_t> model;
  std::mt19937 random(14);
  std::size_t most = 0;
  for (uint32_t step = 0; step < 4000; ++step) {
    uint32_t key = uint32_t(random() % 301) * 0x00DEAD01u;
    uint32_t index = 99;
    const bool present = model.count(key) != 0;
    EXPECT_EQ(list.Find(&key, &index) != nullptr, present);
    EXPECT_EQ(index, uint32_t(std::distance(model.begin(), model.lower_bound(key))));
    const int action = int(random() % 3);
    if (action == 0) {
      EXPECT_EQ(list.Remove(&key), int(model.erase(key)));
    } else {
      EXPECT_EQ(list.Insert(&key, step, action == 1), action == 1 || !present ? 1 : 0);
      if (action == 1 || !present) model[key] = step;
    }
    most = std::max(most, model.size());
  }
  ASSERT_EQ(list.Count(), model.size());
  EXPECT_EQ(list.Capacity(), std::bit_ceil(most));
  uint32_t i = 0;
  for (const auto &[key, payload] : model) {
    EXPECT_EQ(list.KeyAt(i), key);
    EXPECT_EQ(list.PayloadAt(i++), payload);
  }
}

TEST(SearchList, RefusesWhatItCannotHold) {
  KZSEARCHLIST huge, wideKeys, neverCreated;
  EXPECT_EQ(huge.Create(0x7FFFFFFF, 4, nullptr, 0), 0);
  ASSERT_EQ(wideKeys.Create(4, 8, nullptr, 0), 1);
  uint64_t key = 1;
  EXPECT_EQ(wideKeys.Insert(&key, 0, 0), 0);
  EXPECT_EQ(wideKeys.Find(&key, nullptr), nullptr);
  EXPECT_EQ(wideKeys.Remove(&key), 0);
  EXPECT_EQ(neverCreated.Insert(&key, 0, 0), 0);
}

}  // namespace
