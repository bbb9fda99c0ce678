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

// Every conversion row at every size a word processor meets: one call on an
// empty string and on one character (the cost of a call), words of 4-16
// bytes and lines of about 80 (one call each, over 64 KiB of text), and
// whole texts of 1 KiB, 1 MiB and 64 MiB, whose time grows with the text.
constexpr int64_t kEmpty = -1, kOneCharacter = -2, kWords = -3, kLines = -4;
const std::vector<int64_t> kSizes = {kEmpty, kOneCharacter, kWords, kLines, 1 << 10, 1 << 20, 64 << 20};
constexpr std::size_t kPiecedTextBytes = 64 << 10;
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
bool shiftJisLeadByte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// ---- code page bytes → UTF-16 through native strings ----
struct BytesToUtf16 {
  const char *locale;
  const char *iconvName;
  const char *icuName;
  std::string (*text)(std::size_t);
  bool (*leadByte)(uint8_t);
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

// The texts of the benchmark's size argument, each converted by a call of
// its own, labelled with the size. Pieced sizes count their pieces as the
// items, so that the summary gives the time of one call.
struct Pieces {
  std::vector<std::string> texts;
  std::size_t bytes = 0;

  void count(benchmark::State &state) const {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    if (texts.size() > 1 || bytes < 2) state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * texts.size()));
  }
};

Pieces piecesOf(benchmark::State &state, std::string (*make)(std::size_t), bool (*leadByte)(uint8_t)) {
  const int64_t size = state.range(0);
  Pieces result;
  if (size > 0) {
    state.SetLabel(sizeLabel(size));
    result.texts = {make(static_cast<std::size_t>(size))};
  } else {
    const std::string text = make(kPiecedTextBytes);
    const std::size_t first = leadByte(static_cast<uint8_t>(text[0])) ? 2 : 1;
    switch (size) {
      case kEmpty: state.SetLabel("empty"); result.texts = {""}; break;
      case kOneCharacter: state.SetLabel("1 character"); result.texts = {text.substr(0, first)}; break;
      case kWords: state.SetLabel("words"); result.texts = pieces(text, 4, 16, leadByte); break;
      default: state.SetLabel("lines"); result.texts = pieces(text, 72, 88, leadByte); break;
    }
  }
  for (const std::string &text : result.texts) result.bytes += text.size();
  return result;
}

void atEverySize(benchmark::internal::Benchmark *b) {
  for (int64_t size : kSizes) b->Arg(size);
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
    const Pieces pieces = piecesOf(state, setup.text, setup.leadByte);
    const std::size_t longest = pieces.texts.size() == 1 ? pieces.bytes : 100;
    std::vector<uint16_t> natives(longest + 1);
    std::u16string utf16(longest + 1, u'\0');
    bool same = true;
    for (const std::string &text : pieces.texts) {
      same = same && oursToUtf16(text, natives, utf16) == utf16OfText(text, setup.iconvName);
    }
    if (!verify(state, same, "differs from iconv")) return;
    for (auto _ : state) {
      for (const std::string &text : pieces.texts) {
        Q6azTowz(text.c_str(), natives.data());
        Q6wzToWStr(natives.data(), reinterpret_cast<uint16_t *>(utf16.data()));
      }
      benchmark::ClobberMemory();
    }
    pieces.count(state);
    host::resetHostProfile();
  };
  auto viaIconv = [setup](benchmark::State &state) {
    const Pieces pieces = piecesOf(state, setup.text, setup.leadByte);
    iconv_t cd = iconv_open("UTF-16LE", setup.iconvName);
    std::string output(pieces.bytes * 2 + 16, '\0');
    for (auto _ : state) {
      for (const std::string &text : pieces.texts) iconvInto(cd, text, output);
      benchmark::ClobberMemory();
    }
    iconv_close(cd);
    pieces.count(state);
  };
  std::vector<Contender> contenders = {{"ours", ours}, {"iconv", viaIconv}};
#ifdef QSTR14_BENCH_ICU
  contenders.push_back({"ICU", [setup](benchmark::State &state) {
    const Pieces pieces = piecesOf(state, setup.text, setup.leadByte);
    UErrorCode status = U_ZERO_ERROR;
    UConverter *converter = ucnv_open(setup.icuName, &status);
    std::vector<UChar> output(pieces.bytes + 1);
    for (auto _ : state) {
      for (const std::string &text : pieces.texts) {
        status = U_ZERO_ERROR;
        ucnv_toUChars(converter, output.data(), static_cast<int32_t>(output.size()), text.data(),
                      static_cast<int32_t>(text.size()), &status);
      }
      benchmark::ClobberMemory();
    }
    if (U_FAILURE(status)) state.SkipWithError(u_errorName(status));
    ucnv_close(converter);
    pieces.count(state);
  }});
#endif
  addRow(row, contenders, atEverySize);
}

// ---- UTF-16 → 1252 through native strings ----

// The pieces of 1252 text of the benchmark's size, in UTF-16.
std::vector<std::u16string> utf16Pieces(const Pieces &pieces) {
  std::vector<std::u16string> utf16;
  for (const std::string &text : pieces.texts) utf16.push_back(utf16OfText(text, "CP1252"));
  return utf16;
}

