// Built against the installed static library, as C++.
#include <qstr14/qstr14.h>

#include <iostream>
#include <string>

int main() {
  const uint8_t stream[] = {'A', 0xF0, 0x29, 0x01, 0xF0, 0};
  char ansi[8];
  if (TpiQxToAnsiBuff(ansi, stream, sizeof ansi) != 3 || std::string(ansi) != "A\xE9") return 1;
  std::cout << "consumer: ok (" << QSTR14_VERSION_STRING << ")\n";
  return 0;
}
