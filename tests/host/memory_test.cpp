// The host's atoms (names shared regardless of case, counted, integer
// names), reserved and committed pages, global memory and the process heap.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "host/host.h"

namespace {

namespace host = qstr::host;

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
  EXPECT_EQ(host::deleteAtom(atoms[0]), atoms[0]);  // released: deleting again fails
  EXPECT_EQ(host::deleteAtom(other), 0);
  // Integer names up to 0xBFFF are their own atoms; a name of 256 bytes or more is refused.
  for (const auto &[name, atom] : std::vector<std::pair<std::string, int>>{
           {"#123", 123}, {"#49151", 49151}, {"#49152", 0}, {"#0", 0}, {"#12a", -1} /* a string atom */,
           {"", 0}, {std::string(256, 'x'), 0}, {std::string(255, 'x'), -1}}) {
    if (atom >= 0) EXPECT_EQ(host::addAtom(name.c_str()), atom) << name;
    if (atom < 0) EXPECT_GE(host::addAtom(name.c_str()), 0xC000) << name;
  }
  EXPECT_EQ(host::deleteAtom(123), 0);
  EXPECT_EQ(host::addAtom(nullptr), 0);
}

TEST(Memory, PagesGlobalBlocksAndTheHeap) {
  const std::size_t reserved = 0x100000, page = host::kPageSize;
  auto *base = static_cast<uint8_t *>(host::reservePages(reserved));
  ASSERT_NE(base, nullptr);
  ASSERT_TRUE(host::commitPages(base, page));
  EXPECT_EQ(base[0], 0);
  std::memset(base, 0xAB, page);
  // A commit that starts mid-page covers every page it touches.
  ASSERT_TRUE(host::commitPages(base + page + 100, 2 * page));
  std::memset(base + page, 0xCD, 3 * page);
  EXPECT_EQ(base[page - 1], 0xAB);
  host::releasePages(base, reserved);
  EXPECT_EQ(host::reservePages(0), nullptr);
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

}  // namespace
