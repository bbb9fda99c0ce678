// The library's process-wide frame state: current language, initialised
// flag, and the handles recorded when the library is loaded.
#pragma once

#include <cstdint>

#include "host/host.h"

namespace qstr::frame {

inline constexpr uint32_t kProcessDetach = 0;
inline constexpr uint32_t kProcessAttach = 1;
inline constexpr uint32_t kThreadAttach = 2;
inline constexpr uint32_t kThreadDetach = 3;

// The loader's entry point. On process attach it records the module handle,
// switches off thread notifications and records the process heap; other
// reasons do nothing. Always returns 1. Runs at load through a constructor
// on ELF platforms and as the DLL entry point on Windows.
int32_t entryPoint(host::ModuleHandle module, uint32_t reason, void *reserved);

host::ModuleHandle moduleHandle();
// The process heap recorded at attach: scratch buffers come from it.
host::HeapHandle processHeapHandle();

// The language buffer's size: 7 characters and a terminator.
inline constexpr std::size_t kLanguageBufferSize = 8;

// Back to the state at load (language "EN", not initialised). Tests only.
void resetFrameState();

}  // namespace qstr::frame
