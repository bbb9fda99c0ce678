// The one policy for state that the library builds on first use and keeps
// for the process (country ID, code page records and tables, language
// memos, the host profile): any thread may make the first use; one thread
// builds while the others wait for it; afterwards a use costs one acquire
// load and no lock.
//
// reset() and set() change the state outright. They are for settings that
// a caller changes on purpose (and for tests): like the settings
// themselves, they must not run while other threads use the value.
#pragma once

#include <atomic>
#include <mutex>
#include <utility>

namespace qstr::base {

// A step that runs once (until reset): the building of state kept
// elsewhere, such as records filled in place.
class OnceGate {
 public:
  // Runs `build` unless it has run since the start or the last reset.
  // Returns after the build has finished, in whichever thread it ran.
  template <typename Build>
  void pass(Build &&build) {
    if (passed_.load(std::memory_order_acquire)) return;
    const std::lock_guard<std::mutex> guard(building_);
    if (passed_.load(std::memory_order_relaxed)) return;
    build();
    passed_.store(true, std::memory_order_release);
  }

  bool passed() const { return passed_.load(std::memory_order_acquire); }

  // Runs `clear` and opens the gate again, when it has been passed.
  template <typename Clear>
  void reset(Clear &&clear) {
    const std::lock_guard<std::mutex> guard(building_);
    if (!passed_.load(std::memory_order_relaxed)) return;
    clear();
    passed_.store(false, std::memory_order_release);
  }

  // Runs `change` and marks the gate passed: the state was set rather
  // than built.
  template <typename Change>
  void passWith(Change &&change) {
    const std::lock_guard<std::mutex> guard(building_);
    change();
    passed_.store(true, std::memory_order_release);
  }

 private:
  std::atomic<bool> passed_{false};
  std::mutex building_;
};

// A value built by its first use.
template <typename T>
class BuiltOnce {
 public:
  // The value; the first call (since the start or the last reset) builds
  // it with `build()`. Once built, a use is one load: the gate, and the
  // closure passed to it, are not entered.
  template <typename Build>
  const T &get(Build &&build) {
    if (!gate_.passed()) gate_.pass([this, &build] { value_ = build(); });
    return value_;
  }

  // The value as it stands, when it is built; null before.
  const T *ifBuilt() const { return gate_.passed() ? &value_ : nullptr; }

  // Replaces the value, built or not.
  void set(T value) {
    gate_.passWith([this, &value] { value_ = std::move(value); });
  }

  // Forgets the value; the next get builds it again.
  void reset() {
    gate_.reset([this] { value_ = T{}; });
  }

 private:
  OnceGate gate_;
  T value_{};
};

}  // namespace qstr::base
