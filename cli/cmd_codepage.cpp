// qstr codepage: the DOS and Windows code pages the library uses and where
// each comes from; --set-windows N stores one.
#include <iostream>

#include "cli.h"
#include "qstr14/codepage.h"
#include "text.h"
#include "tool_support.h"

namespace qstr::cli {
namespace {

// Why storing the Windows code page failed: the registry cannot be used,
// the key cannot be opened, the value is locked, or the file was not saved.
std::string whyNotStored() {
  const tool::RegistryStatus status = tool::registryStatus();
  if (!status.usable) return status.problem;
  std::vector<tool::RegistryValue> values;
  if (const int32_t error = tool::listRegistryValues(QcvtGetRegistryLoc(), &values); error != 0) {
    return "cannot open the registry location (error " + std::to_string(error) + ")";
  }
  for (const tool::RegistryValue &value : values) {
    if (value.name == "Windows Code Page" && (value.type & tool::kRegistryLockFlag) != 0) {
      return "the value \"Windows Code Page\" is locked";
    }
  }
  return "the registry file " + status.path + " could not be written";
}

int runCodepage(const std::optional<std::string> &setWindows) {
  if (const auto &text = setWindows) {
    const auto number = parseNumber(*text, 0xFFFF);
    if (!number || *number == 0) throw UsageError{"--set-windows needs a code page number 1-65535, not '" + *text + "'"};
    if (QcvtSetWinCodepage(*number) != 1) {
      printError("codepage", "cannot store Windows code page " + std::to_string(*number) + ": " + whyNotStored());
      return kExitBadInput;
    }
  }
  std::cout << "registry location     " << QcvtGetRegistryLoc() << '\n';
  if (const tool::RegistryStatus status = tool::registryStatus(); !status.usable) {
    std::cout << "registry              unusable: " << status.problem << '\n';
  }
  printSetting(tool::dosCodepage());
  printSetting(tool::windowsCodepage());
  return kExitOk;
}

}  // namespace

Action setupCodepage(CLI::App &app) {
  auto setWindows = std::make_shared<std::optional<std::string>>();
  app.add_option("--set-windows", *setWindows, "code page to store");
  return [setWindows] { return runCodepage(*setWindows); };
}

}  // namespace qstr::cli
