// Derivation of the host profile from the environment.
#include "host/profile.h"

#include <cstdlib>

#include "base/ascii.h"
#include "base/build_once.h"
#include "base/double_byte_pages.h"

namespace qstr::host {
namespace {

constexpr LocaleFacts kLocaleFacts[] = {
#include "host/locale_table.inc"
};

constexpr const LocaleFacts &kDefaultLocale = kLocaleFacts[0];  // en_US

uint16_t primaryLanguage(uint16_t langId) { return langId & 0x3FF; }


std::optional<std::string> nonEmpty(const EnvLookup &env, const char *name) {
  auto value = env(name);
  if (value && value->empty()) return std::nullopt;
  return value;
}

// Picks the locale: QSTR14_LOCALE when it names a known locale, else the
// first of LC_ALL, LC_CTYPE, LANG that is set, else en_US.
const LocaleFacts &chooseLocale(const EnvLookup &env, ProfileField<std::string> &field) {
  if (auto own = nonEmpty(env, "QSTR14_LOCALE")) {
    if (const LocaleFacts *facts = localeFactsForName(*own)) {
      field = {facts->name, "QSTR14_LOCALE", ""};
      return *facts;
    }
    field.note = "QSTR14_LOCALE=\"" + *own + "\" names no known locale; ignored";
  }
  for (const char *name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    auto value = nonEmpty(env, name);
    if (!value) continue;
    if (const LocaleFacts *facts = localeFactsForName(*value)) {
      field.value = facts->name;
      field.source = name;
      return *facts;
    }
    if (!field.note.empty()) field.note += "; ";
    field.note += std::string(name) + "=\"" + *value + "\" names no known locale; en_US used";
    break;
  }
  field.value = kDefaultLocale.name;
  if (field.source.empty()) field.source = "default";
  return kDefaultLocale;
}

// Applies a numeric override to `field`, whose value and source already
// hold the derived value.
template <typename T>
void applyNumberOverride(const EnvLookup &env, const char *name, uint32_t minValue,
                         uint32_t maxValue, ProfileField<T> &field) {
  auto text = nonEmpty(env, name);
  if (!text) return;
  if (auto number = base::parseNumber(*text, minValue, maxValue)) {
    field.value = static_cast<T>(*number);
    field.source = name;
    return;
  }
  field.note = std::string(name) + "=\"" + *text + "\" is not a number in " +
               std::to_string(minValue) + ".." + std::to_string(maxValue) + "; ignored";
}

ProfileField<std::string> chooseRegistryPath(const EnvLookup &env) {
  if (auto path = nonEmpty(env, "QSTR14_REGISTRY")) return {*path, "QSTR14_REGISTRY", ""};
  auto config = nonEmpty(env, "XDG_CONFIG_HOME");
  if (config && config->front() == '/') {
    return {*config + "/qstr14/registry.reg", "XDG_CONFIG_HOME", ""};
  }
  if (auto home = nonEmpty(env, "HOME")) {
    return {*home + "/.config/qstr14/registry.reg", "HOME", ""};
  }
  return {":memory:", "default", "neither XDG_CONFIG_HOME nor HOME is set; registry kept in memory"};
}

// QSTR14_ISA caps the vector instructions; unset, the processor decides.
ProfileField<VectorIsa> chooseVectorIsa(const EnvLookup &env) {
  ProfileField<VectorIsa> field{VectorIsa::Avx512, "processor", ""};
  auto text = nonEmpty(env, "QSTR14_ISA");
  if (!text) return field;
  if (auto isa = parseVectorIsa(*text)) return {*isa, "QSTR14_ISA", ""};
  field.note = "QSTR14_ISA=\"" + *text + "\" is not plain, sse2 or avx512; ignored";
  return field;
}

std::optional<std::string> realEnvironment(const char *name) {
  const char *value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

// Derived from the environment on first use, unless a profile was
// installed first.
base::BuiltOnce<HostProfile> &profileState() {
  static base::BuiltOnce<HostProfile> state;
  return state;
}

}  // namespace

std::optional<VectorIsa> parseVectorIsa(const std::string &text) {
  const std::string name = base::toAsciiLower(text);
  for (VectorIsa isa : {VectorIsa::Plain, VectorIsa::Sse2, VectorIsa::Avx512}) {
    if (name == vectorIsaName(isa)) return isa;
  }
  return std::nullopt;
}

const char *vectorIsaName(VectorIsa isa) {
  switch (isa) {
    case VectorIsa::Plain: return "plain";
    case VectorIsa::Sse2: return "sse2";
    case VectorIsa::Avx512: return "avx512";
  }
  return "?";
}

VectorIsa vectorIsaCap() { return chooseVectorIsa(realEnvironment).value; }

const LocaleFacts *localeFactsForLangId(uint16_t langId) {
  for (const LocaleFacts &facts : kLocaleFacts) {
    if (facts.langId == langId) return &facts;
  }
  for (const LocaleFacts &facts : kLocaleFacts) {
    if (primaryLanguage(facts.langId) == primaryLanguage(langId)) return &facts;
  }
  return nullptr;
}

const LocaleFacts *localeFactsForName(const std::string &posixName) {
  // Drop ".codeset" and "@modifier".
  std::string name = posixName.substr(0, posixName.find_first_of(".@"));
  if (name == "C" || name == "POSIX") return &kDefaultLocale;
  std::string language = base::toAsciiLower(name.substr(0, name.find('_')));
  std::string territory;
  if (auto sep = name.find('_'); sep != std::string::npos) territory = base::toAsciiUpper(name.substr(sep + 1));
  if (language.empty()) return nullptr;
  const LocaleFacts *first = nullptr;
  for (const LocaleFacts &facts : kLocaleFacts) {
    std::string factsName = facts.name;
    if (factsName.compare(0, language.size() + 1, language + "_") != 0) continue;
    if (first == nullptr) first = &facts;
    if (factsName.substr(language.size() + 1) == territory) return &facts;
  }
  return first;
}

HostProfile deriveHostProfile(const EnvLookup &env) {
  HostProfile profile;
  const LocaleFacts &facts = chooseLocale(env, profile.locale);
  const std::string fromLocale = "locale " + profile.locale.value;

  profile.ansiCodePage = {facts.ansiCodePage, fromLocale, ""};
  applyNumberOverride(env, "QSTR14_ACP", 1, 65535, profile.ansiCodePage);
  profile.oemCodePage = {facts.oemCodePage, fromLocale, ""};
  applyNumberOverride(env, "QSTR14_OEMCP", 1, 65535, profile.oemCodePage);
  profile.langId = {facts.langId, fromLocale, ""};
  applyNumberOverride(env, "QSTR14_LANGID", 0, 0xFFFF, profile.langId);
  profile.keyboardLangId = {profile.langId.value, "system language ID", ""};
  applyNumberOverride(env, "QSTR14_KEYBOARD_LANGID", 0, 0xFFFF, profile.keyboardLangId);
  profile.dbcsEnabled = {base::isHostDoubleByteCodePage(profile.ansiCodePage.value),
                         "ANSI code page " + std::to_string(profile.ansiCodePage.value), ""};
  applyNumberOverride(env, "QSTR14_DBCS", 0, 1, profile.dbcsEnabled);
  profile.registryPath = chooseRegistryPath(env);
  profile.vectorIsa = chooseVectorIsa(env);
  return profile;
}

const HostProfile &hostProfile() {
  return profileState().get([] { return deriveHostProfile(realEnvironment); });
}

void installHostProfile(const HostProfile &profile) { profileState().set(profile); }

void resetHostProfile() { profileState().reset(); }

}  // namespace qstr::host
