/* Loads QStr14.dll by name, resolves exports by their plain names (one C++ name decorated) and calls
 * one of each signature; exit status 0 when every answer is right. */
#include <stdio.h>
#include <string.h>
#include <windows.h>

typedef int(__stdcall *InitFn)(const char *);
typedef const char *(__stdcall *GetLanguageFn)(void);
typedef unsigned short(__stdcall *CharFn)(unsigned int);
typedef char *(__stdcall *RegistryLocFn)(void);

static int failures = 0;

static void check(int ok, const char *what) {
  if (!ok) printf("FAILED: %s\n", what);
  failures += !ok;
}

int main(void) {
  static const char *const names[] = {
      "QStrInit", "QStrGetLanguage", "ufsize", "KZcharQX6xToUnicode", "KZcharUnicodeToQX6x", "TpiGetAnsi",
      "TpiAnsiToQx", "wtoupper", "wstrlen", "ValidQxCharacter", "rngchr", "?QcvtGetRegistryLoc@@YGPADXZ"};
  HMODULE dll = LoadLibraryA("QStr14.dll");
  size_t i;
  if (dll == NULL) {
    printf("FAILED: LoadLibrary(QStr14.dll): error %lu\n", GetLastError());
    return 1;
  }
  for (i = 0; i < sizeof names / sizeof names[0]; ++i) check(GetProcAddress(dll, names[i]) != NULL, names[i]);
  if (failures) return 1;
#define EXPORT(type, name) ((type)GetProcAddress(dll, name))
  check(EXPORT(InitFn, names[0])("DE") == 1, "QStrInit");
  check(strcmp(EXPORT(GetLanguageFn, names[1])(), "DE") == 0, "QStrGetLanguage");
  check(EXPORT(CharFn, names[3])(0x0129) == 0x00E9 && EXPORT(CharFn, names[4])(0x00E9) == 0x0129, "Unicode");
  check(strstr(EXPORT(RegistryLocFn, names[11])(), "CodePageData\\DE") != NULL, "QcvtGetRegistryLoc");
  FreeLibrary(dll);
  printf(failures ? "%d failures\n" : "all exports answered\n", failures);
  return failures ? 1 : 0;
}
