// First use from 8 threads released together (each family runs in a process of its own, so the state
// is built inside the race): every answer must be the one a single thread gets afterwards.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <optional>
#include <thread>

#include "host/host.h"
#include "qstr14/qstr14.h"
#include "registry/ckzkey.h"
#include "registry/link_resolver.h"
#include "support/machine.h"

namespace {

namespace host = qstr::host;
using qstr::registry::CKZKey;
using qstr::registry::kLinkType;
using Answers = std::vector<long long>;
using Units = std::vector<uint16_t>;

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

template <typename Sequence>
Answers join(const Sequence &units, Answers more = {}) {
  more.insert(more.begin(), std::begin(units), std::end(units));
  return more;
}

long long collate(const char *a, const char *b, const char *language) {
  return QxQS6CmpcollLang(natives(a).data(), natives(b).data(), language, 1, 0);
}

constexpr const char *kLinks = "HKEY_CURRENT_USER\\Software\\Links";

struct Family {
  const char *name;
  const char *locale;  // null: the process's own, derived in the race
  std::function<Answers()> firstUse;
  std::function<void()> before = [] {};
};

const std::vector<Family> &families() {
  static const std::vector<Family> all = {
      {"HostProfile", nullptr,
       [] {
         return Answers{host::ansiCodePage(), host::oemCodePage(), host::dbcsEnabled(),
                        host::systemDefaultLangId()};
       }},
      {"CountryId", "ja_JP", [] { return Answers{QtpiGetCountryID()}; }},
      {"BytesToNatives", "en_US", [] { return join(natives("Caf\xE9 \x80 \x9F"), {TpiOemToQx(0x82)}); }},
      {"DoubleBytesToNatives", "zh_TW",
       [] { return join(natives("\xA4\x40 x \xA4\x41"), {host::isDbcsLeadByte(0xA4)}); }},
      {"NativesToBytes", "cs_CZ",
       [] {
         const Units native = {'A', 0x0129, 0x0448, 0x0117, 0x20AC, 0};
         char bytes[16] = {};
         return join(std::string(bytes, Q6wzToazEx(native.data(), bytes, 0x01)));
       }},
      {"UnicodeBothWays", "ja_JP",
       [] {
         const Units native = natives(u"Caf\u00E9 \u4E00\u3042\u30A2 \u20AC");
         Units back(native.size());
         Q6wzToWStr(native.data(), back.data());
         return join(native, join(back));
       }},
      {"CodePageSelection", "ko_KR",
       [] {
         return join(std::string(QcvtGetRegistryLoc()),
                     {QcvtGetWinCodepage(), QcvtGetDOSCodepage(), QtpiGetAnsiCodepageTbl()->toQxCodepage,
                      QtpiGetOemCodepageTbl()->toQxCodepage});
       }},
      {"BufferConversions", "en_US",
       [] {
         uint8_t stream[64] = {};
         char back[64] = {};
         const uint32_t length = str_AnsiToQx(stream, "Caf\xE9\x0D\x0A\x80", sizeof stream);
         TpiQxToAnsiBuff(back, stream, sizeof back);
         return join(Units(stream, stream + length), join(std::string(back)));
       }},
      {"ContractingCollation", "en_US",
       [] { return Answers{collate("llama", "luz", "ES"), collate("chata", "hrad", "CZ")}; }},
      {"RegistryReadsThroughALink", "en_US",
       [] {
         uint8_t data[64] = {};
         uint32_t type = 0, size = sizeof data;
         const int32_t status = CKZKey(kLinks, 0x2001F).QueryValue("Expr", &type, nullptr, data, &size, 1);
         return Answers{status, type, size, data[0], data[2]};
       },
       [] {
         CKZKey key(kLinks, 0x2001F);
         const char16_t expression[] = u"<Links\\Single>y";
         key.SetValue("Single", kLinkType, reinterpret_cast<const uint8_t *>(u"z"), 4, 0, 1);
         const auto *bytes = reinterpret_cast<const uint8_t *>(expression);
         key.SetValue("Expr", kLinkType, bytes, sizeof expression, 0, 1);
       }},
  };
  return all;
}

class FirstUse : public ::testing::TestWithParam<std::size_t> {};

TEST_P(FirstUse, FromEightThreadsAtOnce) {
  const Family &family = families()[GetParam()];
  std::optional<qstr::test::Machine> machine;
  if (family.locale != nullptr) machine.emplace(qstr::test::EnvironmentList{{"LANG", family.locale}});
  if (family.locale == nullptr) host::resetHostProfile();
  family.before();
  std::atomic<bool> go{false};
  std::vector<std::vector<Answers>> answers(8);
  std::vector<std::thread> threads;
  for (std::vector<Answers> &mine : answers) {
    threads.emplace_back([&go, &family, &mine] {
      while (!go.load(std::memory_order_acquire)) std::this_thread::yield();
      for (int round = 0; round < 20; ++round) mine.push_back(family.firstUse());
    });
  }
  go.store(true, std::memory_order_release);
  for (std::thread &thread : threads) thread.join();
  const Answers once = family.firstUse();
  for (const std::vector<Answers> &rounds : answers) EXPECT_EQ(rounds, std::vector<Answers>(20, once));
}

INSTANTIATE_TEST_SUITE_P(Families, FirstUse, ::testing::Range<std::size_t>(0, families().size()),
                         [](const ::testing::TestParamInfo<std::size_t> &info) {
                           return std::string(families()[info.param].name);
                         });

}  // namespace
