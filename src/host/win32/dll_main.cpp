// The DLL entry point: the loader's calls go to the library frame.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "frame/state.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  return qstr::frame::entryPoint(module, reason, reserved);
}
