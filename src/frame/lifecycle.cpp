// Library state and lifecycle: QStrInit, QStrUnInit, QStrSetLanguage,
// QStrGetLanguage and the entry point.
#include <atomic>
#include <cstring>

#include "frame/state.h"
#include "qstr14/frame.h"

namespace qstr::frame {
namespace {

struct FrameState {
  char language[kLanguageBufferSize] = {'E', 'N'};
  std::atomic<bool> initialised{false};
  host::ModuleHandle module = nullptr;
  host::HeapHandle heap = nullptr;
};

FrameState state;

// Copies at most 7 characters of `language` and zero-fills the rest of the
// buffer, so a longer code is cut and never overruns it.
void storeLanguage(const char *language) {
  std::size_t length = strnlen(language, kLanguageBufferSize - 1);
  std::memset(state.language, 0, sizeof state.language);
  std::memcpy(state.language, language, length);
}

// Process attach at load, for every way the library is loaded: ELF has no
// entry point that the loader calls with a reason, and a static library
// has none at all. The DLL's own entry point reports attach as well; the
// second attach records the same handles again.
struct AttachAtLoad {
  AttachAtLoad() { entryPoint(host::currentModule(), kProcessAttach, nullptr); }
};
const AttachAtLoad attachAtLoad;

}  // namespace

int32_t entryPoint(host::ModuleHandle module, uint32_t reason, void *) {
  if (reason == kProcessAttach) {
    state.module = module;
    host::disableThreadLibraryCalls(module);
    state.heap = host::processHeap();
  }
  return 1;
}

host::ModuleHandle moduleHandle() { return state.module; }

host::HeapHandle processHeapHandle() { return state.heap; }

void resetFrameState() {
  storeLanguage("EN");
  state.initialised.store(false);
}

}  // namespace qstr::frame

using qstr::frame::state;

// Only the first QStrInit since load or QStrUnInit sets the language.
int32_t QSTR_CALL QStrInit(const char *language) {
  if (state.initialised.exchange(true)) return 1;
  return QStrSetLanguage(language);
}

void QSTR_CALL QStrUnInit(void) { state.initialised.store(false); }

int32_t QSTR_CALL QStrSetLanguage(const char *language) {
  if (language != nullptr) qstr::frame::storeLanguage(language);
  return 1;
}

const char *QSTR_CALL QStrGetLanguage(void) { return state.language; }
