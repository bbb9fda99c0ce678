// Win32 backend: every host operation forwarded to the Windows function it
// stands for.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "host/host.h"

namespace qstr::host {

HeapHandle processHeap() { return GetProcessHeap(); }

void *heapAlloc(HeapHandle heap, std::size_t bytes, bool zeroFill) {
  return HeapAlloc(static_cast<HANDLE>(heap), zeroFill ? HEAP_ZERO_MEMORY : 0, bytes);
}

void *heapReAlloc(HeapHandle heap, void *block, std::size_t bytes) {
  return HeapReAlloc(static_cast<HANDLE>(heap), 0, block, bytes);
}

void heapFree(HeapHandle heap, void *block) {
  if (block != nullptr) HeapFree(static_cast<HANDLE>(heap), 0, block);
}

GlobalHandle globalAlloc(std::size_t bytes) { return GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes); }

void *globalLock(GlobalHandle handle) { return handle ? GlobalLock(static_cast<HGLOBAL>(handle)) : nullptr; }

void globalUnlock(GlobalHandle handle) {
  if (handle != nullptr) GlobalUnlock(static_cast<HGLOBAL>(handle));
}

void globalFree(GlobalHandle handle) {
  if (handle != nullptr) GlobalFree(static_cast<HGLOBAL>(handle));
}

void *reservePages(std::size_t bytes) {
  return bytes == 0 ? nullptr : VirtualAlloc(nullptr, bytes, MEM_RESERVE, PAGE_NOACCESS);
}

bool commitPages(void *address, std::size_t bytes) {
  return VirtualAlloc(address, bytes, MEM_COMMIT, PAGE_READWRITE) != nullptr;
}

void releasePages(void *base, std::size_t) {
  if (base != nullptr) VirtualFree(base, 0, MEM_RELEASE);
}

uint16_t addAtom(const char *name) { return name == nullptr ? 0 : AddAtomA(name); }

uint16_t deleteAtom(uint16_t atom) { return DeleteAtom(atom); }

ModuleHandle currentModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&currentModule), &module);
  return module;
}

void disableThreadLibraryCalls(ModuleHandle module) {
  if (module != nullptr) DisableThreadLibraryCalls(static_cast<HMODULE>(module));
}

int dbcsEnabled() { return GetSystemMetrics(SM_DBCSENABLED); }

uint32_t ansiCodePage() { return GetACP(); }

uint32_t oemCodePage() { return GetOEMCP(); }

bool isDbcsLeadByte(uint8_t byte) { return IsDBCSLeadByte(byte) != 0; }

int charToUnicode(uint32_t codePage, const uint8_t *bytes, int count, char16_t *unit) {
  wchar_t result = 0;
  if (MultiByteToWideChar(codePage, 0, reinterpret_cast<const char *>(bytes), count, &result, 1) != 1) return 0;
  *unit = static_cast<char16_t>(result);
  return 1;
}

int unicodeToChar(uint32_t codePage, char16_t unit, uint8_t out[2]) {
  const wchar_t wide = static_cast<wchar_t>(unit);
  BOOL usedDefault = FALSE;
  const int produced = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, &wide, 1, reinterpret_cast<char *>(out),
                                           2, nullptr, &usedDefault);
  return usedDefault ? 0 : produced;
}

int multiByteToWideChar(uint32_t codePage, const char *src, int srcLength, char16_t *dst, int dstCapacity) {
  return MultiByteToWideChar(codePage, 0, src, srcLength, reinterpret_cast<wchar_t *>(dst), dstCapacity);
}

int wideCharToMultiByte(uint32_t codePage, const char16_t *src, int srcLength, char *dst, int dstCapacity) {
  return WideCharToMultiByte(codePage, 0, reinterpret_cast<const wchar_t *>(src), srcLength, dst, dstCapacity,
                             nullptr, nullptr);
}

uint16_t systemDefaultLangId() { return GetSystemDefaultLangID(); }

uint32_t keyboardLayout() { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(GetKeyboardLayout(0))); }

int localeDefaultAnsiCodePage(uint16_t langId, char *buffer, int capacity) {
  return GetLocaleInfoA(MAKELCID(langId, SORT_DEFAULT), LOCALE_IDEFAULTANSICODEPAGE, buffer, capacity);
}

bool translateCharsetInfo(uint32_t codePage, uint32_t *charset) {
  CHARSETINFO info{};
  if (!TranslateCharsetInfo(reinterpret_cast<DWORD *>(static_cast<uintptr_t>(codePage)), &info, TCI_SRCCODEPAGE)) {
    return false;
  }
  if (charset != nullptr) *charset = info.ciCharset;
  return true;
}

int32_t regCreateKey(RegKey parent, const char *subKey, uint32_t access, RegKey *result, uint32_t *disposition) {
  HKEY key = nullptr;
  DWORD created = 0;
  const LONG status = RegCreateKeyExA(reinterpret_cast<HKEY>(parent), subKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      access, nullptr, &key, &created);
  if (status == ERROR_SUCCESS) {
    *result = reinterpret_cast<RegKey>(key);
    if (disposition != nullptr) *disposition = created;
  }
  return status;
}

int32_t regOpenKey(RegKey parent, const char *subKey, uint32_t access, RegKey *result) {
  HKEY key = nullptr;
  const LONG status = RegOpenKeyExA(reinterpret_cast<HKEY>(parent), subKey, 0, access, &key);
  if (status == ERROR_SUCCESS) *result = reinterpret_cast<RegKey>(key);
  return status;
}

int32_t regQueryValue(RegKey key, const char *name, uint32_t *type, uint8_t *data, uint32_t *size) {
  DWORD valueType = 0;
  DWORD bytes = size ? *size : 0;
  const LONG status = RegQueryValueExA(reinterpret_cast<HKEY>(key), name, nullptr, &valueType, data,
                                       size ? &bytes : nullptr);
  if (type != nullptr) *type = valueType;
  if (size != nullptr) *size = bytes;
  return status;
}

int32_t regSetValue(RegKey key, const char *name, uint32_t type, const uint8_t *data, uint32_t size) {
  return RegSetValueExA(reinterpret_cast<HKEY>(key), name, 0, type, data, size);
}

int32_t regCloseKey(RegKey key) { return RegCloseKey(reinterpret_cast<HKEY>(key)); }

}  // namespace qstr::host
