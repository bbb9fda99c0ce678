/* Loads QStr14.dll by name, resolves a dozen exports by their plain names and calls them;
 * exit status 0 when every answer is right. */
#include <stdio.h>
#include <string.h>
#include <windows.h>

typedef int(__stdcall *InitFn)(const char *);
typedef const char *(__stdcall *GetLanguageFn)(void);
typedef unsigned short(__stdcall *SizeFn)(const unsigned char *);
typedef unsigned short(__stdcall *CharFn)(unsigned int);
typedef unsigned int(__stdcall *LengthFn)(const char *);
typedef int(__stdcall *ValidFn)(unsigned int);
typedef char *(__stdcall *RegistryLocFn)(void);

static int failures = 0;

static void check(int ok, const char *what) {
  if (!ok) printf("FAILED: %s\n", what);
  failures += !ok;
}

int main(void) {
  static const unsigned char group[] = {0xF0, 0x29, 0x01, 0xF0, 0};
  HMODULE dll = LoadLibraryA("QStr14.dll");
  if (dll == NULL) {
    printf("FAILED: LoadLibrary(QStr14.dll): error %lu\n", GetLastError());
    return 1;
  }
#define EXPORT(type, name) ((type)GetProcAddress(dll, name))
  InitFn init = EXPORT(InitFn, "QStrInit");
  GetLanguageFn language = EXPORT(GetLanguageFn, "QStrGetLanguage");
  SizeFn ufsize = EXPORT(SizeFn, "ufsize");
  CharFn toUnicode = EXPORT(CharFn, "KZcharQX6xToUnicode"), fromUnicode = EXPORT(CharFn, "KZcharUnicodeToQX6x");
  CharFn getAnsi = EXPORT(CharFn, "TpiGetAnsi"), ansiToQx = EXPORT(CharFn, "TpiAnsiToQx");
  CharFn upper = EXPORT(CharFn, "wtoupper");
  LengthFn length = EXPORT(LengthFn, "wstrlen");
  ValidFn valid = EXPORT(ValidFn, "ValidQxCharacter");
  RegistryLocFn location = EXPORT(RegistryLocFn, "?QcvtGetRegistryLoc@@YGPADXZ");
  check(init && language && ufsize && toUnicode && fromUnicode && getAnsi && ansiToQx && upper && length &&
            valid && location && GetProcAddress(dll, "rngchr"),
        "every export resolves by name");
  if (failures) return 1;
  check(init("DE") == 1 && strcmp(language(), "DE") == 0, "QStrInit/QStrGetLanguage");
  check(ufsize(group) == 4, "ufsize");
  check(toUnicode(0x0129) == 0x00E9 && fromUnicode(0x00E9) == 0x0129, "native and Unicode");
  check(ansiToQx('A') == 'A' && getAnsi(0x0041) == 0x41, "ANSI conversion");
  check(upper('a') == 'A' && length("abc") == 3, "wtoupper and wstrlen");
  check(valid(0x0041) == 1 && valid(0x001F) == 0, "ValidQxCharacter");
  check(strstr(location(), "CodePageData\\DE") != NULL, "QcvtGetRegistryLoc");
  FreeLibrary(dll);
  printf(failures ? "%d failures\n" : "all exports answered\n", failures);
  return failures ? 1 : 0;
}
