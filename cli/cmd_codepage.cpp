// qstr codepage: the DOS and Windows code pages the library uses and where
// each comes from; --set-windows N stores one; --list lists every code page
// qstr knows, with its names.
#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <algorithm>
#include <iostream>

#include "cli.h"
#include "codepage_names.h"
#include "qstr14/codepage.h"
#include "table.h"
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

// Whether the host system converts the Windows code page `windows`: on
// Windows the system knows it, elsewhere iconv opens a converter for it
// (under the name the library's host layer gives it: CPNNN).
bool hostConverts(uint32_t windows) {
#ifdef _WIN32
  return IsValidCodePage(windows) != 0;
#else
  const std::string name = "CP" + std::to_string(windows);
  iconv_t converter = iconv_open("UTF-16LE", name.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) return false;
  iconv_close(converter);
  return true;
#endif
}

// Whether qstr convert converts the page here: a single-byte page through
// the library's own tables of its list row; a double-byte page when the
// host converts it too (its lead bytes and double-byte characters come from
// the host); a Unicode form always (the tool reads and writes it itself).
// QcvtFindCPTable only looks in the code page list: it reads no setting.
bool converts(const CodePageNames &page) {
  if (page.kind == CodePageKind::Unicode) return true;
  const bool tables = QcvtFindCPTable(page.product, 1) != nullptr && QcvtFindCPTable(page.product, 2) != nullptr;
  if (page.kind == CodePageKind::DoubleByte) return (tables || !page.listed) && hostConverts(page.windows);
  return tables;
}

int listCodepages() {
  std::vector<const CodePageNames *> pages;
  for (std::size_t i = 0; i < codePageNameCount; ++i) pages.push_back(&codePageNames[i]);
  std::stable_sort(pages.begin(), pages.end(), [](auto a, auto b) { return a->product < b->product; });
  Table table({"page", "windows", "kind", "converts", "names"});
  for (const CodePageNames *page : pages) {
    std::string names;
    for (const char *const *name = page->names; *name != nullptr; ++name) {
      names += (name == page->names ? "" : ", ") + std::string(*name);
    }
    table.add({std::to_string(page->product), std::to_string(page->windows), kindName(page->kind),
               converts(*page) ? "yes" : "no", names});
  }
  table.print(std::cout);
  return kExitOk;
}

int runCodepage(const std::optional<std::string> &setWindows, bool list) {
  if (list) {
    if (setWindows) throw UsageError{"--list and --set-windows cannot be combined"};
    return listCodepages();
  }
  if (const auto &text = setWindows) {
    const auto number = base::parseNumber(*text, 0, 0xFFFF);
    if (!number || *number == 0) throw UsageError{"--set-windows needs a code page number 1-65535, not '" + *text + "'"};
    if (QcvtSetWinCodepage(*number) != 1) {
      printError("codepage", "cannot store Windows code page " + std::to_string(*number) + ": " + whyNotStored());
      return kExitBadInput;
    }
  }
  const tool::RegistryStatus status = tool::registryStatus();
  printSettings({{"registry location", QcvtGetRegistryLoc(), "", status.usable ? "" : "unusable: " + status.problem},
                 tool::dosCodepage(), tool::windowsCodepage()});
  return kExitOk;
}

}  // namespace

Action setupCodepage(CLI::App &app) {
  auto setWindows = std::make_shared<std::optional<std::string>>();
  auto list = std::make_shared<bool>(false);
  app.add_option("--set-windows", *setWindows, "code page to store");
  app.add_flag("--list", *list, "list every code page with its names");
  return [setWindows, list] { return runCodepage(*setWindows, *list); };
}

}  // namespace qstr::cli
