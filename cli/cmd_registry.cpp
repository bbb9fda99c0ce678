// qstr registry: the values under the library's registry location, with
// their types decoded.
#include <algorithm>
#include <iostream>

#include "cli.h"
#include "qstr14/codepage.h"
#include "table.h"
#include "text.h"
#include "tool_support.h"

namespace qstr::cli {
namespace {

constexpr uint32_t kLockFlag = tool::kRegistryLockFlag;

std::string typeName(uint32_t storedType) {
  const uint32_t type = storedType & ~kLockFlag;
  std::string name;
  switch (type) {
    case 1: name = "string"; break;
    case 3: name = "binary"; break;
    case 4: name = "dword"; break;
    case 0x80000002: name = "code page"; break;
    case 0x80000008: name = "link"; break;
    default: name = "type " + hex4(type); break;
  }
  if (storedType & kLockFlag) name += ", locked";
  return name;
}

std::string describeData(uint32_t storedType, const std::vector<uint8_t> &data) {
  const uint32_t type = storedType & ~kLockFlag;
  if (type == 0x80000002 && data.size() == 2) return std::to_string(data[0] | data[1] << 8);
  if (type == 4 && data.size() == 4) {
    return std::to_string(static_cast<uint32_t>(data[0] | data[1] << 8 | data[2] << 16 | data[3] << 24));
  }
  if (type == 1) {
    std::string text(data.begin(), data.end());
    text.erase(std::min(text.find('\0'), text.size()));
    text.insert(text.begin(), '"');
    text.push_back('"');
    return text;
  }
  std::string hex;
  for (uint8_t b : data) {
    static const char digits[] = "0123456789abcdef";
    if (!hex.empty()) hex += ',';
    hex += digits[b >> 4];
    hex += digits[b & 15];
  }
  return hex.empty() ? "(empty)" : hex;
}

int runRegistry() {
  const tool::RegistryStatus status = tool::registryStatus();
  if (!status.usable) {
    printError("registry", status.problem);
    return kExitBadInput;
  }
  const char *location = QcvtGetRegistryLoc();
  std::vector<tool::RegistryValue> values;
  if (const int32_t error = tool::listRegistryValues(location, &values); error != 0) {
    printError("registry", std::string("cannot list the values of ") + location + " (error " + std::to_string(error) + ")");
    return kExitBadInput;
  }
  std::cout << "[" << location << "]  (" << status.path << ")\n";
  if (values.empty()) {
    std::cout << "(no values)\n";
    return kExitOk;
  }
  Table table({"name", "type", "data"});
  for (const tool::RegistryValue &value : values) {
    table.add({"\"" + (value.name.empty() ? std::string("@") : value.name) + "\"", typeName(value.type),
               describeData(value.type, value.data)});
  }
  table.print(std::cout);
  return kExitOk;
}

}  // namespace

Action setupRegistry(CLI::App &) { return runRegistry; }

}  // namespace qstr::cli