void addUtf16To1252Row() {
  auto ours = [](benchmark::State &state) {
    useMachine("en_US");
    const Pieces pieces = piecesOf(state, westernText1252, noLeadBytes);
    const std::vector<std::u16string> utf16 = utf16Pieces(pieces);
    const std::size_t longest = pieces.texts.size() == 1 ? pieces.bytes : 100;
    std::vector<uint16_t> natives(longest + 1);
    std::string output(longest + 1, '\0');
    bool same = true;
    for (std::size_t i = 0; i < utf16.size(); ++i) {
      Q6WStrTowz(reinterpret_cast<const uint16_t *>(utf16[i].c_str()), natives.data());
      const uint32_t written = Q6wzToaz(natives.data(), output.data());
      same = same && output.substr(0, written) == pieces.texts[i];
    }
    if (!verify(state, same, "does not give the text back")) return;
    for (auto _ : state) {
      for (const std::u16string &text : utf16) {
        Q6WStrTowz(reinterpret_cast<const uint16_t *>(text.c_str()), natives.data());
        Q6wzToaz(natives.data(), output.data());
      }
      benchmark::ClobberMemory();
    }
    pieces.count(state);
    host::resetHostProfile();
  };
  auto viaIconv = [](benchmark::State &state) {
    const Pieces pieces = piecesOf(state, westernText1252, noLeadBytes);
    const std::vector<std::u16string> utf16 = utf16Pieces(pieces);
    iconv_t cd = iconv_open("CP1252", "UTF-16LE");
    std::string output(pieces.bytes + 16, '\0');
    for (auto _ : state) {
      for (const std::u16string &text : utf16) {
        iconvInto(cd, std::string_view(reinterpret_cast<const char *>(text.data()), text.size() * 2), output);
      }
      benchmark::ClobberMemory();
    }
    iconv_close(cd);
    pieces.count(state);
  };
  std::vector<Contender> contenders = {{"ours", ours}, {"iconv", viaIconv}};
#ifdef QSTR14_BENCH_ICU
  contenders.push_back({"ICU", [](benchmark::State &state) {
    const Pieces pieces = piecesOf(state, westernText1252, noLeadBytes);
    const std::vector<std::u16string> utf16 = utf16Pieces(pieces);
    UErrorCode status = U_ZERO_ERROR;
    UConverter *converter = ucnv_open("windows-1252", &status);
    std::string output(pieces.bytes + 16, '\0');
    for (auto _ : state) {
      for (const std::u16string &text : utf16) {
        status = U_ZERO_ERROR;
        ucnv_fromUChars(converter, output.data(), static_cast<int32_t>(output.size()),
                        reinterpret_cast<const UChar *>(text.data()), static_cast<int32_t>(text.size()), &status);
      }
      benchmark::ClobberMemory();
    }
    ucnv_close(converter);
    pieces.count(state);
  }});
#endif
  addRow("UTF-16 -> 1252", contenders, atEverySize);
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

  // Pieced texts count their pieces as the items, as Pieces does.
  void count(benchmark::State &state) const {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes()));
    if (state.range(0) <= 0) state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * pieces.size()));
  }
};

StreamedText streamedText(benchmark::State &state, std::string (*make)(std::size_t)) {
  if (state.range(0) <= 0) {
    const Pieces pieces = piecesOf(state, make, noLeadBytes);
    std::string text;
    for (const std::string &piece : pieces.texts) text += piece;
    return {text, pieces.texts, 1};
  }
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
    streamed.count(state);
    host::resetHostProfile();
  };
  auto viaIconv = [setup](benchmark::State &state) {
    const StreamedText streamed = streamedText(state, setup.text);
    iconv_t to = iconv_open("UTF-8", setup.iconvName);
    iconv_t from = iconv_open(setup.iconvName, "UTF-8");
    std::string utf8(streamed.text.size() * 3 + 16, '\0');
    std::string back(streamed.text.size() + 16, '\0');
    // Whole texts in one call each way; pieced texts a call per piece.
    const std::vector<std::string> units =
        state.range(0) <= 0 ? streamed.pieces : std::vector<std::string>{streamed.text};
    if (verify(state, iconvInto(to, streamed.text, utf8) != kIconvFailed, "iconv cannot convert the text")) {
      for (auto _ : state) {
        for (std::size_t pass = 0; pass < streamed.passes; ++pass) {
          for (const std::string &unit : units) {
            const std::size_t utf8Bytes = iconvInto(to, unit, utf8);
            iconvInto(from, std::string_view(utf8.data(), utf8Bytes), back);
          }
        }
        benchmark::ClobberMemory();
      }
    }
    iconv_close(to);
    iconv_close(from);
    streamed.count(state);
  };
  addRow(row, {{"ours", ours}, {"iconv via UTF-8", viaIconv}}, atEverySize);
}

[[maybe_unused]] const bool registered = [] {
  addBytesToUtf16Row("1252 -> UTF-16", {"en_US", "CP1252", "windows-1252", westernText1252, noLeadBytes});
  addUtf16To1252Row();
  addBytesToUtf16Row("932 -> UTF-16", {"ja_JP", "CP932", "ibm-943_P15A-2003", japaneseText932, shiftJisLeadByte});
  addStreamRow("1252 -> document stream -> 1252", {"en_US", "CP1252", str_AnsiToQx, TpiQxToAnsiBuff, westernText1252});
  addStreamRow("437 -> document stream -> 437", {"en_US", "CP437", str_OemToQx, TpiQxToOemBuff, dosText437});
  return true;
}();

}  // namespace
}  // namespace qstr::bench
