// First use from many threads at once: each family of calls is made for the
// first time from 8 threads released together, and every thread must get
// the answer that one thread gets afterwards. CTest runs each family in a
// process of its own, so the state it builds on first use (the host
// profile, the country ID, the code page records and tables, the sort
// sequence, the language memos, the registry) is built inside the race;
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
using Answers = std::vector<uint32_t>;
using Units = std::vector<uint16_t>;

// Runs `work` on kThreads threads released at the same moment; returns
// each thread's answers.
std::vector<Answers> race(const std::function<Answers()> &work) {
  std::atomic<bool> go{false};
  std::vector<Answers> answers(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&go, &work, &answers, t] {
      while (!go.load(std::memory_order_acquire)) std::this_thread::yield();
      answers[static_cast<std::size_t>(t)] = work();
    });
  }
  go.store(true, std::memory_order_release);
  for (std::thread &thread : threads) thread.join();
  return answers;
}

void append(Answers &answers, const Units &units) { answers.insert(answers.end(), units.begin(), units.end()); }

Units natives(const char *bytes) {
  Units out(std::strlen(bytes) + 1);
  Q6azTowz(bytes, out.data());
  return out;
}

Units nativesOf(std::u16string_view text) {
  Units unicode(text.begin(), text.end()), out(text.size() + 1);
  unicode.push_back(0);
  Q6WStrTowz(unicode.data(), out.data());
  return out;
}

constexpr const char *kLinks = "HKEY_CURRENT_USER\\Software\\Links";

Answers readThroughLink() {
  qstr::registry::CKZKey key(kLinks, 0x2001F);
  uint8_t data[64] = {};
  uint32_t type = 0, size = sizeof data;
  const int32_t status = key.QueryValue("Expr", &type, nullptr, data, &size, 1);
  return {static_cast<uint32_t>(status), type, size, data[0], data[2]};
}

void putLinks() {
  qstr::registry::CKZKey key(kLinks, 0x2001F);
  const uint8_t single[] = {'z', 0, 0, 0};
  const uint8_t expression[] = {'<', 0, 'L', 0, 'i', 0, 'n', 0, 'k', 0, 's', 0, '\\', 0, 'S', 0,
                                'i', 0, 'n', 0, 'g', 0, 'l', 0, 'e', 0, '>', 0, 'y', 0, 0, 0};
  key.SetValue("Single", qstr::registry::kLinkType, single, sizeof single, 0, 1);
  key.SetValue("Expr", qstr::registry::kLinkType, expression, sizeof expression, 0, 1);
}

struct Family {
  const char *name;
  const char *locale;  // null: the process's own profile, derived in the race
  std::function<Answers()> firstUse;
  std::function<void()> before = [] {};
};

