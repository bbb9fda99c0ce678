// The link resolver: set-up, syntax characters and evaluation.
#include "registry/link_resolver.h"

#include <cstring>

#include "registry/ansi_text.h"
#include "registry/heap_block.h"
#include "registry/registry_paths.h"

namespace qstr::registry {
namespace {

constexpr std::size_t kNoAnchor = static_cast<std::size_t>(-1);
constexpr char16_t kQuotationMark = u'"';
// The syntax value is read as a string of at most this many bytes.
constexpr uint32_t kSyntaxValueBytes = 16;
constexpr uint32_t kCapacityOfFollowing = 16;
// Atom names are at most this long (longer references are followed all
// the same, guarded by the depth limit alone).
constexpr std::size_t kMaxAtomName = 255;

// Closes a key opened for one reference.
class OpenedKey {
 public:
  OpenedKey() = default;
  ~OpenedKey() {
    if (key_ != 0) host::regCloseKey(key_);
  }
  OpenedKey(const OpenedKey &) = delete;
  OpenedKey &operator=(const OpenedKey &) = delete;
  host::RegKey *out() { return &key_; }
  host::RegKey get() const { return key_; }

 private:
  host::RegKey key_ = 0;
};

// An atom of a link being followed: registered in `following` while held.
class FollowedAtom {
 public:
  FollowedAtom(KZSEARCHLIST &following) : following_(following) {}
  ~FollowedAtom() {
    if (atom_ == 0) return;
    if (listed_) following_.Remove(&atom_);
    host::deleteAtom(static_cast<uint16_t>(atom_));
  }
  FollowedAtom(const FollowedAtom &) = delete;
  FollowedAtom &operator=(const FollowedAtom &) = delete;

  // Takes the atom of `name` and lists it. Returns 0, kErrorLinkCycle when
  // it is already listed (a link leading back), or kErrorOutOfMemory.
  uint32_t Take(const char *name, std::size_t length) {
    if (length == 0 || length > kMaxAtomName) return 0;
    atom_ = host::addAtom(name);
    if (atom_ == 0) return 0;
    if (following_.Find(&atom_, nullptr) != nullptr) return kErrorLinkCycle;
    if (!following_.Insert(&atom_, 0, 0)) return kErrorOutOfMemory;
    listed_ = true;
    return 0;
  }

