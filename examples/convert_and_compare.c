#include <stdio.h>
#include <qstr14/qstr14.h>

int main(void) {
  uint16_t native[32], utf16[32], other[32];
  Q6azTowz("Caf\xE9", native);        /* code page 1252 bytes to native characters */
  Q6wzToWStr(native, utf16);           /* native characters to UTF-16 */
  Q6azTowz("cafe", other);
  printf("U+%04X, order %d\n", utf16[3], Q6wstrcmp(native, other));
  return 0;
}
