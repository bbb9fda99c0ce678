// Whole-text conversions beside glibc iconv and ICU on the same input.
#include <iconv.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#ifdef QSTR14_BENCH_ICU
#include <unicode/ucnv.h>
#endif

#include "host/host.h"
#include "host/profile.h"
#include "inputs.h"
#include "memory.h"
#include "qstr14/codepage.h"
#include "qstr14/strings.h"
#include "rows.h"

namespace qstr::bench {
namespace {

// Every conversion row at three sizes: its time grows with the text.
const std::vector<int64_t> kScalingSizes = {1 << 10, 1 << 20, 64 << 20};
// str_AnsiToQx may write 4 bytes a character, within a 16-bit size.
constexpr std::size_t kStreamChunk = 16000;
// A streamed text longer than this is this much text passed over again and
// again: the stream conversions need no more memory for a longer stream.
constexpr std::size_t kStreamedTextBytes = 1 << 20;

constexpr std::size_t kIconvFailed = static_cast<std::size_t>(-1);

// Converts `input` with iconv from its initial state into `output`; the bytes
// written, or kIconvFailed.
std::size_t iconvInto(iconv_t cd, std::string_view input, std::string &output) {
  char *in = const_cast<char *>(input.data());
  char *out = output.data();
  std::size_t inLeft = input.size(), outLeft = output.size();
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &in, &inLeft, &out, &outLeft) == kIconvFailed) return kIconvFailed;
  return output.size() - outLeft;
}

// Converts all of `input` with iconv; empty on failure.
std::string iconvAll(iconv_t cd, const std::string &input) {
  std::string output(input.size() * 4 + 16, '\0');
  const std::size_t written = iconvInto(cd, input, output);
  if (written == kIconvFailed) return {};
  output.resize(written);
  return output;
}

std::u16string utf16Of(const std::string &bytes) {
  return std::u16string(reinterpret_cast<const char16_t *>(bytes.data()), bytes.size() / 2);
}

bool noLeadBytes(uint8_t) { return false; }

// ---- code page bytes → UTF-16 through native strings ----
struct BytesToUtf16 {
  const char *locale;
  const char *iconvName;
  const char *icuName;
  std::string (*text)(std::size_t);
};

std::u16string oursToUtf16(const std::string &text, std::vector<uint16_t> &natives, std::u16string &utf16) {
  Q6azTowz(text.c_str(), natives.data());
  Q6wzToWStr(natives.data(), reinterpret_cast<uint16_t *>(utf16.data()));
  return std::u16string(utf16.c_str());
}

