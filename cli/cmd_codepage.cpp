// qstr codepage: the DOS and Windows code pages the library uses and where
// each comes from; --set-windows N stores one.
#include <iostream>

#include "cli.h"
#include "codepage/state.h"
#include "host/registry_store.h"
#include "qstr14/codepage.h"
#include "registry/ckzkey.h"
#include "text.h"

namespace qstr::cli {
namespace {

const char *sourceName(codepage::CodepageSource source) {
  switch (source) {
    case codepage::CodepageSource::Registry: return "registry";
    case codepage::CodepageSource::Country: return "country ID";
    case codepage::CodepageSource::System: return "system";
  }
  return "?";
}

void printChoice(const char *label, const codepage::CodepageChoice &choice) {
  std::cout << label << choice.codePage << "  (" << sourceName(choice.source) << ")\n";
}

// One line saying why the registry cannot be used, or empty.
std::string registryProblem() {
  const host::registry::StoreStatus status = host::registry::storeStatus();
  return status.usable ? std::string() : status.message;
}

// Why storing the Windows code page failed on a usable registry.
std::string whyNotStored() {
  registry::CKZKey key(QcvtGetRegistryLoc(), 0x2001F);
  if (key.Key() == 0) return "cannot open the registry location (error " + std::to_string(key.Status()) + ")";
  uint32_t lock = 0;
  if (key.QueryValue("Windows Code Page", nullptr, &lock, nullptr, nullptr, 0) == 0 && lock != 0) {
    return "the value \"Windows Code Page\" is locked";
  }
  return "the registry file " + host::registry::storeStatus().path + " could not be written";
}

int runCodepage(const std::optional<std::string> &setWindows) {
  if (const auto &text = setWindows) {
    const auto number = parseNumber(*text, 0xFFFF);
    if (!number || *number == 0) throw UsageError{"--set-windows needs a code page number 1-65535"};
    if (QcvtSetWinCodepage(*number) != 1) {
      std::string why = registryProblem();
      printError("codepage", "cannot store Windows code page " + std::to_string(*number) + ": " +
                                 (why.empty() ? whyNotStored() : why));
      return kExitBadInput;
    }
  }
  std::cout << "registry location     " << QcvtGetRegistryLoc() << '\n';
  if (std::string why = registryProblem(); !why.empty()) std::cout << "registry              unusable: " << why << '\n';
  printChoice("DOS code page         ", codepage::chooseDosCodepage());
  printChoice("Windows code page     ", codepage::chooseWindowsCodepage());
  return kExitOk;
}

}  // namespace

Action setupCodepage(CLI::App &app) {
  auto setWindows = std::make_shared<std::optional<std::string>>();
  app.add_option("--set-windows", *setWindows, "code page to store");
  return [setWindows] { return runCodepage(*setWindows); };
}

}  // namespace qstr::cli
