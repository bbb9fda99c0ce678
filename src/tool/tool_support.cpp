// The qstr tool's view of the library's internals: settings with their
// sources, the registry store, the values of the multi-level comparison.
#include "tool/tool_support.h"

#include <cstdio>

#include "base/double_byte_pages.h"
#include "charset/stream_items.h"
#include "charset/version5_items.h"
#include "codepage/state.h"
#include "collate/multilevel/multilevel_compare.h"
#include "collate/multilevel/multilevel_cursor.h"
#include "collate/values/multilevel_values.h"
#include "host/host.h"
#include "host/profile.h"
#include "host/registry_store.h"
#include "registry/ckzkey.h"
#include "simd/dispatch.h"

namespace qstr::tool {
namespace {

std::string hex4(uint32_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", value & 0xFFFF);
  return text;
}

// A value the system reports and the profile field that explains it. On
// Windows the system itself is the source and the profile is not consulted.
template <typename T>
Setting systemSetting(const char *name, std::string value, [[maybe_unused]] const host::ProfileField<T> &field) {
#ifdef _WIN32
  return {name, std::move(value), "Windows", ""};
#else
  return {name, std::move(value), field.source, field.note};
#endif
}

const char *sourceName(codepage::CodepageSource source) {
  switch (source) {
    case codepage::CodepageSource::Registry: return "registry";
    case codepage::CodepageSource::Country: return "country ID";
    case codepage::CodepageSource::System: return "system";
  }
  return "?";
}

Setting codepageSetting(const char *name, const codepage::CodepageChoice &choice) {
  return {name, std::to_string(choice.codePage), sourceName(choice.source), ""};
}

collate::CollationOptions internalOptions(const CollationOptions &options) {
  return {options.language, options.caseFlag, options.kanaFlag};
}

}  // namespace

std::string hostLocale() {
#ifdef _WIN32
  return "";
#else
  return host::hostProfile().locale.value;
#endif
}

std::vector<Setting> hostSettings() {
  const host::HostProfile &profile = host::hostProfile();
  std::vector<Setting> rows;
#ifndef _WIN32
  rows.push_back({"locale", profile.locale.value, profile.locale.source, profile.locale.note});
#endif
  rows.push_back(systemSetting("system language ID", hex4(host::systemDefaultLangId()), profile.langId));
  rows.push_back(systemSetting("ANSI code page", std::to_string(host::ansiCodePage()), profile.ansiCodePage));
  rows.push_back(systemSetting("OEM code page", std::to_string(host::oemCodePage()), profile.oemCodePage));
  rows.push_back(systemSetting("double-byte support", host::dbcsEnabled() ? "yes" : "no", profile.dbcsEnabled));
  rows.push_back(systemSetting("keyboard language ID", hex4(host::keyboardLayout()), profile.keyboardLangId));
  rows.push_back(systemSetting("registry", host::registry::storeStatus().path, profile.registryPath));
  // The library's own setting on every system: the tier in use is the cap,
  // unless the processor stops below it.
  const host::VectorIsa isa = simd::vectorIsa();
  rows.push_back({"vector instructions", host::vectorIsaName(isa),
                  isa < profile.vectorIsa.value ? "processor" : profile.vectorIsa.source, profile.vectorIsa.note});
  return rows;
}

Setting dosCodepage() { return codepageSetting("DOS code page", codepage::chooseDosCodepage()); }
Setting windowsCodepage() { return codepageSetting("Windows code page", codepage::chooseWindowsCodepage()); }

bool hostDoubleByteCodePage(uint32_t codePage) { return base::isHostDoubleByteCodePage(codePage); }

RegistryStatus registryStatus() {
  const host::registry::StoreStatus status = host::registry::storeStatus();
  return {status.usable, status.path, status.usable ? std::string() : status.message};
}

int32_t listRegistryValues(const char *keyPath, std::vector<RegistryValue> *values) {
  constexpr uint32_t kKeyReadWrite = 0x2001F;  // the access the library opens its keys with
  registry::CKZKey key(keyPath, kKeyReadWrite);
  if (key.Key() == 0) return key.Status() != 0 ? key.Status() : host::kErrorCantOpen;
  std::vector<host::registry::ValueRecord> records;
  if (const int32_t error = host::registry::listValues(key.Key(), &records); error != 0) return error;
  values->clear();
  for (host::registry::ValueRecord &record : records) {
    values->push_back({std::move(record.name), record.type, std::move(record.data)});
  }
  return 0;
}

bool isAsianLanguage(uint16_t language) { return collate::isAsian(language); }

std::vector<PositionValues> collationValues(const uint16_t *s, const CollationOptions &options) {
  std::vector<PositionValues> positions;
  const uint16_t *taken = collate::colFirstCh(s);  // the cursor's place before the position
  std::size_t lastOffset = 0;
  collate::forEachPosition(s, internalOptions(options),
                           [&](const collate::CollationCursor &cursor, const collate::PositionValues &v) {
                             const std::size_t length = static_cast<std::size_t>(cursor.next() - taken);
                             if (length != 0) lastOffset = static_cast<std::size_t>(taken - s);
                             positions.push_back({cursor.current(), v.primary, v.secondary, v.caseValue, v.ignorable,
                                                  lastOffset, length});
                             taken = cursor.next();
                           });
  return positions;
}

Comparison compareExplained(const uint16_t *a, const uint16_t *b, const CollationOptions &options) {
  const collate::ComparisonOutcome outcome = collate::compareExplained(a, b, internalOptions(options));
  DecidingLevel level = DecidingLevel::kEqual;
  switch (outcome.level) {
    case collate::DecidingLevel::kEqual: level = DecidingLevel::kEqual; break;
    case collate::DecidingLevel::kPrimary: level = DecidingLevel::kPrimary; break;
    case collate::DecidingLevel::kLength: level = DecidingLevel::kLength; break;
    case collate::DecidingLevel::kSecondary: level = DecidingLevel::kSecondary; break;
    case collate::DecidingLevel::kCase: level = DecidingLevel::kCase; break;
  }
  return {outcome.result, level};
}

namespace {

std::string hex2(unsigned byte) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", byte);
  return text;
}

}  // namespace