// "1 KiB", "64 MiB": the label of a text size.
std::string sizeLabel(int64_t bytes) {
  if (bytes >= (1 << 20) && bytes % (1 << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
  if (bytes >= (1 << 10) && bytes % (1 << 10) == 0) return std::to_string(bytes >> 10) + " KiB";
  return std::to_string(bytes) + " bytes";
}

// The text of the benchmark's size argument, labelled with the size.
std::string sizedText(benchmark::State &state, std::string (*text)(std::size_t)) {
  state.SetLabel(sizeLabel(state.range(0)));
  return text(static_cast<std::size_t>(state.range(0)));
}

void atScalingSizes(benchmark::internal::Benchmark *b) {
  for (int64_t size : kScalingSizes) b->Arg(size);
}

// The UTF-16 of `text` (in the code page iconv calls `iconvName`).
std::u16string utf16OfText(const std::string &text, const char *iconvName) {
  iconv_t cd = iconv_open("UTF-16LE", iconvName);
  const std::u16string utf16 = utf16Of(iconvAll(cd, text));
  iconv_close(cd);
  return utf16;
}

void addBytesToUtf16Row(const std::string &row, BytesToUtf16 setup) {
  auto ours = [setup](benchmark::State &state) {
    useMachine(setup.locale);
    const std::string text = sizedText(state, setup.text);
    std::vector<uint16_t> natives(text.size() + 1);
    std::u16string utf16(text.size() + 1, u'\0');
    const std::u16string expected = utf16OfText(text, setup.iconvName);
    if (!verify(state, oursToUtf16(text, natives, utf16) == expected, "differs from iconv")) return;
    for (auto _ : state) {
      Q6azTowz(text.c_str(), natives.data());
      Q6wzToWStr(natives.data(), reinterpret_cast<uint16_t *>(utf16.data()));
      benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    host::resetHostProfile();
  };
  auto viaIconv = [setup](benchmark::State &state) {
    const std::string text = sizedText(state, setup.text);
    iconv_t cd = iconv_open("UTF-16LE", setup.iconvName);
    std::string output(text.size() * 2 + 16, '\0');
    for (auto _ : state) {
      iconvInto(cd, text, output);
      benchmark::ClobberMemory();
    }
    iconv_close(cd);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  };
  std::vector<Contender> contenders = {{"ours", ours}, {"iconv", viaIconv}};
#ifdef QSTR14_BENCH_ICU
  contenders.push_back({"ICU", [setup](benchmark::State &state) {
    const std::string text = sizedText(state, setup.text);
    UErrorCode status = U_ZERO_ERROR;
    UConverter *converter = ucnv_open(setup.icuName, &status);
    std::vector<UChar> output(text.size() + 1);
    for (auto _ : state) {
      status = U_ZERO_ERROR;
      ucnv_toUChars(converter, output.data(), static_cast<int32_t>(output.size()), text.data(),
                    static_cast<int32_t>(text.size()), &status);
      benchmark::ClobberMemory();
    }
    if (U_FAILURE(status)) state.SkipWithError(u_errorName(status));
    ucnv_close(converter);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  }});
#endif
  addRow(row, contenders, atScalingSizes);
}

// ---- UTF-16 → 1252 through native strings ----
void addUtf16To1252Row() {
  auto ours = [](benchmark::State &state) {
    useMachine("en_US");
    const std::string text = sizedText(state, westernText1252);
    const std::u16string utf16 = utf16OfText(text, "CP1252");
    std::vector<uint16_t> natives(utf16.size() + 1);
    std::string output(text.size() + 1, '\0');
    Q6WStrTowz(reinterpret_cast<const uint16_t *>(utf16.c_str()), natives.data());
    const uint32_t written = Q6wzToaz(natives.data(), output.data());
    if (!verify(state, output.substr(0, written) == text, "does not give the text back")) return;
    for (auto _ : state) {
      Q6WStrTowz(reinterpret_cast<const uint16_t *>(utf16.c_str()), natives.data());
      Q6wzToaz(natives.data(), output.data());
      benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    host::resetHostProfile();
  };
  auto viaIconv = [](benchmark::State &state) {
    const std::string text = sizedText(state, westernText1252);
    const std::u16string utf16 = utf16OfText(text, "CP1252");
    const std::string_view utf16Bytes(reinterpret_cast<const char *>(utf16.data()), utf16.size() * 2);
    iconv_t cd = iconv_open("CP1252", "UTF-16LE");
    std::string output(text.size() + 16, '\0');
    for (auto _ : state) {
      iconvInto(cd, utf16Bytes, output);
      benchmark::ClobberMemory();
    }
    iconv_close(cd);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  };
  std::vector<Contender> contenders = {{"ours", ours}, {"iconv", viaIconv}};
#ifdef QSTR14_BENCH_ICU
  contenders.push_back({"ICU", [](benchmark::State &state) {
    const std::string text = sizedText(state, westernText1252);
    const std::u16string utf16 = utf16OfText(text, "CP1252");
    UErrorCode status = U_ZERO_ERROR;
    UConverter *converter = ucnv_open("windows-1252", &status);
    std::string output(text.size() + 16, '\0');
    for (auto _ : state) {
      status = U_ZERO_ERROR;
      ucnv_fromUChars(converter, output.data(), static_cast<int32_t>(output.size()),
                      reinterpret_cast<const UChar *>(utf16.data()), static_cast<int32_t>(utf16.size()), &status);
      benchmark::ClobberMemory();
    }
    ucnv_close(converter);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  }});
#endif
  addRow("UTF-16 -> 1252", contenders, atScalingSizes);
}

// ---- code page bytes → document stream → code page bytes ----
struct StreamRoundTrip {
  const char *locale;
  const char *iconvName;
  uint32_t (*toStream)(uint8_t *, const char *, uint32_t);
  uint32_t (*fromStream)(char *, const uint8_t *, uint32_t);
  std::string (*text)(std::size_t);
};

// The text of a stream row of the benchmark's size: pieces of a text of at
// most kStreamedTextBytes, passed over as many times as make the size.
struct StreamedText {
  std::string text;
  std::vector<std::string> pieces;
  std::size_t passes;
  std::size_t bytes() const { return passes * text.size(); }
};

StreamedText streamedText(benchmark::State &state, std::string (*make)(std::size_t)) {
  state.SetLabel(sizeLabel(state.range(0)));
  const auto size = static_cast<std::size_t>(state.range(0));
  const std::size_t textBytes = size < kStreamedTextBytes ? size : kStreamedTextBytes;
  StreamedText streamed{make(textBytes), {}, size / textBytes};
  streamed.pieces = chunks(streamed.text, kStreamChunk, noLeadBytes);
  return streamed;
}

void addStreamRow(const std::string &row, StreamRoundTrip setup) {
  auto ours = [setup](benchmark::State &state) {
    useMachine(setup.locale);
    const StreamedText streamed = streamedText(state, setup.text);
    std::vector<uint8_t> stream(0xFFFF);
    std::string back(0xFFFF, '\0');
    bool same = true;
    for (const std::string &piece : streamed.pieces) {
      setup.toStream(stream.data(), piece.c_str(), 0xFFFF);
      const uint32_t written = setup.fromStream(back.data(), stream.data(), 0xFFFF);
      same = same && back.compare(0, written - 1, piece) == 0 && written - 1 == piece.size();
    }
    if (!verify(state, same, "the round trip does not give the text back")) return;
    const ResidentMemoryWatch memory;
    for (auto _ : state) {
      for (std::size_t pass = 0; pass < streamed.passes; ++pass) {
        for (const std::string &piece : streamed.pieces) {
          setup.toStream(stream.data(), piece.c_str(), 0xFFFF);
          setup.fromStream(back.data(), stream.data(), 0xFFFF);
        }
      }
      benchmark::ClobberMemory();
    }
    memory.report(state);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * streamed.bytes()));
    host::resetHostProfile();
  };
  auto viaIconv = [setup](benchmark::State &state) {
    const StreamedText streamed = streamedText(state, setup.text);
    iconv_t to = iconv_open("UTF-8", setup.iconvName);
    iconv_t from = iconv_open(setup.iconvName, "UTF-8");
    std::string utf8(streamed.text.size() * 3 + 16, '\0');
    std::string back(streamed.text.size() + 16, '\0');
    if (verify(state, iconvInto(to, streamed.text, utf8) != kIconvFailed, "iconv cannot convert the text")) {
      for (auto _ : state) {
        for (std::size_t pass = 0; pass < streamed.passes; ++pass) {
          const std::size_t utf8Bytes = iconvInto(to, streamed.text, utf8);
          iconvInto(from, std::string_view(utf8.data(), utf8Bytes), back);
        }
        benchmark::ClobberMemory();
      }
    }
    iconv_close(to);
    iconv_close(from);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * streamed.bytes()));
  };
  addRow(row, {{"ours", ours}, {"iconv via UTF-8", viaIconv}}, atScalingSizes);
}

[[maybe_unused]] const bool registered = [] {
  addBytesToUtf16Row("1252 -> UTF-16", {"en_US", "CP1252", "windows-1252", westernText1252});
  addUtf16To1252Row();
  addBytesToUtf16Row("932 -> UTF-16", {"ja_JP", "CP932", "ibm-943_P15A-2003", japaneseText932});
  addStreamRow("1252 -> document stream -> 1252", {"en_US", "CP1252", str_AnsiToQx, TpiQxToAnsiBuff, westernText1252});
  addStreamRow("437 -> document stream -> 437", {"en_US", "CP437", str_OemToQx, TpiQxToOemBuff, dosText437});
  return true;
}();

}  // namespace
}  // namespace qstr::bench
