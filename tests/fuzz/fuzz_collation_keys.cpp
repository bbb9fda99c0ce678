// The multi-level comparison on arbitrary native strings: its answers are
// -1, 0 or 1, antisymmetric and 0 for a string against itself; and where
// the key builder reports both keys exact, comparing the keys gives the
// comparison's answer.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz_support.h"
#include "host_kinds.h"
#include "qstr14/collate.h"
#include "qstr14/keys.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

// Characters that reach the comparison's special paths: contractions and
// expansions of the Latin languages, accented letters, the tab and other
// markers, the ignorable characters of the right-to-left languages, kana
// with their marks and the prolonged sound and iteration marks.
constexpr uint16_t kInteresting[] = {
    'a', 'c', 'h', 'l', 'n', 's', 'z', 'A', 'C', 'H', 'L', 'O', 'S', ' ', '-', '\'',
    0x0101, 0x0102, 0x0141, 0x0151, 0x0161, 0x01A1, 0x0800, 0x0841, 0x0A61, 0x0A41,
    0xF909, 0xF90A, 0xFB05, 0xFE00, 0x8900, 0x8A10, 0x8E41, 0x0A01,
    0x2401, 0x2402, 0x2421, 0x2501, 0x2521, 0x2581, 0x2601, 0x3001, 0x5A01, 0x2425, 0x2430};

// A string from the input: each element is either one of the interesting
// characters or an arbitrary 16-bit element.
std::vector<uint16_t> nativeString(qstr::fuzz::Input &in) {
  std::vector<uint16_t> s;
  const uint8_t length = in.byte() % 24;
  for (uint8_t i = 0; i < length && !in.empty(); ++i) {
    const uint8_t pick = in.byte();
    uint16_t element;
    if (pick < 0xC0) {
      element = kInteresting[pick % (sizeof kInteresting / sizeof kInteresting[0])];
    } else {
      element = in.word();
    }
    if (element != 0) s.push_back(element);
  }
  s.push_back(0);
  return s;
}

struct Key {
  std::vector<uint8_t> bytes;
  bool exact;
};

Key keyOf(const uint16_t *s, uint16_t language, uint16_t caseFlag, uint16_t kanaFlag, std::size_t units) {
  int32_t exact = -1;
  const std::size_t length = QsKeyBuild(s, language, caseFlag, kanaFlag, nullptr, 0, &exact);
  check(exact == 0 || exact == 1);
  check(length <= 14 * units + 2);
  Key key{std::vector<uint8_t>(length + 8, 0x55), false};
  int32_t again = -1;
  check(QsKeyBuild(s, language, caseFlag, kanaFlag, key.bytes.data(), length, &again) == length);
  check(again == exact);
  for (std::size_t i = length; i < key.bytes.size(); ++i) check(key.bytes[i] == 0x55);
  key.bytes.resize(length);
  key.exact = exact == 1;
  if (QsKeyAlwaysExact(language, caseFlag, kanaFlag)) check(key.exact);
  return key;
}

int32_t sign(int32_t v) { return (v > 0) - (v < 0); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  qstr::fuzz::Input in(data, size);
  qstr::fuzz::useHostKind(in.byte());
  const uint16_t language = in.byte() % 44;  // 40 and up too
  const uint8_t flags = in.byte();
  const uint16_t caseFlag = flags & 1;
  const uint16_t kanaFlag = flags >> 1 & 1;
  const std::vector<uint16_t> a = nativeString(in);
  const std::vector<uint16_t> b = nativeString(in);
  // Either string may be null.
  const uint16_t *pa = flags & 0x04 ? nullptr : a.data();
  const uint16_t *pb = flags & 0x08 ? nullptr : b.data();

  const int32_t ab = QxQS6Cmpcoll(pa, pb, language, caseFlag, kanaFlag);
  const int32_t ba = QxQS6Cmpcoll(pb, pa, language, caseFlag, kanaFlag);
  check(ab >= -1 && ab <= 1);
  check(ab == -ba);
  check(QxQS6Cmpcoll(pa, pa, language, caseFlag, kanaFlag) == 0);

  const Key ka = keyOf(pa, language, caseFlag, kanaFlag, a.size() - 1);
  const Key kb = keyOf(pb, language, caseFlag, kanaFlag, b.size() - 1);
  const int32_t keys = QsKeyCompare(ka.bytes.data(), ka.bytes.size(), kb.bytes.data(), kb.bytes.size());
  // The key order is memcmp's, the shorter key first on a common prefix.
  const std::size_t common = std::min(ka.bytes.size(), kb.bytes.size());
  int32_t bytes = common == 0 ? 0 : sign(std::memcmp(ka.bytes.data(), kb.bytes.data(), common));
  if (bytes == 0) bytes = sign(static_cast<int32_t>(ka.bytes.size()) - static_cast<int32_t>(kb.bytes.size()));
  check(keys == bytes);
  if (ka.exact && kb.exact) check(keys == ab);
  return 0;
}
