// Single native characters to and from UTF-16, and double-byte placement
// through the host code page, beside iconv converting the same characters
// one at a time.
#include <iconv.h>

#include <cstdint>
#include <vector>

#include "charset/east_asian_placement.h"
#include "charset/native_tables.h"
#include "host/profile.h"
#include "qstr14/charset.h"
#include "rows.h"

namespace qstr::bench {
namespace {

// Every native character of the forward tables.
std::vector<uint16_t> tableCharacters() {
  std::vector<uint16_t> natives;
  for (unsigned set = 0; set < charset::kTableSetCount; ++set) {
    for (unsigned code = 0; code < charset::kForwardTables[set].length; ++code) {
      natives.push_back(static_cast<uint16_t>(set << 8 | code));
    }
  }
  return natives;
}

std::vector<uint16_t> tableValues() {
  std::vector<uint16_t> values;
  for (std::size_t i = 0; i < charset::kReverseTableSize; ++i) values.push_back(charset::kReverseTable[i].unicode);
  return values;
}

// Every double-byte code of code page 932 that converts.
std::vector<uint16_t> shiftJisCodes() {
  std::vector<uint16_t> codes;
  iconv_t cd = iconv_open("UTF-16LE", "CP932");
  for (unsigned code = 0x8140; code <= 0xFCFC; ++code) {
    char in[2] = {static_cast<char>(code >> 8), static_cast<char>(code)};
    char out[8];
    char *pin = in, *pout = out;
    size_t inLeft = 2, outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &pin, &inLeft, &pout, &outLeft) != static_cast<size_t>(-1) && outLeft == 6) {
      codes.push_back(static_cast<uint16_t>(code));
    }
  }
  iconv_close(cd);
  return codes;
}

void installJapaneseProfile() {
  host::HostProfile profile = host::hostProfile();
  profile.ansiCodePage.value = 932;
  profile.dbcsEnabled.value = true;
  host::installHostProfile(profile);
}

void nativeToUnicode(benchmark::State &state) {
  const std::vector<uint16_t> natives = tableCharacters();
  if (!verify(state, KZcharQX6xToUnicode(0x0129) == 0x00E9, "0x0129 is not U+00E9")) return;
  for (auto _ : state) {
    uint32_t sum = 0;
    for (uint16_t n : natives) sum += KZcharQX6xToUnicode(n);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * natives.size()));
}

void unicodeToNative(benchmark::State &state) {
  const std::vector<uint16_t> values = tableValues();
  if (!verify(state, KZcharUnicodeToQX6x(0x00E9) == 0x0129, "U+00E9 is not 0x0129")) return;
  for (auto _ : state) {
    uint32_t sum = 0;
    for (uint16_t u : values) sum += KZcharUnicodeToQX6x(u);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * values.size()));
}

// Ours: each 932 code placed as a native character, then to UTF-16.
void shiftJisOurs(benchmark::State &state) {
  installJapaneseProfile();
  const std::vector<uint16_t> codes = shiftJisCodes();
  if (verify(state, KZcharQX6xToUnicode(charset::lDbcsToQX6x(932, 0x889F)) == 0x4E9C, "0x889F is not U+4E9C")) {
    for (auto _ : state) {
      uint32_t sum = 0;
      for (uint16_t code : codes) sum += KZcharQX6xToUnicode(charset::lDbcsToQX6x(932, code));
      benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * codes.size()));
  }
  host::resetHostProfile();
}

void shiftJisIconv(benchmark::State &state) {
  const std::vector<uint16_t> codes = shiftJisCodes();
  iconv_t cd = iconv_open("UTF-16LE", "CP932");
  for (auto _ : state) {
    uint32_t sum = 0;
    for (uint16_t code : codes) {
      char in[2] = {static_cast<char>(code >> 8), static_cast<char>(code)};
      char16_t unit = 0;
      char *pin = in, *pout = reinterpret_cast<char *>(&unit);
      size_t inLeft = 2, outLeft = 2;
      iconv(cd, &pin, &inLeft, &pout, &outLeft);
      sum += unit;
    }
    benchmark::DoNotOptimize(sum);
  }
  iconv_close(cd);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * codes.size()));
}

[[maybe_unused]] const bool registered = [] {
  addRow("native->UTF-16, every table character", {{"ours", nativeToUnicode}});
  addRow("UTF-16->native, every reverse entry", {{"ours", unicodeToNative}});
  addRow("932 code->UTF-16, one at a time", {{"ours", shiftJisOurs}, {"iconv", shiftJisIconv}});
  return true;
}();

}  // namespace
}  // namespace qstr::bench
