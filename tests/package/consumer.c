/* Built against the installed library: a conversion and a comparison. */
#include <qstr14/qstr14.h>
#include <stdio.h>

int main(void) {
  uint16_t native[8], unicode[8], other[8];
  if (Q6azTowz("Caf\xE9", native) != 1 || Q6wzToWStr(native, unicode) != 1) return 1;
  if (unicode[3] != 0x00E9) return 2;
  Q6azTowz("cafe", other);
  /* The simple sort puts an accented letter with its base letter. */
  if (Q6wstricmp(native, other) != 0 || Q6wstrcmp(native, other) <= 0) return 3;
  puts("consumer: ok");
  return 0;
}
