/* Links against the shared library through the public header, as C. */
#include <stdio.h>
#include <string.h>

#include <qstr14/qstr14.h>

int main(void) {
  static const uint8_t stream[] = {0x41, 0x85, 0xF0, 0x07, 0x01, 0xF0, 0x42, 0x00};
  if (strcmp(QStrGetLanguage(), "EN") != 0) return 1;
  if (QStrInit("DE") != 1 || strcmp(QStrGetLanguage(), "DE") != 0) return 2;
  QStrUnInit();
  if (Q6dstrNextCh(stream) != stream + 2) return 3;
  if (ubsize(stream + 6) != 4) return 4;
  puts("ok");
  return 0;
}
