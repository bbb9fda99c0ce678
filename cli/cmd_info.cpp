// qstr info: what the library sees of this machine, and why.
#include <iostream>
#include <string>

#include "charset/vector_isa.h"
#include "cli.h"
#include "host/host.h"
#include "host/profile.h"
#include "host/registry_store.h"
#include "qstr14/frame.h"

namespace qstr::cli {
namespace {

// On Windows the system's values come from the system itself; elsewhere,
// and for the library's own settings everywhere, from the host profile,
// whose fields say where each value came from.
template <typename T>
void printRow(const char *label, const std::string &value, const host::ProfileField<T> &field,
              [[maybe_unused]] bool systemValue = true, const std::string &source = "") {
  std::cout << label << std::string(22 - std::string(label).size(), ' ') << value;
#ifdef _WIN32
  if (systemValue) {
    std::cout << "  (Windows)\n";
    return;
  }
#endif
  const std::string &from = source.empty() ? field.source : source;
  if (!from.empty()) std::cout << "  (" << from << ')';
  std::cout << '\n';
  if (!field.note.empty()) std::cout << std::string(22, ' ') << "note: " << field.note << '\n';
}

int runInfo() {
  const host::HostProfile &profile = host::hostProfile();
#ifndef _WIN32
  printRow("locale", profile.locale.value, profile.locale);
#endif
  printRow("system language ID", hex4(host::systemDefaultLangId()), profile.langId);
  printRow("ANSI code page", std::to_string(host::ansiCodePage()), profile.ansiCodePage);
  printRow("OEM code page", std::to_string(host::oemCodePage()), profile.oemCodePage);
  printRow("double-byte support", host::dbcsEnabled() ? "yes" : "no", profile.dbcsEnabled);
  printRow("keyboard language ID", hex4(host::keyboardLayout() & 0xFFFF), profile.keyboardLangId);
  printRow("registry", host::registry::storeStatus().path, profile.registryPath);
  // The tier in use: the cap, unless the processor stops below it.
  const host::VectorIsa isa = charset::vectorIsa();
  printRow("vector instructions", host::vectorIsaName(isa), profile.vectorIsa, false,
           isa < profile.vectorIsa.value ? "processor" : "");
  static const char *const kCountryNames[] = {"none", "Japanese", "Korean", "Traditional Chinese",
                                              "Simplified Chinese", "Arabic", "Hebrew"};
  uint8_t country = QtpiGetCountryID();
  std::cout << "country ID            " << int(country) << " ("
            << (country < 7 ? kCountryNames[country] : "?") << ")\n";
  std::cout << "current language      " << QStrGetLanguage() << '\n';
  return kExitOk;
}

}  // namespace

Action setupInfo(CLI::App &) { return runInfo; }

}  // namespace qstr::cli
