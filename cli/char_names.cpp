// Unicode character names for the tool's messages, from ICU's name data
// when the tool is built with it (QSTR14_CLI_ICU), and the names of the
// control characters, which the Unicode name property leaves empty, from
// their aliases.
#include <cstdio>

#include "text.h"

#if QSTR14_CLI_ICU
#include <unicode/uchar.h>
#endif

namespace qstr::cli {
namespace {

// The control aliases of U+0000-U+001F (and U+007F below).
constexpr const char *kControlNames[32] = {
    "NULL", "START OF HEADING", "START OF TEXT", "END OF TEXT", "END OF TRANSMISSION", "ENQUIRY",
    "ACKNOWLEDGE", "ALERT", "BACKSPACE", "CHARACTER TABULATION", "LINE FEED", "LINE TABULATION",
    "FORM FEED", "CARRIAGE RETURN", "SHIFT OUT", "SHIFT IN", "DATA LINK ESCAPE", "DEVICE CONTROL ONE",
    "DEVICE CONTROL TWO", "DEVICE CONTROL THREE", "DEVICE CONTROL FOUR", "NEGATIVE ACKNOWLEDGE",
    "SYNCHRONOUS IDLE", "END OF TRANSMISSION BLOCK", "CANCEL", "END OF MEDIUM", "SUBSTITUTE", "ESCAPE",
    "INFORMATION SEPARATOR FOUR", "INFORMATION SEPARATOR THREE", "INFORMATION SEPARATOR TWO",
    "INFORMATION SEPARATOR ONE"};

}  // namespace

std::string characterName(uint32_t codePoint) {
  if (codePoint < 0x20) return kControlNames[codePoint];
  if (codePoint == 0x7F) return "DELETE";
#if QSTR14_CLI_ICU
  char name[128];
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length = u_charName(static_cast<UChar32>(codePoint), U_UNICODE_CHAR_NAME, name, sizeof name, &status);
  if (U_SUCCESS(status) && length > 0 && length < static_cast<int32_t>(sizeof name)) return std::string(name, length);
#endif
  return "";
}

std::string describeCharacter(uint32_t codePoint) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(codePoint));
  const std::string name = characterName(codePoint);
  return name.empty() ? std::string(text) : std::string(text) + ' ' + name;
}

}  // namespace qstr::cli
