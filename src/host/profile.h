// The host profile: what the portable backend reports as the machine's
// language, code pages, keyboard, double-byte support and registry file.
//
// It is derived once per process from the environment (QSTR14_LOCALE, else
// LC_ALL, LC_CTYPE, LANG; then the QSTR14_* overrides). An override that
// does not parse is ignored and the derived value is used; every field
// remembers where its value came from, so that `qstr info` can say why.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "host/host.h"

namespace qstr::host {

// One value of the profile and the reason it has that value.
template <typename T>
struct ProfileField {
  T value{};
  std::string source;  // e.g. "QSTR14_ACP", "locale ja_JP", "default"
  std::string note;    // why an override was not used; empty when it was
};

struct HostProfile {
  ProfileField<std::string> locale;  // POSIX locale name the values derive from
  ProfileField<uint32_t> ansiCodePage;
  ProfileField<uint32_t> oemCodePage;
  ProfileField<uint16_t> langId;
  ProfileField<uint16_t> keyboardLangId;
  ProfileField<bool> dbcsEnabled;
  ProfileField<std::string> registryPath;  // a file, or ":memory:"
  ProfileField<VectorIsa> vectorIsa;       // the cap; Avx512 leaves it to the processor
};

// Reads an environment variable; nullopt when unset.
using EnvLookup = std::function<std::optional<std::string>(const char *name)>;

// Builds a profile from the given environment. Never fails.
HostProfile deriveHostProfile(const EnvLookup &env);

// The process's profile: derived from the real environment on first use,
// unless a profile was installed.
const HostProfile &hostProfile();

// Replaces the process's profile (tests and tools that convert under a
// profile other than the machine's). Not thread-safe: install before use.
void installHostProfile(const HostProfile &profile);

// Forgets an installed profile; the next use derives it from the environment.
void resetHostProfile();

// Locale facts the profile derives from, looked up by Windows language ID.
struct LocaleFacts {
  const char *name;  // POSIX form, e.g. "ja_JP"
  uint16_t langId;
  uint32_t ansiCodePage;
  uint32_t oemCodePage;
};
// Exact language ID, else the first entry of the same primary language.
const LocaleFacts *localeFactsForLangId(uint16_t langId);
// "ja_JP.UTF-8@x" → ja_JP; "ja" alone → the language's first entry. Null
// for a name that names no known language ("C" and "POSIX" give en_US).
const LocaleFacts *localeFactsForName(const std::string &posixName);

// "plain", "sse2" or "avx512" (any case), as QSTR14_ISA names the tiers.
std::optional<VectorIsa> parseVectorIsa(const std::string &text);
const char *vectorIsaName(VectorIsa isa);

}  // namespace qstr::host
