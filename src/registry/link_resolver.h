// The link resolver: evaluates the expression of a link value (type
// 0x80000008) into the data it stands for (reading mode) or into the
// reference of the value it stands for (reference mode, used to write
// through a link).
//
// A key creates its resolver on first need and owns it. Set-up opens the
// base key (HKEY_CURRENT_USER itself), reads its syntax characters (writing
// the default value "Kezmar Logical Syntax Characters" when it is missing),
// opens the base key's "Software" subkey (references without a root are
// relative to it), and reserves the work buffer in which results are built.
//
// Links may refer to links. The atoms of the references being followed sit
// in a KZSEARCHLIST, so that a link leading back to one of them fails with
// kErrorLinkCycle instead of looping; so does a chain of links nested deeper
// than kMaxLinkDepth, which also bounds the stack an evaluation uses.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/host.h"
#include "registry/link_syntax.h"
#include "registry/search_list.h"
#include "registry/work_buffer.h"

namespace qstr::registry {

inline constexpr uint32_t kLinkType = 0x80000008;
inline constexpr uint32_t kLockFlag = 0x40000000;
inline constexpr uint32_t kTypeString = 1;  // REG_SZ
// Links followed inside one another, the one evaluated first included.
inline constexpr int kMaxLinkDepth = 32;
inline constexpr const char *kSyntaxValueName = "Kezmar Logical Syntax Characters";
// Windows error codes the resolver reports besides its evaluation errors.
inline constexpr uint32_t kErrorOutOfMemory = 14;
inline constexpr uint32_t kErrorCantOpen = 1011;
inline constexpr uint32_t kErrorNoUnicodeTranslation = 1113;

enum class EvaluationMode { kReading, kReference };

// The result of an evaluation, in a block from the resolver's heap.
struct Evaluation {
  uint8_t *data = nullptr;
  // Bytes of data: UTF-16 text with its zero terminator when the type is
  // the link type, else the bytes of the plain value the link led to.
  uint32_t bytes = 0;
  uint32_t type = kLinkType;  // lock flag included
};

class LinkResolver {
 public:
  LinkResolver() = default;
  LinkResolver(const LinkResolver &) = delete;
  LinkResolver &operator=(const LinkResolver &) = delete;
  ~LinkResolver();  // closes its keys, releases the work buffer

  // Returns 1 when ready, 0 when set-up failed (LastError: 14 or 1011; the
  // syntax characters are then the default).
  int SetUp();

  // Evaluates link data (`bytes` bytes of UTF-16 text, little-endian, up to
  // a zero unit or the end). Returns 0 and fills `result` (free it with
  // FreeResult), or an error, which LastError also gives.
  uint32_t Evaluate(const uint8_t *linkData, std::size_t bytes, EvaluationMode mode,
                    Evaluation *result);
  void FreeResult(Evaluation *result);

  uint32_t LastError() const { return lastError_; }
  const SyntaxCharacters &Syntax() const { return syntax_; }
  // The key that references without a root are relative to.
  host::RegKey SoftwareKey() const { return softwareKey_; }

 private:
  // What one evaluation level has produced so far.
  struct Level {
    EvaluationMode mode;
    int depth;              // links followed to reach this level
    uint32_t type;          // reported type
    bool ended;             // a plain value ended the level
    std::size_t start;      // where the level's result starts in the work buffer
  };
  enum class Outcome { kNothing, kReplaced, kLinkText, kPlainValue };

  void LoadSyntaxCharacters();
  uint32_t EvaluateData(const uint8_t *data, std::size_t bytes, Level &level);
  uint32_t EvaluateText(const char16_t *text, std::size_t length, Level &level);
  uint32_t ResolveReference(const char16_t *reference, std::size_t length, Level &level,
                            Outcome *outcome);
  uint32_t NoValue(const char16_t *reference, std::size_t length, Level &level,
                   Outcome *outcome);
  uint32_t FollowLink(host::RegKey key, const char *name, uint32_t size,
                      const char16_t *reference, std::size_t length, Level &level,
                      Outcome *outcome);
  uint32_t TakePlainValue(host::RegKey key, const char *name, uint32_t type, uint32_t size,
                          const char16_t *reference, std::size_t length, Level &level);
  uint32_t CombineAlternatives(std::size_t anchor, std::size_t middle);
  void RemoveQuotePairs();
  bool AppendUnits(const char16_t *units, std::size_t count);

  host::RegKey baseKey_ = 0;
  host::RegKey softwareKey_ = 0;
  SyntaxCharacters syntax_;
  WorkBuffer work_;
  KZSEARCHLIST following_;  // atoms of the links being followed
  uint32_t lastError_ = 0;
  bool ready_ = false;
};

}  // namespace qstr::registry
