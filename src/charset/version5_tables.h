// The byte tables that renumber character sets between the current
// numbering and the version-5 numbering, and the four kinds of table they
// come in. Codes are bytes and all arithmetic on them wraps modulo 256.
// Which table applies to which codes of a set is decided by the mapping
// functions (version5_mapping.cpp), not here.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace qstr::charset::version5 {

// A byte per code over a range of codes starting at `first`; the entry is
// the new code.
struct DirectTable {
  uint8_t first;
  std::span<const uint8_t> entries;

  // The entry for `code`; nullopt when `code` lies outside the range.
  std::optional<uint8_t> lookup(uint8_t code) const;
};

struct CodePair {
  uint8_t from;
  uint8_t to;
};

// (old code, new code) pairs, searched in order for an exact match.
struct PairList {
  std::span<const CodePair> pairs;

  // The new code of the first pair whose old code is `code`; nullopt when
  // no pair has it.
  std::optional<uint8_t> lookup(uint8_t code) const;
};

struct ThresholdDelta {
  uint8_t threshold;
  uint8_t delta;
};

// (threshold, delta) rows in descending order of threshold; the first row
// whose threshold is at most the code applies. Tables for the way to
// version 5 subtract the delta, tables for the way back add it.
struct DescendingThresholdList {
  std::span<const ThresholdDelta> rows;
  bool subtracts;

  // `code` moved by the delta of the row that applies; `code` unchanged
  // when every threshold is above it.
  uint8_t lookup(uint8_t code) const;
};

struct SignedThreshold {
  uint8_t threshold;
  uint8_t subtracts;  // 1: subtract the delta, 0: add it
  uint8_t delta;
};

// (threshold, sign, delta) rows searched like a descending threshold list,
// each row saying whether its delta is subtracted or added.
struct SignedThresholdList {
  std::span<const SignedThreshold> rows;

  // `code` moved by the row that applies; unchanged when none does.
  uint8_t lookup(uint8_t code) const;
};

// Codes of a set that have no counterpart.
struct CodeList {
  std::span<const uint8_t> codes;

  bool contains(uint8_t code) const;
};

// Current numbering to version 5, by set.
struct ToVersion5Tables {
  DirectTable set2;                      // codes 0x00-0x34; kSet2NoMapping marks a gap
  CodeList set5Unmapped;                 // consulted for codes up to 0x22 only
  PairList set5;
  DirectTable set8;                      // codes 0x34-0x44
  PairList set8Pairs;
  DescendingThresholdList set8Shifts;
  PairList set9Pairs;
  DescendingThresholdList set9Shifts;
  DirectTable set10;                     // codes 0x42-0x95; kSet10NoMapping marks a gap
  DescendingThresholdList set10Shifts;   // codes above 0x95
  DirectTable set11;                     // codes 0x00-0x3E
  SignedThresholdList set13;
};

// Version-5 numbering to current, by set.
struct FromVersion5Tables {
  DirectTable set2;                      // codes 0x00-0x1B
  PairList set5;
  DirectTable set8Low;                   // codes 0x34-0x3B
  DirectTable set8High;                  // codes 0xC1-0xD1
  DescendingThresholdList set8Shifts;    // codes 0x3C-0xC0
  PairList set9Pairs;
  DescendingThresholdList set9Shifts;
  DirectTable set10;                     // codes 0x42-0x73
  DescendingThresholdList set10Shifts;   // codes 0x74-0x95
  DirectTable set11;                     // codes 0x00-0xBB, entries as decoded by the set-11 rule
  PairList set11Punctuation;             // for set-11 entries kSet11UsePairs; the result is in set 0
  SignedThresholdList set13;
};

inline constexpr uint8_t kSet2NoMapping = 0x63;
inline constexpr uint8_t kSet10NoMapping = 0x00;
inline constexpr uint8_t kSet11UsePairs = 0xFF;

extern const ToVersion5Tables kToVersion5;
extern const FromVersion5Tables kFromVersion5;

}  // namespace qstr::charset::version5
