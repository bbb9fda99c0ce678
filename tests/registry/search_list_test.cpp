// KZSEARCHLIST: sorted records of a payload and a 4-byte key, checked
// against an ordered map, and the requests it refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <map>
#include <random>

#include "registry/search_list.h"

namespace {

using qstr::registry::KZSEARCHLIST;

// Random finds, inserts (with and without replacing) and removals agree with
// an ordered map at every step, across growths from one record, with keys
// spanning the whole unsigned range.
TEST(SearchList, AgreesWithAnOrderedMap) {
  KZSEARCHLIST list;
  ASSERT_EQ(list.Create(1, 4, nullptr, KZSEARCHLIST::kFindFirst), 1);
  std::map<uint32_t, uint32_t> model;
  std::mt19937 random(14);
  std::size_t most = 0;
  for (uint32_t step = 0; step < 4000; ++step) {
    uint32_t key = static_cast<uint32_t>(random() % 301) * 0x00DEAD01u;  // wraps
    uint32_t index = 99;
    const bool present = model.count(key) != 0;
    EXPECT_EQ(list.Find(&key, &index) != nullptr, present);
    EXPECT_EQ(index, static_cast<uint32_t>(std::distance(model.begin(), model.lower_bound(key))));
    const int action = static_cast<int>(random() % 3);
    if (action == 0) {
      EXPECT_EQ(list.Remove(&key), static_cast<int>(model.erase(key)));
    } else {
      EXPECT_EQ(list.Insert(&key, step, action == 1), action == 1 || !present ? 1 : 0);
      if (action == 1 || !present) model[key] = step;
    }
    most = std::max(most, model.size());
  }
  ASSERT_EQ(list.Count(), model.size());
  EXPECT_EQ(list.Capacity(), std::bit_ceil(most));  // doubled from one record
  uint32_t i = 0;
  for (const auto &[key, payload] : model) {
    EXPECT_EQ(list.KeyAt(i), key);
    EXPECT_EQ(list.PayloadAt(i++), payload);
  }
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

}  // namespace
