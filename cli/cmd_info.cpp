// qstr info: what the library sees of this machine, and why.
#include <iostream>
#include <string>
#include <vector>

#include "cli.h"
#include "qstr14/frame.h"
#include "table.h"
#include "tool_support.h"

namespace qstr::cli {
namespace {

int runInfo() {
  static const char *const kCountryNames[] = {"none", "Japanese", "Korean", "Traditional Chinese",
                                              "Simplified Chinese", "Arabic", "Hebrew"};
  std::vector<tool::Setting> settings = tool::hostSettings();
  const uint8_t country = QtpiGetCountryID();
  settings.push_back({"country ID", std::to_string(country) + " (" + (country < 7 ? kCountryNames[country] : "?") + ")",
                      "", ""});
  settings.push_back({"current language", QStrGetLanguage(), "", ""});
  printSettings(settings);
  return kExitOk;
}

}  // namespace

void printSettings(const std::vector<tool::Setting> &settings) {
  Table table({"setting", "value", "from", "note"});
  for (const tool::Setting &setting : settings) table.add({setting.name, setting.value, setting.source, setting.note});
  table.print(std::cout);
}

Action setupInfo(CLI::App &) { return runInfo; }

}  // namespace qstr::cli
