// The DLL entry point: the loader's calls go to the library frame. Built
// into the Windows DLL alone (the static library has no entry point), and
// declared with the loader's types spelled out: BOOL is int, HINSTANCE a
// pointer, DWORD a 32-bit unsigned; the standard calling convention gives
// the name the loader looks for on 32 bits.
#include <cstdint>

#include "frame/state.h"

extern "C" int __stdcall DllMain(void *module, uint32_t reason, void *reserved) {
  return qstr::frame::entryPoint(module, reason, reserved);
}
