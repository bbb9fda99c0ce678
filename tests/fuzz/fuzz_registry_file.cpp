// The registry file reader: any text either parses or is refused with a
// line and a message; what parses writes back to text that parses to the
// same text again.
#include <cstdlib>
#include <string>

#include "regdb/format.h"
#include "regdb/tree.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  using namespace qstr::regdb;
  const std::string_view text(reinterpret_cast<const char *>(data), size);
  Tree tree;
  ParseError error;
  if (!parseRegistryText(text, tree, error)) {
    if (error.message.empty() || error.line == 0) std::abort();
    return 0;
  }
  const std::string written = formatRegistryText(tree);
  Tree again;
  if (!parseRegistryText(written, again, error)) std::abort();
  if (formatRegistryText(again) != written) std::abort();
  return 0;
}
