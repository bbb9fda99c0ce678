// Character stepping through a document stream and a native string.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "qstr14/charset.h"

namespace {

// A stream of words separated by one-byte functions, with a character
// group every few words: the mix of a formatted document.
std::vector<uint8_t> makeStream(std::size_t bytes) {
  std::vector<uint8_t> stream;
  for (std::size_t i = 0; stream.size() < bytes; ++i) {
    for (char c : {'w', 'o', 'r', 'd'}) stream.push_back(static_cast<uint8_t>(c));
    stream.push_back(0x85);
    if (i % 4 == 0) stream.insert(stream.end(), {0xF0, 0x29, 0x01, 0xF0});
  }
  stream.push_back(0);
  return stream;
}

void BM_DocumentStreamNextCh(benchmark::State &state) {
  std::vector<uint8_t> stream = makeStream(1 << 20);
  for (auto _ : state) {
    std::size_t characters = 0;
    for (const uint8_t *p = Q6dstrFirstCh(stream.data()); *p != 0; p = Q6dstrNextCh(p)) ++characters;
    benchmark::DoNotOptimize(characters);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
}
BENCHMARK(BM_DocumentStreamNextCh);

void BM_NativeStringNextCh(benchmark::State &state) {
  std::vector<uint16_t> text(1 << 20, 0x0041);
  for (std::size_t i = 0; i < text.size(); i += 7) text[i] = 0xFE01;
  text.back() = 0;
  for (auto _ : state) {
    std::size_t characters = 0;
    for (const uint16_t *p = Q6wstrFirstCh(text.data()); *p != 0; p = Q6wstrNextCh(p)) ++characters;
    benchmark::DoNotOptimize(characters);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size() * 2));
}
BENCHMARK(BM_NativeStringNextCh);

}  // namespace
