// The host layer: every operation the library asks of the operating system.
//
// Only code under src/host includes platform headers. Each operation has the
// semantics of the Windows function it stands for (named beside it), so that
// the Win32 backend forwards it unchanged and the portable backend emulates
// it over the host profile (see profile.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/windows_codes.h"

namespace qstr::host {

// The host answers in Windows codes (error codes, registry keys and
// rights) on every platform.
using namespace qstr::windows;

// ---- Process heap (GetProcessHeap, HeapAlloc, HeapReAlloc, HeapFree) ----
using HeapHandle = void *;
HeapHandle processHeap();
// Null on failure. `zeroFill` clears the block (HEAP_ZERO_MEMORY).
void *heapAlloc(HeapHandle heap, std::size_t bytes, bool zeroFill);
// Null on failure; the old block then stays valid.
void *heapReAlloc(HeapHandle heap, void *block, std::size_t bytes);
void heapFree(HeapHandle heap, void *block);

// ---- Movable global memory (GlobalAlloc with GMEM_MOVEABLE | GMEM_ZEROINIT,
//      GlobalLock, GlobalUnlock, GlobalFree) ----
using GlobalHandle = void *;
GlobalHandle globalAlloc(std::size_t bytes);  // zeroed; null on failure
void *globalLock(GlobalHandle handle);         // null on failure
void globalUnlock(GlobalHandle handle);
void globalFree(GlobalHandle handle);

// ---- Address space (VirtualAlloc MEM_RESERVE / MEM_COMMIT, VirtualFree) ----
inline constexpr std::size_t kPageSize = 4096;
// Reserves `bytes` of address space, inaccessible until committed. Null on failure.
void *reservePages(std::size_t bytes);
// Commits the pages that cover [address, address + bytes) inside a
// reservation: readable, writable, zero on first commit.
bool commitPages(void *address, std::size_t bytes);
// Decommits and frees a whole reservation of `reservedBytes`.
void releasePages(void *base, std::size_t reservedBytes);

// ---- Global atoms (AddAtomA, DeleteAtom) ----
// Equal names (compared without regard to ASCII case) give the same atom
// while it is held; each add takes a reference. "#n" with n below 0xC000 is
// the integer atom n. Returns 0 on failure (empty or over-long name, table full).
uint16_t addAtom(const char *name);
// Drops one reference. Returns 0 on success, the atom itself on failure
// (as DeleteAtom does).
uint16_t deleteAtom(uint16_t atom);

// ---- Module (DisableThreadLibraryCalls, own instance handle) ----
using ModuleHandle = void *;
ModuleHandle currentModule();
void disableThreadLibraryCalls(ModuleHandle module);

// ---- System metrics and code pages ----
// GetSystemMetrics(SM_DBCSENABLED): non-zero when double-byte code pages
// are supported. Callers ask it anew at every use.
int dbcsEnabled();
uint32_t ansiCodePage();  // GetACP
uint32_t oemCodePage();   // GetOEMCP
// IsDBCSLeadByte: the byte opens a double-byte character of the ANSI code page.
bool isDbcsLeadByte(uint8_t byte);

// One character to UTF-16 (MultiByteToWideChar, no flags, room for one
// unit): `bytes` holds one byte, or a lead and a trail byte (`count` 2).
// Returns 1 and the unit, or 0 when the code page or character is unknown.
int charToUnicode(uint32_t codePage, const uint8_t *bytes, int count, char16_t *unit);
// One UTF-16 unit to bytes (WideCharToMultiByte, WC_NO_BEST_FIT_CHARS, no
// default character, room for two bytes): the number of bytes stored (1 or
// 2), or 0 when the character has no exact code in that code page.
int unicodeToChar(uint32_t codePage, char16_t unit, uint8_t out[2]);

// Whole strings (MultiByteToWideChar / WideCharToMultiByte with no flags and
// no default character): `srcLength` counts units, -1 for a zero-terminated
// source (whose terminator is converted too). With `dstCapacity` 0 the
// result is the length needed. Characters without a code become '?'.
// Returns the units written, or 0 on failure (unknown code page, no room).
int multiByteToWideChar(uint32_t codePage, const char *src, int srcLength,
                        char16_t *dst, int dstCapacity);
int wideCharToMultiByte(uint32_t codePage, const char16_t *src, int srcLength,
                        char *dst, int dstCapacity);

// ---- Vector instructions (the library's own setting on every system) ----
// Tiers of vector instructions for the string loops, each including the
// ones before it: element-at-a-time loops only, SSE2, AVX-512.
enum class VectorIsa : uint8_t { Plain, Sse2, Avx512 };
// The highest tier the string loops may use in this process: QSTR14_ISA
// (plain, sse2 or avx512), else Avx512, which leaves the choice to the
// processor. Read from the process's environment, never from an installed
// profile; it reads the environment at each call, so callers ask once.
VectorIsa vectorIsaCap();

// ---- Language, locale and keyboard ----
uint16_t systemDefaultLangId();  // GetSystemDefaultLangID
// GetKeyboardLayout(0): the keyboard's language ID in the low 16 bits.
uint32_t keyboardLayout();
// GetLocaleInfoA(langId, LOCALE_IDEFAULTANSICODEPAGE): stores the default
// ANSI code page of the language as decimal text with a terminator and
// returns the characters stored, terminator included; 0 when the language
// is unknown or `capacity` is too small.
int localeDefaultAnsiCodePage(uint16_t langId, char *buffer, int capacity);
// TranslateCharsetInfo(TCI_SRCCODEPAGE): the Windows character set of a
// code page (128 Shift-JIS, 129 Hangul, 134 GB 2312, 136 Big5, ...).
bool translateCharsetInfo(uint32_t codePage, uint32_t *charset);

// ---- Registry (RegCreateKeyExA, RegOpenKeyExA, RegQueryValueExA,
//      RegSetValueExA, RegCloseKey); results are Windows error codes ----
int32_t regCreateKey(RegKey parent, const char *subKey, uint32_t access, RegKey *result,
                     uint32_t *disposition);
int32_t regOpenKey(RegKey parent, const char *subKey, uint32_t access, RegKey *result);
// `size` in and out: the buffer's size, then the value's size; with a
// buffer too small the result is 234 and `size` the size needed.
int32_t regQueryValue(RegKey key, const char *name, uint32_t *type, uint8_t *data,
                      uint32_t *size);
int32_t regSetValue(RegKey key, const char *name, uint32_t type, const uint8_t *data,
                    uint32_t size);
int32_t regCloseKey(RegKey key);

}  // namespace qstr::host
