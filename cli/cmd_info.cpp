// qstr info: what the library sees of this machine, and why.
#include <iostream>
#include <string>

#include "cli.h"
#include "qstr14/frame.h"
#include "tool_support.h"

namespace qstr::cli {
namespace {

int runInfo() {
  for (const tool::Setting &setting : tool::hostSettings()) printSetting(setting);
  static const char *const kCountryNames[] = {"none", "Japanese", "Korean", "Traditional Chinese",
                                              "Simplified Chinese", "Arabic", "Hebrew"};
  const uint8_t country = QtpiGetCountryID();
  std::cout << "country ID            " << int(country) << " ("
            << (country < 7 ? kCountryNames[country] : "?") << ")\n";
  std::cout << "current language      " << QStrGetLanguage() << '\n';
  return kExitOk;
}

}  // namespace

void printSetting(const tool::Setting &setting) {
  const std::string name = setting.name;
  std::cout << name << std::string(name.size() < 22 ? 22 - name.size() : 1, ' ') << setting.value;
  if (!setting.source.empty()) std::cout << "  (" << setting.source << ')';
  std::cout << '\n';
  if (!setting.note.empty()) std::cout << std::string(22, ' ') << "note: " << setting.note << '\n';
}

Action setupInfo(CLI::App &) { return runInfo; }

}  // namespace qstr::cli
