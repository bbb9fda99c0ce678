#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "host/host.h"

namespace {

namespace host = qstr::host;

TEST(Atoms, EqualNamesShareAnAtomRegardlessOfCase) {
  uint16_t a = host::addAtom("HKEY_CURRENT_USER\\Software\\X");
  uint16_t b = host::addAtom("hkey_current_user\\software\\x");
  uint16_t c = host::addAtom("Another");
  EXPECT_GE(a, 0xC000);
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
  EXPECT_EQ(host::deleteAtom(a), 0);
  // Still held once: the same name gives the same atom.
  EXPECT_EQ(host::addAtom("HKEY_CURRENT_USER\\SOFTWARE\\X"), a);
  EXPECT_EQ(host::deleteAtom(a), 0);
  EXPECT_EQ(host::deleteAtom(a), 0);
  EXPECT_EQ(host::deleteAtom(a), a);  // released: deleting again fails
  EXPECT_EQ(host::deleteAtom(c), 0);
}

TEST(Atoms, IntegerAndInvalidNames) {
  EXPECT_EQ(host::addAtom("#123"), 123);
  EXPECT_EQ(host::deleteAtom(123), 0);
  EXPECT_EQ(host::addAtom("#49152"), 0);  // past the integer range: refused
  EXPECT_EQ(host::addAtom("#0"), 0);
  EXPECT_GE(host::addAtom("#12a"), 0xC000);
  EXPECT_EQ(host::addAtom(""), 0);
  EXPECT_EQ(host::addAtom(nullptr), 0);
  EXPECT_EQ(host::addAtom(std::string(256, 'x').c_str()), 0);
  EXPECT_NE(host::addAtom(std::string(255, 'x').c_str()), 0);
}

TEST(Atoms, ConcurrentAddsOfOneNameAgree) {
  std::vector<uint16_t> atoms(8);
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < atoms.size(); ++i) {
    threads.emplace_back([&atoms, i] { atoms[i] = host::addAtom("shared-name"); });
  }
  for (std::thread &t : threads) t.join();
  for (uint16_t atom : atoms) EXPECT_EQ(atom, atoms[0]);
  for (std::size_t i = 0; i < atoms.size(); ++i) EXPECT_EQ(host::deleteAtom(atoms[0]), 0);
  EXPECT_EQ(host::deleteAtom(atoms[0]), atoms[0]);
}

TEST(Pages, ReserveCommitRelease) {
  const std::size_t reserved = 0x100000;
  auto *base = static_cast<uint8_t *>(host::reservePages(reserved));
  ASSERT_NE(base, nullptr);
  ASSERT_TRUE(host::commitPages(base, host::kPageSize));
  EXPECT_EQ(base[0], 0);
  std::memset(base, 0xAB, host::kPageSize);
  // A commit that starts mid-page covers every page it touches.
  ASSERT_TRUE(host::commitPages(base + host::kPageSize + 100, 2 * host::kPageSize));
  std::memset(base + host::kPageSize, 0xCD, 3 * host::kPageSize);
  EXPECT_EQ(base[host::kPageSize - 1], 0xAB);
  EXPECT_EQ(base[4 * host::kPageSize - 1], 0xCD);
  host::releasePages(base, reserved);
  EXPECT_EQ(host::reservePages(0), nullptr);
}

TEST(GlobalMemory, ZeroedAndLockable) {
  host::GlobalHandle handle = host::globalAlloc(64);
  ASSERT_NE(handle, nullptr);
  auto *data = static_cast<uint8_t *>(host::globalLock(handle));
  ASSERT_NE(data, nullptr);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(data[i], 0);
  std::memset(data, 1, 64);
  host::globalUnlock(handle);
  host::globalFree(handle);
  EXPECT_EQ(host::globalLock(nullptr), nullptr);
}

TEST(ProcessHeap, ZeroFillAndReAlloc) {
  host::HeapHandle heap = host::processHeap();
  ASSERT_NE(heap, nullptr);
  auto *block = static_cast<uint8_t *>(host::heapAlloc(heap, 32, true));
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 32; ++i) EXPECT_EQ(block[i], 0);
  block[31] = 7;
  block = static_cast<uint8_t *>(host::heapReAlloc(heap, block, 4096));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block[31], 7);
  host::heapFree(heap, block);
}

}  // namespace
