// Values derived from a code page, built on first use for each code page
// and kept for the life of the process: a code page's characters never
// change, so what was derived once stays true.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace qstr::charset {

template <typename Value>
class PerCodePage {
 public:
  using Build = Value (*)(uint32_t codePage);
  explicit PerCodePage(Build build) : build_(build) {}

  // The value for `codePage`. The one asked for last is found without the
  // lock; values are never freed, so a reference stays good.
  const Value &operator()(uint32_t codePage) {
    const Entry *entry = lastUsed_.load(std::memory_order_acquire);
    if (entry == nullptr || entry->codePage != codePage) entry = find(codePage);
    return entry->value;
  }

 private:
  struct Entry {
    uint32_t codePage;
    Value value;
  };

  const Entry *find(uint32_t codePage) {
    const std::lock_guard<std::mutex> guard(lock_);
    const Entry *found = nullptr;
    for (const auto &entry : built_) {
      if (entry->codePage == codePage) found = entry.get();
    }
    if (found == nullptr) {
      built_.push_back(std::make_unique<Entry>(Entry{codePage, build_(codePage)}));
      found = built_.back().get();
    }
    lastUsed_.store(found, std::memory_order_release);
    return found;
  }

  Build build_;
  std::atomic<const Entry *> lastUsed_{nullptr};
  std::mutex lock_;
  std::vector<std::unique_ptr<Entry>> built_;
};

}  // namespace qstr::charset
