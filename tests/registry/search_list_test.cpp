// KZSEARCHLIST: sorted records of a payload and a 4-byte key.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "registry/search_list.h"

namespace {

using qstr::registry::KZSEARCHLIST;

std::vector<uint32_t> keysOf(const KZSEARCHLIST &list) {
  std::vector<uint32_t> keys;
  for (uint32_t i = 0; i < list.Count(); ++i) keys.push_back(list.KeyAt(i));
  return keys;
}

TEST(SearchList, KeepsKeysInOrderAndGrowsByDoubling) {
  KZSEARCHLIST list;
  ASSERT_EQ(list.Create(16, 4, nullptr, 0), 1);
  for (uint32_t key : {3u, 1u, 2u}) EXPECT_EQ(list.Insert(&key, key * 10, 0), 1);
  EXPECT_EQ(keysOf(list), (std::vector<uint32_t>{1, 2, 3}));
  EXPECT_EQ(list.PayloadAt(0), 10u);
  for (uint32_t key = 100; list.Count() < 16; ++key) ASSERT_EQ(list.Insert(&key, 0, 0), 1);
  EXPECT_EQ(list.Capacity(), 16u);
  uint32_t seventeenth = 50;
  EXPECT_EQ(list.Insert(&seventeenth, 0, 0), 1);
  EXPECT_EQ(list.Capacity(), 32u);
  EXPECT_EQ(list.Count(), 17u);
  EXPECT_EQ(list.KeyAt(3), 50u);
}

TEST(SearchList, FindInsertAndRemoveResults) {
  KZSEARCHLIST list;
  ASSERT_EQ(list.Create(16, 4, nullptr, 0), 1);
  uint32_t ten = 10, twenty = 20, fifteen = 15, absent = 7, index = 99;
  list.Insert(&ten, 1, 0);
  list.Insert(&twenty, 2, 0);
  EXPECT_EQ(list.Find(&fifteen, &index), nullptr);
  EXPECT_EQ(index, 1u);  // where 15 would go
  ASSERT_NE(list.Find(&twenty, &index), nullptr);
  EXPECT_EQ(index, 1u);
  EXPECT_EQ(list.Insert(&ten, 5, 0), 0);  // present, no replace
  EXPECT_EQ(list.PayloadAt(0), 1u);
  EXPECT_EQ(list.Insert(&ten, 5, 1), 1);  // present, replaced
  EXPECT_EQ(list.PayloadAt(0), 5u);
  EXPECT_EQ(list.Count(), 2u);
  EXPECT_EQ(list.Remove(&absent), 0);
  EXPECT_EQ(list.Remove(&ten), 1);
  EXPECT_EQ(list.Remove(&ten), 0);
  EXPECT_EQ(keysOf(list), std::vector<uint32_t>{20});
}

TEST(SearchList, RefusesWhatItCannotHold) {
  KZSEARCHLIST huge;
  EXPECT_EQ(huge.Create(0x7FFFFFFF, 4, nullptr, 0), 0);
  KZSEARCHLIST wideKeys;
  ASSERT_EQ(wideKeys.Create(4, 8, nullptr, 0), 1);
  uint64_t key = 1;
  uint32_t index = 0;
  EXPECT_EQ(wideKeys.Insert(&key, 0, 0), 0);
  EXPECT_EQ(wideKeys.Find(&key, &index), nullptr);
  EXPECT_EQ(wideKeys.Remove(&key), 0);
  KZSEARCHLIST neverCreated;
  uint32_t small = 1;
  EXPECT_EQ(neverCreated.Insert(&small, 0, 0), 0);
}

// Random inserts and removals agree with an ordered map at every step,
// across several growths, with keys spanning the whole unsigned range.
TEST(SearchList, AgreesWithAnOrderedMap) {
  KZSEARCHLIST list;
  ASSERT_EQ(list.Create(1, 4, nullptr, KZSEARCHLIST::kFindFirst), 1);
  std::map<uint32_t, uint32_t> model;
  std::mt19937 random(14);
  std::uniform_int_distribution<uint32_t> pick(0, 300);
  for (int step = 0; step < 4000; ++step) {
    uint32_t key = pick(random) * 0x00DEAD01u;  // wraps: large and small keys
    if (random() % 3 == 0) {
      EXPECT_EQ(list.Remove(&key), static_cast<int>(model.erase(key)));
    } else {
      EXPECT_EQ(list.Insert(&key, static_cast<uint32_t>(step), 1), 1);
      model[key] = static_cast<uint32_t>(step);
    }
  }
  ASSERT_EQ(list.Count(), model.size());
  uint32_t i = 0;
  for (const auto &[key, payload] : model) {
    EXPECT_EQ(list.KeyAt(i), key);
    EXPECT_EQ(list.PayloadAt(i), payload);
    ++i;
  }
}

}  // namespace
