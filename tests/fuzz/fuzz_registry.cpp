// The registry, the first byte choosing what: any text parses as a registry file and writes back to the
// same text, or is refused with a line; any link value reads and writes through within the buffer.
#include <string>

#include "fuzz_support.h"
#include "regdb/format.h"
#include "regdb/tree.h"
#include "registry/ckzkey.h"

namespace {

using qstr::fuzz::check;
constexpr uint32_t kLinkType = 0x80000008;

void registryFile(const std::vector<uint8_t> &bytes) {
  using namespace qstr::regdb;
  Tree tree;
  ParseError error;
  if (!parseRegistryText(std::string(bytes.begin(), bytes.end()), tree, error)) {
    check(!error.message.empty() && error.line != 0);
    return;
  }
  const std::string written = formatRegistryText(tree);
  Tree again;
  check(parseRegistryText(written, again, error) && formatRegistryText(again) == written);
}

void setUtf16(qstr::registry::CKZKey &key, const char *name, uint32_t type, const std::u16string &text) {
  std::vector<uint8_t> data;
  for (const char16_t unit : text + u'\0') data.insert(data.end(), {uint8_t(unit), uint8_t(unit >> 8)});
  key.SetValue(name, type, data.data(), static_cast<uint32_t>(data.size()), 0, 1);
}

void linkExpression(qstr::fuzz::Input &in) {
  qstr::fuzz::useHostKind(0);
  qstr::host::registry::resetStore();
  const uint8_t bufferSize = in.byte();
  std::vector<uint8_t> link = in.rest();
  link.resize(link.size() / 2 * 2 + 2, 0);

  qstr::registry::CKZKey key("HKEY_CURRENT_USER\\Software\\Fuzz", 0x2001F);
  check(key.Key() != 0);
  const uint8_t plain[2] = {0x52, 0x03};
  key.SetValue("Plain", 0x80000002, plain, 2, 0, 1);
  setUtf16(key, "Text", 1, u"");
  setUtf16(key, "Self", kLinkType, u"<Fuzz\\Self>");
  setUtf16(key, "Chain", kLinkType, u"<Fuzz\\Plain>|\"x\"");
  key.SetValue("L", kLinkType, link.data(), static_cast<uint32_t>(link.size()), 0, 1);

  std::vector<uint8_t> buffer(bufferSize + 8u, 0x55);
  uint32_t type = 0, lock = 0, bytes = bufferSize;
  key.QueryValue("L", &type, &lock, buffer.data(), &bytes, 1);
  check(qstr::fuzz::untouched<uint8_t>(buffer, bufferSize, 0x55));
  const uint8_t value[2] = {0xE4, 0x04};
  key.SetValue("L", 0x80000002, value, 2, 1, 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  qstr::fuzz::Input in(data, size);
  if (in.byte() % 2 == 0) {
    registryFile(in.rest());
  } else {
    linkExpression(in);
  }
  return 0;
}
