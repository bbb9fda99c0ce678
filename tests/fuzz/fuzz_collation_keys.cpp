// The promises of support/collation_keys.h for any strings, in every language and host kind.
#include <string>

#include "../support/collation_keys.h"
#include "fuzz_support.h"

namespace {

// Contraction and expansion letters, accents, markers, right-to-left ignorables, kana and their marks.
constexpr uint16_t kInteresting[] = {
    'a', 'c', 'h', 'l', 'n', 's', 'z', 'A', 'C', 'H', 'L', 'O', 'S', ' ', '-', '\'',
    0x0101, 0x0102, 0x0141, 0x0151, 0x0161, 0x01A1, 0x0800, 0x0841, 0x0A61, 0x0A41,
    0xF909, 0xF90A, 0xFB05, 0xFE00, 0x8900, 0x8A10, 0x8E41, 0x0A01,
    0x2401, 0x2402, 0x2421, 0x2501, 0x2521, 0x2581, 0x2601, 0x3001, 0x5A01, 0x2425, 0x2430};

std::u16string nativeString(qstr::fuzz::Input &in) {
  std::u16string s;
  const uint8_t length = in.byte() % 24;
  for (uint8_t i = 0; i < length && !in.empty(); ++i) {
    const uint8_t pick = in.byte();
    const uint16_t element = pick < 0xC0 ? kInteresting[pick % std::size(kInteresting)] : in.word();
    if (element != 0) s.push_back(element);
  }
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  qstr::fuzz::Input in(data, size);
  qstr::fuzz::useHostKind(in.byte());
  const uint16_t language = in.byte() % 44;  // 40 and up too
  const uint8_t flags = in.byte();
  const std::u16string a = nativeString(in), b = nativeString(in);
  qstr::fuzz::check(
      qstr::test::keyOrderFault(a, b, flags & 4, flags & 8, language, flags & 1, flags >> 1 & 1).empty());
  return 0;
}
