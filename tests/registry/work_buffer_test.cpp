// The resolver's work buffer: pages committed as it grows, bounded by its
// reservation.
#include <gtest/gtest.h>

#include <cstring>

#include "host/host.h"
#include "registry/work_buffer.h"

namespace {

using qstr::registry::WorkBuffer;
constexpr std::size_t kPage = qstr::host::kPageSize;

TEST(WorkBuffer, CommitsWholePagesUpToTheReservation) {
  WorkBuffer buffer;
  EXPECT_EQ(buffer.Take(1), nullptr);  // nothing reserved yet
  ASSERT_TRUE(buffer.Reserve());
  EXPECT_EQ(buffer.Committed(), kPage);
  uint8_t *first = buffer.Take(kPage - 1);
  ASSERT_EQ(first, buffer.Base());
  EXPECT_EQ(buffer.Committed(), kPage);
  uint8_t *second = buffer.Take(kPage + 2);  // spans into a third page
  ASSERT_EQ(second, buffer.Base() + kPage - 1);
  EXPECT_EQ(buffer.Committed(), 3 * kPage);
  std::memset(second, 0x5A, kPage + 2);  // the pages are writable
  buffer.GiveBack(kPage + 2);
  EXPECT_EQ(buffer.Used(), kPage - 1);
  buffer.GiveBack(10 * kPage);  // never below empty
  EXPECT_EQ(buffer.Used(), 0u);
  // The whole reservation can be had, and not a byte more.
  ASSERT_NE(buffer.Take(WorkBuffer::kReservedBytes), nullptr);
  EXPECT_EQ(buffer.Take(1), nullptr);
  EXPECT_EQ(buffer.Used(), WorkBuffer::kReservedBytes);
  buffer.Reset();
  EXPECT_EQ(buffer.Take(WorkBuffer::kReservedBytes + 1), nullptr);
  EXPECT_EQ(buffer.Used(), 0u);
}

}  // namespace
