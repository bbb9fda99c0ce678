// First use from many threads at once: each family of calls is made for the
// first time from 8 threads released together (CTest runs each family in a
// process of its own, so the state it builds on first use is built inside
// the race), and every thread must get the answer one thread gets afterwards.
// ThreadSanitizer (make tsan) reports any unordered access.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "host/host.h"
#include "qstr14/keys.h"
#include "qstr14/qstr14.h"
#include "registry/ckzkey.h"
#include "registry/link_resolver.h"
#include "support/machine.h"

namespace {

constexpr int kThreads = 8;
using Answers = std::vector<long long>;
using Units = std::vector<uint16_t>;

// Each thread's answers, `work` run on kThreads threads released at once.
std::vector<Answers> race(const std::function<Answers()> &work) {
  std::atomic<bool> go{false};
  std::vector<Answers> answers(kThreads);
  std::vector<std::thread> threads;
  for (Answers &mine : answers) {
    threads.emplace_back([&go, &work, &mine] {
      while (!go.load(std::memory_order_acquire)) std::this_thread::yield();
      mine = work();
    });
  }
  go.store(true, std::memory_order_release);
  for (std::thread &thread : threads) thread.join();
  return answers;
}

// The native string of ANSI bytes or UTF-16 text, with its terminator.
Units natives(const char *bytes) {
  Units out(std::strlen(bytes) + 1);
  Q6azTowz(bytes, out.data());
  return out;
}
Units natives(std::u16string_view text) {
  Units unicode(text.begin(), text.end()), out(text.size() + 1);
  unicode.push_back(0);
  Q6WStrTowz(unicode.data(), out.data());
  return out;
}

// Bytes, units or answers as answers, one after the other.
Answers bytesOf(const void *data, std::size_t length) {
  const auto *bytes = static_cast<const unsigned char *>(data);
  return Answers(bytes, bytes + length);
}
Answers join(const Units &units, Answers more = {}) {
  more.insert(more.begin(), units.begin(), units.end());
  return more;
}

// A multi-level comparison of two texts under a language.
template <typename Text>
long long collate(Text a, Text b, const char *language, int level, int kana) {
  return QxQS6CmpcollLang(natives(a).data(), natives(b).data(), language, level, kana);
}

constexpr const char *kLinks = "HKEY_CURRENT_USER\\Software\\Links";

struct Family {
  const char *name;
  const char *locale;  // null: the process's own profile, derived in the race
  std::function<Answers()> firstUse;
  std::function<void()> before = [] {};
};

const std::vector<Family> &families() {
  using qstr::host::isDbcsLeadByte;
  static const std::vector<Family> all = {
      {"HostProfile", nullptr,
       [] {
         return Answers{qstr::host::ansiCodePage(), qstr::host::oemCodePage(), qstr::host::dbcsEnabled(),
                        qstr::host::systemDefaultLangId()};
       }},
      {"CountryId", "ja_JP", [] { return Answers{QtpiGetCountryID()}; }},
      {"BytesToNatives", "en_US", [] { return join(natives("Caf\xE9 \x80 \x9F"), {TpiOemToQx(0x82)}); }},
      {"DoubleBytesToNatives", "zh_TW", [] { return join(natives("\xA4\x40 x \xA4\x41"), {isDbcsLeadByte(0xA4)}); }},
      {"NativesToBytes", "cs_CZ",
       [] {
         const Units n = {'A', 0x0129, 0x0448, 0x0117, 0};
         char bytes[16] = {};
         Q6wzToaz(n.data(), bytes);
         return bytesOf(bytes, std::strlen(bytes));
       }},
      {"UnicodeBothWays", "ja_JP",
       [] {
         const Units n = natives(u"Caf\u00E9 \u4E00\u3042\u30A2 \u20AC");
         Units back(n.size());
         Q6wzToWStr(n.data(), back.data());
         return join(n, join(back));
       }},
      {"CodePageSelection", "ko_KR",
       [] {
         const std::string location = QcvtGetRegistryLoc();
         return join(Units(location.begin(), location.end()),
                     {QcvtGetWinCodepage(), QcvtGetDOSCodepage(), QtpiGetAnsiCodepageTbl()->toQxCodepage,
                      QtpiGetOemCodepageTbl()->toQxCodepage});
       }},
      {"BufferConversions", "en_US",
       [] {
         uint8_t stream[64] = {};
         char back[64] = {};
         const uint32_t length = str_AnsiToQx(stream, "Caf\xE9\x0D\x0A\x80", sizeof stream);
         TpiQxToAnsiBuff(back, stream, sizeof back);
         return join(Units(stream, stream + length), bytesOf(back, std::strlen(back)));
       }},
      {"Comparison", "en_US",
       [] {
         const Units a = natives("Apfel"), b = natives("apfel"), c = natives("\xC4pfel");
         return Answers{Q6wstrcmp(a.data(), b.data()), Q6wstricmp(a.data(), b.data()), Q6wstrcmp(c.data(), b.data())};
       }},
      {"ContractingCollation", "en_US",
       [] { return Answers{collate("llama", "luz", "ES", 1, 0), collate("chata", "hrad", "CZ", 1, 0)}; }},
      {"AsianCollation", "ja_JP",
       [] {
         const char16_t *hiragana = u"\u3042\u304B", *katakana = u"\u30A2\u30AB";
         return Answers{collate(hiragana, katakana, "JA", 0, 1), collate(hiragana, katakana, "JA", 0, 0)};
       }},
      {"SortKeys", "en_US",
       [] {
         uint8_t key[128] = {};
         int32_t exact = 0;
         const std::size_t length = QsKeyBuild(natives("Chorizo").data(), QxLanguage("ES"), 1, 0, key, 128, &exact);
         return join(Units(key, key + std::min<std::size_t>(length, 128)), {exact});
       }},
      {"AsianClassMapping", "ja_JP",
       [] {
         const Units kana = natives(u"\u3042\uFF71a");
         uint16_t next = 0;
         return Answers{wtokatakana(kana[0]), wtohiragana(kana[1]), wtoupper(kana[2]), wtodouble(kana[2], &next)};
       }},
      {"RegistryReadsThroughALink", "en_US",
       [] {
         uint8_t data[64] = {};
         uint32_t type = 0, size = sizeof data;
         const int32_t status =
             qstr::registry::CKZKey(kLinks, 0x2001F).QueryValue("Expr", &type, nullptr, data, &size, 1);
         return Answers{status, type, size, data[0], data[2]};
       },
       [] {  // Expr reads the value of Single through a link
         qstr::registry::CKZKey key(kLinks, 0x2001F);
         const uint8_t single[] = {'z', 0, 0, 0};
         const std::u16string expression = u"<Links\\Single>y";
         key.SetValue("Single", qstr::registry::kLinkType, single, sizeof single, 0, 1);
         key.SetValue("Expr", qstr::registry::kLinkType, reinterpret_cast<const uint8_t *>(expression.c_str()),
                      2 * expression.size() + 2, 0, 1);
       }},
  };
  return all;
}

class FirstUse : public ::testing::TestWithParam<std::size_t> {};

TEST_P(FirstUse, FromEightThreadsAtOnce) {
  const Family &family = families()[GetParam()];
  std::optional<qstr::test::Machine> machine;
  if (family.locale != nullptr) {
    machine.emplace(qstr::test::EnvironmentList{{"LANG", family.locale}});
  } else {
    qstr::host::resetHostProfile();
  }
  family.before();
  const std::vector<Answers> answers = race(family.firstUse);
  const Answers once = family.firstUse();
  EXPECT_FALSE(once.empty());
  for (const Answers &a : answers) EXPECT_EQ(a, once);
}

INSTANTIATE_TEST_SUITE_P(Families, FirstUse, ::testing::Range<std::size_t>(0, families().size()),
                         [](const ::testing::TestParamInfo<std::size_t> &info) {
                           return std::string(families()[info.param].name);
                         });

// Conversions over and over on threads that share the built state.
TEST(SharedState, ConversionsAgreeAcrossThreads) {
  qstr::test::Machine machine({{"LANG", "en_US"}});
  const Units unicode = {'C', 'a', 'f', 0xE9, ' ', 0x20AC, 0x03B1, 0x0416, 0};
  const auto convert = [&unicode] {
    Units native(unicode.size()), back(unicode.size());
    Q6WStrTowz(unicode.data(), native.data());
    Q6wzToWStr(native.data(), back.data());
    char bytes[32] = {};
    uint8_t stream[64];
    return Answers{back == unicode, Q6wzToazEx(native.data(), bytes, 0x01), str_AnsiToQx(stream, bytes, sizeof stream)};
  };
  const Answers once = convert();
  EXPECT_EQ(once[0], 1);
  const std::vector<Answers> answers = race([&convert, &once] {
    for (int round = 0; round < 200; ++round) {
      if (convert() != once) return Answers{};
    }
    return once;
  });
  for (const Answers &a : answers) EXPECT_EQ(a, once);
}

}  // namespace
