// Concurrent use: the first-use initialisations that are guarded, raced
// from 8 threads at once, and the read-only services called from 8 threads
// after initialisation. Meaningful under ThreadSanitizer (make tsan); the
// ordinary run checks that every thread sees the same answers.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "codepage/fast_lookup.h"
#include "frame/country.h"
#include "host/host.h"
#include "qstr14/qstr14.h"
#include "support/host_profile.h"

namespace {

constexpr int kThreads = 8;

// Runs `work(thread)` on kThreads threads released at the same moment.
void race(const std::function<void(int)> &work) {
  std::atomic<bool> go{false};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&go, &work, t] {
      while (!go.load(std::memory_order_acquire)) std::this_thread::yield();
      work(t);
    });
  }
  go.store(true, std::memory_order_release);
  for (std::thread &thread : threads) thread.join();
}

TEST(Concurrency, FirstUseInitialisationsRaced) {
  qstr::test::ScopedProfile profile({{"LANG", "zh_TW"}, {"QSTR14_REGISTRY", ":memory:"}});
  qstr::frame::resetCountryDetection();
  // Country ID, 950 character, lead byte, reverse index, 850 record, Big5 set.
  const std::array<uint16_t, 6> expected = {3, 0x4E00, 1, 0x0129, 0x0129, 0x4E00};
  std::vector<std::array<uint16_t, 6>> results(kThreads);
  race([&results](int t) {
    std::array<uint16_t, 6> &out = results[static_cast<std::size_t>(t)];
    out[0] = QtpiGetCountryID();
    const uint8_t big5[2] = {0xA4, 0x40};
    char16_t unit = 0;
    qstr::host::charToUnicode(950, big5, 2, &unit);  // the 950 tables are built now
    out[1] = unit;
    out[2] = qstr::host::isDbcsLeadByte(0xA4);
    out[3] = GetQXCCHARValue(0x00E9);  // the reverse index is built now
    CODEPAGETBL record{};
    QcvtSetCodepage(850, 3, &record);
    out[4] = qstr::codepage::singleByteNatives(record)[0x82];
    out[5] = KZcharQX6xToUnicode(0xA6D8);
  });
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(results[static_cast<std::size_t>(t)], expected) << "thread " << t;
  qstr::frame::resetCountryDetection();
}

TEST(Concurrency, ReadOnlyServicesAfterInitialisation) {
  qstr::test::ScopedProfile profile({{"LANG", "en_US"}, {"QSTR14_REGISTRY", ":memory:"}});
  // The library's own records are loaded before the threads start: they
  // are plain process memory.
  str_SetCodePage();
  const std::vector<uint16_t> unicode = {'C', 'a', 'f', 0xE9, ' ', 0x20AC, 0x03B1, 0x0416, 0};
  race([&unicode](int t) {
    for (int round = 0; round < 200; ++round) {
      std::vector<uint16_t> native(unicode.size());
      std::vector<uint16_t> back(unicode.size());
      Q6WStrTowz(unicode.data(), native.data());
      Q6wzToWStr(native.data(), back.data());
      ASSERT_EQ(back, unicode) << "thread " << t;
      char bytes[32];
      ASSERT_EQ(Q6wzToazEx(native.data(), bytes, 0x01), 8u);
      std::vector<uint16_t> again(32);
      ASSERT_EQ(Q6azTowz(bytes, again.data()), 1);
      ASSERT_EQ(again[3], 0x0129);
      uint8_t stream[64];
      ASSERT_GT(str_AnsiToQx(stream, bytes, sizeof stream), 1u);
      ASSERT_EQ(ValidQxCharacter(0x0129), 1);
      ASSERT_EQ(QtpiGetCountryID(), 0);
    }
  });
}

}  // namespace
