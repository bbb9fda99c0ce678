// Portable backend: the library's own module handle.
#include <dlfcn.h>

#include "host/host.h"

namespace qstr::host {

// The load address of the object that holds this function: the shared
// library when loaded as one, the program when linked statically.
ModuleHandle currentModule() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void *>(&currentModule), &info) == 0) return nullptr;
  return info.dli_fbase;
}

// Threads do not notify shared objects here; nothing to switch off.
void disableThreadLibraryCalls(ModuleHandle) {}

}  // namespace qstr::host