 private:
  KZSEARCHLIST &following_;
  uint32_t atom_ = 0;
  bool listed_ = false;
};

}  // namespace

LinkResolver::~LinkResolver() {
  if (softwareKey_ != 0) host::regCloseKey(softwareKey_);
  if (baseKey_ != 0) host::regCloseKey(baseKey_);
}

int LinkResolver::SetUp() {
  if (!following_.Create(kCapacityOfFollowing, 4, registryHeap(), 0)) {
    lastError_ = kErrorOutOfMemory;
    return 0;
  }
  // The base key is HKEY_CURRENT_USER itself (an empty base path).
  if (openSubKey(host::kHkeyCurrentUser, "", &baseKey_, nullptr) != host::kErrorSuccess) {
    baseKey_ = 0;
    lastError_ = kErrorCantOpen;
    return 0;
  }
  LoadSyntaxCharacters();
  if (openSubKey(baseKey_, "Software", &softwareKey_, nullptr) != host::kErrorSuccess) {
    softwareKey_ = 0;
    lastError_ = kErrorCantOpen;
    return 0;
  }
  if (!work_.Reserve()) {
    lastError_ = kErrorOutOfMemory;
    return 0;
  }
  ready_ = true;
  return 1;
}

// Reads the five syntax characters from the base key. A value that is
// missing or not a string is replaced by the default (unless it is locked).
// A string too short to hold five characters, or longer than the bytes
// read, is left as it is. All of these give the default.
void LinkResolver::LoadSyntaxCharacters() {
  syntax_ = SyntaxCharacters{};
  char raw[kSyntaxValueBytes] = {};
  uint32_t type = 0, size = kSyntaxValueBytes;
  int32_t status = host::regQueryValue(baseKey_, kSyntaxValueName, &type,
                                       reinterpret_cast<uint8_t *>(raw), &size);
  const bool present = status == host::kErrorSuccess || status == host::kErrorMoreData;
  if (present && (type & ~kLockFlag) == kTypeString) {
    if (status != host::kErrorSuccess) return;
    char16_t units[kSyntaxValueBytes];
    long count = ansiToUtf16(raw, strnlen(raw, size), units);
    if (count >= 5) syntax_ = SyntaxCharacters{units[0], units[1], units[2], units[3], units[4]};
    return;
  }
  if (status == host::kErrorFileNotFound || (present && (type & kLockFlag) == 0)) {
    static const char kDefault[] = {'"', '*', '<', '>', '|', '\0'};
    host::regSetValue(baseKey_, kSyntaxValueName, kTypeString,
                      reinterpret_cast<const uint8_t *>(kDefault), sizeof kDefault);
  }
}

uint32_t LinkResolver::Evaluate(const uint8_t *linkData, std::size_t bytes, EvaluationMode mode,
                                Evaluation *result) {
  *result = Evaluation{};
  if (!ready_) return lastError_;
  lastError_ = 0;
  work_.Reset();
  Level top{mode, 0, kLinkType, false, 0};
  uint32_t error = EvaluateData(linkData, bytes, top);
  if (error == 0 && !top.ended) RemoveQuotePairs();
  std::size_t terminator = top.type == kLinkType ? sizeof(char16_t) : 0;
  std::size_t total = work_.Used() + terminator;
  auto *block = error == 0 ? static_cast<uint8_t *>(host::heapAlloc(registryHeap(), total, true))
                           : nullptr;
  if (error == 0 && block == nullptr) error = kErrorOutOfMemory;
  if (error == 0) {
    if (work_.Used() > 0) std::memcpy(block, work_.Base(), work_.Used());
    *result = Evaluation{block, static_cast<uint32_t>(total), top.type};
  }
  work_.Reset();
  lastError_ = error;
  return error;
}

void LinkResolver::FreeResult(Evaluation *result) {
  if (result->data != nullptr) host::heapFree(registryHeap(), result->data);
  *result = Evaluation{};
}

// Decodes link data (UTF-16 little-endian, up to a zero unit) and evaluates it.
uint32_t LinkResolver::EvaluateData(const uint8_t *data, std::size_t bytes, Level &level) {
  std::size_t length = bytes / 2;
  HeapBlock text(length * sizeof(char16_t) + sizeof(char16_t));
  auto *units = text.get<char16_t>();
  if (units == nullptr) return kErrorOutOfMemory;
  std::size_t count = 0;
  while (count < length) {
    auto unit = static_cast<char16_t>(data[2 * count] | data[2 * count + 1] << 8);
    if (unit == 0) break;
    units[count++] = unit;
  }
  return EvaluateText(units, count, level);
}

uint32_t LinkResolver::EvaluateText(const char16_t *text, std::size_t length, Level &level) {
  level.start = work_.Used();
  // Where the text of the last link reference starts, while a product may
  // follow it.
  std::size_t productAnchor = kNoAnchor;
  std::size_t position = 0;
  for (;;) {
    Token token;
    if (uint32_t error = nextToken(text, length, &position, syntax_, &token)) return error;
    Outcome outcome = Outcome::kNothing;
    switch (token.kind) {
      case TokenKind::kEnd:
        return 0;
      case TokenKind::kReference: {
        std::size_t before = work_.Used();
        uint32_t error =
            ResolveReference(text + token.start + 1, token.length - 2, level, &outcome);
        if (error != 0 || level.ended) return error;
        productAnchor = outcome == Outcome::kLinkText ? before : kNoAnchor;
        break;
      }
      case TokenKind::kProduct:
        if (productAnchor != kNoAnchor) {
          Token second;
          if (uint32_t error = nextToken(text, length, &position, syntax_, &second)) return error;
          // A product of references needs its second reference.
          if (second.kind != TokenKind::kReference) return kErrorUnclosedReference;
          std::size_t middle = work_.Used();
          uint32_t error =
              ResolveReference(text + second.start + 1, second.length - 2, level, &outcome);
          if (error != 0 || level.ended) return error;
          if (outcome == Outcome::kReplaced) {
            productAnchor = kNoAnchor;
          } else if ((error = CombineAlternatives(productAnchor, middle)) != 0) {
            return error;
          }
          break;
        }
        [[fallthrough]];
      default:
        if (!AppendUnits(text + token.start, token.length)) return kErrorOutOfMemory;
        productAnchor = kNoAnchor;
        break;
    }
  }
}

uint32_t LinkResolver::ResolveReference(const char16_t *reference, std::size_t length,
                                        Level &level, Outcome *outcome) {
  ParsedReference parsed = parseReference(reference, length);
  HeapBlock keyPath, valueName;
  if (utf16ToAnsi(parsed.keyPath, parsed.keyPathLength, keyPath) < 0 ||
      utf16ToAnsi(parsed.valueName, parsed.valueNameLength, valueName) < 0) {
    return kErrorNoUnicodeTranslation;
  }
  host::RegKey key = parsed.root != 0 ? parsed.root : softwareKey_;
  OpenedKey opened;
  if (parsed.keyPathLength > 0) {
    if (host::regOpenKey(key, keyPath.get<char>(), kRegistryAccess, opened.out()) != 0) {
      return NoValue(reference, length, level, outcome);
    }
    key = opened.get();
  }
  uint32_t type = 0, size = 0;
  if (host::regQueryValue(key, valueName.get<char>(), &type, nullptr, &size) != 0) {
    level.type = kLinkType;
    return NoValue(reference, length, level, outcome);
  }
  if ((type & ~kLockFlag) == kLinkType) {
    return FollowLink(key, valueName.get<char>(), size, reference, length, level, outcome);
  }
  *outcome = Outcome::kPlainValue;
  return TakePlainValue(key, valueName.get<char>(), type, size, reference, length, level);
}

// A reference to a key or value that does not exist: nothing in reading
// mode; in reference mode the reference becomes the result so far.
uint32_t LinkResolver::NoValue(const char16_t *reference, std::size_t length, Level &level,
                               Outcome *outcome) {
  if (level.mode == EvaluationMode::kReading) {
    *outcome = Outcome::kNothing;
    return 0;
  }
  *outcome = Outcome::kReplaced;
  work_.TruncateTo(level.start);
  return AppendUnits(reference, length) ? 0 : kErrorOutOfMemory;
}

uint32_t LinkResolver::FollowLink(host::RegKey key, const char *name, uint32_t size,
                                  const char16_t *reference, std::size_t length, Level &level,
                                  Outcome *outcome) {
  HeapBlock data(size + sizeof(char16_t));
  if (data.get() == nullptr) return kErrorOutOfMemory;
  uint32_t type = 0;
  if (host::regQueryValue(key, name, &type, data.get<uint8_t>(), &size) != 0) {
    return NoValue(reference, length, level, outcome);
  }
  HeapBlock atomName;
  long atomLength = utf16ToAnsi(reference, length, atomName);
  if (atomLength < 0) return kErrorNoUnicodeTranslation;
  FollowedAtom atom(following_);
  if (uint32_t error = atom.Take(atomName.get<char>(), static_cast<std::size_t>(atomLength))) {
    return error;
  }
  if (level.depth + 1 >= kMaxLinkDepth) return kErrorLinkCycle;
  Level inner{level.mode, level.depth + 1, kLinkType, false, 0};
  std::size_t before = work_.Used();
  if (uint32_t error = EvaluateData(data.get<uint8_t>(), size, inner)) return error;
  // Plain bytes of odd length, inside text: pad to a whole unit.
  if ((work_.Used() - before) % 2 != 0) {
    uint8_t *pad = work_.Take(1);
    if (pad == nullptr) return kErrorOutOfMemory;
    *pad = 0;
  }
  level.type = kLinkType;
  *outcome = Outcome::kLinkText;
  return 0;
}

// A plain value ends the level: its data (reading mode, REG_SZ as UTF-16)
// or the reference to it (reference mode) becomes the whole result.
uint32_t LinkResolver::TakePlainValue(host::RegKey key, const char *name, uint32_t type,
                                      uint32_t size, const char16_t *reference,
                                      std::size_t length, Level &level) {
  work_.TruncateTo(level.start);
  level.ended = true;
  if (level.mode == EvaluationMode::kReference) {
    return AppendUnits(reference, length) ? 0 : kErrorOutOfMemory;
  }
  level.type = type;
  if ((type & ~kLockFlag) != kTypeString) {
    uint8_t *out = work_.Take(size);
    if (out == nullptr) return kErrorOutOfMemory;
    uint32_t got = size;
    int32_t status = host::regQueryValue(key, name, nullptr, out, &got);
    if (status != 0) return static_cast<uint32_t>(status);
    work_.GiveBack(size - got);
    return 0;
  }
  HeapBlock raw(size + 1);
  if (raw.get() == nullptr) return kErrorOutOfMemory;
  int32_t status = host::regQueryValue(key, name, nullptr, raw.get<uint8_t>(), &size);
  if (status != 0) return static_cast<uint32_t>(status);
  auto *units = reinterpret_cast<char16_t *>(work_.Take(size * sizeof(char16_t)));
  if (units == nullptr) return kErrorOutOfMemory;
  long count = ansiToUtf16(raw.get<char>(), size, units);
  if (count < 0) return kErrorNoUnicodeTranslation;
  work_.GiveBack((size - static_cast<std::size_t>(count)) * sizeof(char16_t));
  return 0;
}

// Replaces the alternatives A1|...|Am in [anchor, middle) and B1|...|Bn in
// [middle, used) by A1B1|A1B2|...|AmBn.
uint32_t LinkResolver::CombineAlternatives(std::size_t anchor, std::size_t middle) {
  std::size_t end = work_.Used();
  const auto *base = reinterpret_cast<const char16_t *>(work_.Base());
  const char16_t separator = syntax_.separator;
  std::size_t aFirst = anchor / 2, aLast = middle / 2, bFirst = middle / 2, bLast = end / 2;
  bool first = true;
  for (std::size_t a = aFirst; a <= aLast;) {
    std::size_t aEnd = a;
    while (aEnd < aLast && base[aEnd] != separator) ++aEnd;
    for (std::size_t b = bFirst; b <= bLast;) {
      std::size_t bEnd = b;
      while (bEnd < bLast && base[bEnd] != separator) ++bEnd;
      if ((!first && !AppendUnits(&separator, 1)) || !AppendUnits(base + a, aEnd - a) ||
          !AppendUnits(base + b, bEnd - b)) {
        work_.TruncateTo(end);
        return kErrorOutOfMemory;
      }
      first = false;
      b = bEnd + 1;
    }
    a = aEnd + 1;
  }
  std::size_t combined = work_.Used() - end;
  std::memmove(work_.Base() + anchor, work_.Base() + end, combined);
  work_.TruncateTo(anchor + combined);
  return 0;
}

// Removes every pair of adjacent quotation marks from the result (whole
// units: text results are padded to them).
void LinkResolver::RemoveQuotePairs() {
  auto *units = reinterpret_cast<char16_t *>(work_.Base());
  std::size_t count = work_.Used() / 2, kept = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (units[i] == kQuotationMark && i + 1 < count && units[i + 1] == kQuotationMark) {
      ++i;
      continue;
    }
    units[kept++] = units[i];
  }
  work_.TruncateTo(kept * 2);
}

bool LinkResolver::AppendUnits(const char16_t *units, std::size_t count) {
  uint8_t *out = work_.Take(count * sizeof(char16_t));
  if (out == nullptr) return false;
  if (count > 0) std::memcpy(out, units, count * sizeof(char16_t));
  return true;
}

}  // namespace qstr::registry
