#include <gtest/gtest.h>

#include "qstr14/asian.h"
#include "qstr14/collate.h"
#include "qstr14/frame.h"

namespace {

// xchcmp takes ASCII pairs by a shorter road; it must answer exactly as
// lowering with wtolower and reading values with xch2col do, under plain
// and tailored sequences.
int32_t plainCompare(uint16_t a, uint16_t b, uint32_t caseFlag) {
  const uint16_t la = wtolower(a), lb = wtolower(b);
  const int32_t upperA = caseFlag != 0 && la != a, upperB = caseFlag != 0 && lb != b;
  if (la == lb) return upperA - upperB;
  const uint8_t va = xch2col(la), vb = xch2col(lb);
  if (va != vb) return static_cast<int32_t>(va) - static_cast<int32_t>(vb);
  if (va == 0xFF) return static_cast<int32_t>(la) - static_cast<int32_t>(lb);
  return upperA - upperB;
}

TEST(CharacterCompareFastPath, AsciiPairsAnswerAsThePlainRoad) {
  for (const char *language : {"EN", "TR", "CZ", "DK"}) {
    QStrSetLanguage(language);
    lQstrSetupLang();
    for (uint16_t a = 0; a < 0x80; ++a) {
      for (uint16_t b = 0; b < 0x80; ++b) {
        for (uint32_t caseFlag : {0u, 1u}) {
          ASSERT_EQ(xchcmp(a, b, caseFlag), plainCompare(a, b, caseFlag)) << language << " " << a << " " << b;
        }
      }
    }
  }
  QStrSetLanguage("EN");
  lQstrSetupLang();
}

}  // namespace