ItemStatus readStreamItem(const uint8_t *bytes, std::size_t size, StreamItem &item, std::string &why) {
  using charset::StreamItemProblem;
  const charset::CheckedStreamItem checked = charset::checkStreamItem(bytes, size);
  item = {checked.kind, checked.length};
  const std::string group = size > 0 ? "group " + hex2(bytes[0]) : std::string();
  switch (checked.problem) {
    case StreamItemProblem::kNone: return ItemStatus::Complete;
    case StreamItemProblem::kNeedMore: return ItemStatus::NeedMore;
    case StreamItemProblem::kShortVariableGroup:
      why = group + " gives its length as " + std::to_string(checked.length) + ", less than 7";
      break;
    case StreamItemProblem::kWrongClosingByte:
      why = group + " ends with " + hex2(checked.closingByte) + " instead of its own code";
      break;
    case StreamItemProblem::kUnequalLengths: why = group + " gives two different lengths at its ends"; break;
  }
  return ItemStatus::Malformed;
}

std::optional<std::size_t> firstIncompleteVersion5Item(const uint8_t *stream, std::size_t size, bool doubleByte) {
  return charset::version5::firstIncompleteVersion5Item(stream, size, doubleByte);
}

Version5Item version5ItemAt(const uint8_t *item, std::size_t available, bool doubleByte) {
  namespace v5 = charset::version5;
  const v5::Version5Item read = v5::readVersion5Item(item, available, doubleByte);
  const bool function = read.kind == v5::Version5ItemKind::kFunction ||
                        read.kind == v5::Version5ItemKind::kFixedFunction ||
                        read.kind == v5::Version5ItemKind::kVariableFunction;
  return {read.length, function};
}

}  // namespace qstr::tool
