// What the qstr tool asks of the library beyond its exported functions:
// where each setting came from, the registry store's state and the values
// under a key, and the values behind a multi-level comparison.
//
// This is the only header of the library's own that the tool includes, with
// the few it includes itself for facts the two share (ASCII letters, the
// no-mapping value, the stream grammar and its item kinds); the rest of what the tool does goes
// through include/qstr14/. The functions are
// compiled into the library's objects with hidden visibility, so the tool
// reaches them through the static library and the shared library does not
// export them. Every function may be called from any thread; none changes a
// setting.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/ascii.h"
#include "base/no_mapping.h"
#include "charset/stream_grammar.h"
#include "charset/stream_items.h"

namespace qstr::tool {

// ---- Settings and where they came from ----

// One setting as `qstr info` and `qstr codepage` show it.
struct Setting {
  const char *name;    // what it is: "ANSI code page", "Windows code page", ...
  std::string value;   // as shown: "1252", "0x0409", "yes", a path
  std::string source;  // where the value came from: "QSTR14_ACP", "locale ja_JP",
                       // "registry", "Windows", ...; empty when there is nothing to say
  std::string note;    // why an override was not used; empty when none was ignored
};

// The machine as the library sees it, in this order: the locale (not on
// Windows), the system language ID, the ANSI and OEM code pages, double-byte
// support, the keyboard language ID, the registry, the vector instructions
// the string loops use. On Windows the system's values have the source
// "Windows" and no note.
std::vector<Setting> hostSettings();

// The POSIX locale the host profile derives from (the "locale" row above);
// empty on Windows, whose settings come from the system.
std::string hostLocale();

// The DOS and Windows code pages as the library would choose them now, with
// the source "registry", "country ID" or "system". Neither reads nor fills
// the library's cached Windows code page.
Setting dosCodepage();
Setting windowsCodepage();

// Whether `codePage` (its Windows number) is a double-byte page that the
// host converts, so that as the ANSI code page it turns double-byte support
// on. Reads no setting and starts nothing.
bool hostDoubleByteCodePage(uint32_t codePage);

// ---- The registry ----

struct RegistryStatus {
  bool usable = false;  // values can be read and written
  std::string path;     // the registry file, ":memory:", or "the Windows registry"
  // Empty when usable; otherwise one line saying what is wrong: "FILE:LINE:
  // what" for a file that does not parse, "FILE: reason" for one that cannot
  // be read.
  std::string problem;
};

// Reloads the registry file when another process replaced it, then reports.
RegistryStatus registryStatus();

inline constexpr uint32_t kRegistryLockFlag = 0x40000000;  // in RegistryValue::type

struct RegistryValue {
  std::string name;  // empty for the key's default value
  uint32_t type;     // as stored, the lock flag included
  std::vector<uint8_t> data;
};

// The values stored under the key at `keyPath` ("HKEY_CURRENT_USER\...", as
// QcvtGetRegistryLoc gives it), in the order they were first set. Opening
// the key creates it when it is missing, as the library does. Returns 0, or
// the Windows error code of the step that failed (1010 for a path without a
// known root, 1009 for a registry file that does not parse); `*values` is
// filled only on 0.
int32_t listRegistryValues(const char *keyPath, std::vector<RegistryValue> *values);

// ---- The multi-level comparison, explained ----

struct CollationOptions {
  uint16_t language = 0;  // 0-39, as QxLanguage numbers them
  bool caseFlag = false;
  bool kanaFlag = false;
};

// Whether `language` is one of the Asian languages (JP KR CT CS LA TA),
// whose primary values are 16 bits and whose third value is a flags byte.
bool isAsianLanguage(uint16_t language);

// The values of one position of a string, as QxQS6Cmpcoll takes them.
struct PositionValues {
  uint16_t character;  // the native character of the position (the first of a contracted pair)
  uint16_t primary;    // one byte; 16 bits in the Asian languages
  uint16_t secondary;
  uint8_t caseValue;   // the case value; the flags byte in the Asian languages
  bool ignorable;      // right-to-left languages: passed over at the primary level
  // The units of the string the position took: `length` units from index
  // `offset` of `s`. A contracted pair takes both its letters (length 2, or
  // more with markers between them); the letter that a pair or an expansion
  // holds back for the next position takes none (length 0, the offset of
  // the position that gave it).
  std::size_t offset;
  std::size_t length;
};

// Every position of the terminated native string `s`, walked one string at
// a time (the comparison's steps that look at both strings at once, such as
// passing over a common start, do not show).
std::vector<PositionValues> collationValues(const uint16_t *s, const CollationOptions &options);

enum class DecidingLevel {
  kEqual,      // no difference at a level that counts
  kPrimary,    // a primary value
  kLength,     // one string ran out first at the primary level
  kSecondary,  // the first secondary difference
  kCase,       // the first case (or kana) difference
};

struct Comparison {
  int result;  // -1, 0 or 1, as QxQS6Cmpcoll returns it
  DecidingLevel level;
};

// QxQS6Cmpcoll on two terminated native strings, with the level that decided.
Comparison compareExplained(const uint16_t *a, const uint16_t *b, const CollationOptions &options);

// ---- Document streams ----

using charset::StreamItemKind;

struct StreamItem {
  StreamItemKind kind = StreamItemKind::Terminator;
  std::size_t length = 0;  // bytes
};

enum class ItemStatus { Complete, NeedMore, Malformed };

// Reads the item at the start of `bytes` (`size` bytes available), checking
// what the library's readers take on trust. Complete: `item` says what it
// is. NeedMore: the item runs past the bytes available (more input may
// complete it). Malformed: `why` says what is wrong, in a phrase.
ItemStatus readStreamItem(const uint8_t *bytes, std::size_t size, StreamItem &item, std::string &why);

// ---- Version-5 streams ----

// The offset of the first item of a version-5 stream that runs past `size`
// bytes or past its terminator, read in the double-byte form or not;
// nullopt when every item up to a terminator is complete. The readers of
// include/qstr14/version5.h do not check their input: check it first.
std::optional<std::size_t> firstIncompleteVersion5Item(const uint8_t *stream, std::size_t size, bool doubleByte);

// The item at `item` of a checked version-5 stream: its length in bytes (1
// for the terminator) and whether it is a function, which carries no text.
struct Version5Item {
  std::size_t length;
  bool function;
};
Version5Item version5ItemAt(const uint8_t *item, std::size_t available, bool doubleByte);

}  // namespace qstr::tool