const std::vector<Family> &families() {
  static const std::vector<Family> all = {
      {"HostProfile", nullptr,
       [] {
         return Answers{qstr::host::ansiCodePage(), qstr::host::oemCodePage(), static_cast<uint32_t>(qstr::host::dbcsEnabled()),
                        qstr::host::systemDefaultLangId()};
       }},
      {"CountryId", "ja_JP", [] { return Answers{QtpiGetCountryID()}; }},
      {"BytesToNatives", "en_US",
       [] {
         Answers a;
         append(a, natives("Caf\xE9 \x80 \x9F"));
         a.push_back(TpiOemToQx(0x82));
         return a;
       }},
      {"DoubleBytesToNatives", "zh_TW", [] {
         Answers a;
         append(a, natives("\xA4\x40 x \xA4\x41"));
         a.push_back(qstr::host::isDbcsLeadByte(0xA4));
         return a;
       }},
      {"NativesToBytes", "cs_CZ",
       [] {
         const Units n = {'A', 0x0129, 0x0448, 0x0117, 0};
         char bytes[16] = {};
         Q6wzToaz(n.data(), bytes);
         const auto *text = reinterpret_cast<const unsigned char *>(bytes);
         return Answers(text, text + std::strlen(bytes));
       }},
      {"UnicodeBothWays", "ja_JP",
       [] {
         const Units n = nativesOf(u"Caf\u00E9 \u4E00\u3042\u30A2 \u20AC");
         Units back(n.size());
         Q6wzToWStr(n.data(), back.data());
         Answers a;
         append(a, n);
         append(a, back);
         return a;
       }},
      {"CodePageSelection", "ko_KR",
       [] {
         Answers a = {QcvtGetWinCodepage(), QcvtGetDOSCodepage(), QtpiGetAnsiCodepageTbl()->toQxCodepage,
                      QtpiGetOemCodepageTbl()->toQxCodepage};
         const std::string location = QcvtGetRegistryLoc();
         a.insert(a.end(), location.begin(), location.end());
         return a;
       }},
      {"BufferConversions", "en_US",
       [] {
         uint8_t stream[64] = {};
         const uint32_t length = str_AnsiToQx(stream, "Caf\xE9\x0D\x0A\x80", sizeof stream);
         char back[64] = {};
         TpiQxToAnsiBuff(back, stream, sizeof back);
         Answers a(stream, stream + length);
         const auto *text = reinterpret_cast<const unsigned char *>(back);
         a.insert(a.end(), text, text + std::strlen(back));
         return a;
       }},
      {"Comparison", "en_US",
       [] {
         const Units a = natives("Apfel"), b = natives("apfel"), c = natives("\xC4pfel");
         return Answers{static_cast<uint32_t>(Q6wstrcmp(a.data(), b.data())),
                        static_cast<uint32_t>(Q6wstricmp(a.data(), b.data())),
                        static_cast<uint32_t>(Q6wstrcmp(c.data(), b.data()))};
       }},
      {"ContractingCollation", "en_US",
       [] {
         const Units llama = natives("llama"), luz = natives("luz"), chata = natives("chata"), hrad = natives("hrad");
         return Answers{static_cast<uint32_t>(QxQS6CmpcollLang(llama.data(), luz.data(), "ES", 1, 0)),
                        static_cast<uint32_t>(QxQS6CmpcollLang(chata.data(), hrad.data(), "CZ", 1, 0))};
       }},
      {"AsianCollation", "ja_JP",
       [] {
         const Units hiragana = nativesOf(u"\u3042\u304B"), katakana = nativesOf(u"\u30A2\u30AB");
         return Answers{static_cast<uint32_t>(QxQS6CmpcollLang(hiragana.data(), katakana.data(), "JA", 0, 1)),
                        static_cast<uint32_t>(QxQS6CmpcollLang(hiragana.data(), katakana.data(), "JA", 0, 0))};
       }},
      {"SortKeys", "en_US",
       [] {
         const Units word = natives("Chorizo");
         uint8_t key[128] = {};
         int32_t exact = 0;
         const std::size_t length = QsKeyBuild(word.data(), QxLanguage("ES"), 1, 0, key, sizeof key, &exact);
         Answers a(key, key + (length < sizeof key ? length : sizeof key));
         a.push_back(static_cast<uint32_t>(exact));
         return a;
       }},
      {"AsianClassMapping", "ja_JP",
       [] {
         const Units kana = nativesOf(u"\u3042\uFF71a");
         uint16_t next = 0;
         return Answers{wtokatakana(kana[0]), wtohiragana(kana[1]), wtoupper(kana[2]), wtodouble(kana[2], &next)};
       }},
      {"RegistryReadsThroughALink", "en_US", readThroughLink, putLinks},
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
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(answers[static_cast<std::size_t>(t)], once) << "thread " << t;
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
    return Answers{static_cast<uint32_t>(back == unicode), Q6wzToazEx(native.data(), bytes, 0x01),
                   str_AnsiToQx(stream, bytes, sizeof stream)};
  };
  const Answers once = convert();
  EXPECT_EQ(once[0], 1u);
  const std::vector<Answers> answers = race([&convert, &once] {
    for (int round = 0; round < 200; ++round) {
      if (convert() != once) return Answers{};
    }
    return once;
  });
  for (const Answers &a : answers) EXPECT_EQ(a, once);
}

}  // namespace
