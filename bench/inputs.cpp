#include "inputs.h"

#include <clocale>
#include <cstdlib>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

#include "codepage/state.h"
#include "frame/country.h"
#include "host/profile.h"
#include "host/registry_store.h"

namespace qstr::bench {
namespace {

// A small linear congruential generator: the same text on every run.
class Lcg {
 public:
  uint32_t next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }

 private:
  uint32_t state_ = 12345;
};

std::string repeatWords(const std::vector<std::string> &words, std::size_t bytes) {
  Lcg random;
  std::string text;
  text.reserve(bytes + 64);
  while (text.size() < bytes) {
    text += words[random.next() % words.size()];
    // Spaces only: line breaks become native control codes, which have no
    // Unicode value of their own.
    text += ' ';
  }
  return text;
}

}  // namespace

std::string westernText1252(std::size_t bytes) {
  return repeatWords({"caf\xE9", "cr\xE8me", "na\xEFve", "fa\xE7" "ade", "Stra\xDF" "e", "\xC4pfel", "\xF8l",
                      "\xE5r", "se\xF1or", "the", "and", "of", "\x80", "5,00", "\x93quote\x94", "\x96", "d\xE9j\xE0",
                      "M\xFCnchen", "gar\xE7on", "\xFC" "ber", "Zahl", "word", "text", "library"},
                     bytes);
}

std::string japaneseText932(std::size_t bytes) {
  return repeatWords({"\x93\xfa\x96\x7b", "\x8c\xea", "\x82\xcc", "\x83\x65\x83\x4c\x83\x58\x83\x67", "\xb6\xc5",
                      "\x88\x9f", "\x8a\xbf\x8e\x9a", "ASCII", "\x82\xa0\x82\xa2\x82\xa4", "\xb1\xb2\xb3", "2024"},
                     bytes);
}

std::string dosText437(std::size_t bytes) {
  return repeatWords({"caf\x82", "na\x8bve", "\x8e" "pfel", "Stra\xe1" "e", "\xc9\xcd\xcd\xbb", "\xb0\xb1\xb2",
                      "\x9c" "5", "text", "the", "\xf8" "C", "\xe3r\xb2"},
                     bytes);
}

std::vector<std::string> pieces(const std::string &text, std::size_t shortest, std::size_t longest,
                                bool (*leadByte)(uint8_t)) {
  std::vector<std::string> cut;
  std::minstd_rand lengths(23);
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t limit = shortest + lengths() % (longest - shortest + 1);
    std::size_t end = start;
    while (end < text.size()) {
      const std::size_t length = leadByte(static_cast<uint8_t>(text[end])) ? 2 : 1;
      if (end + length - start > limit) break;
      end += length;
    }
    cut.push_back(text.substr(start, end - start));
    start = end;
  }
  return cut;
}

std::vector<std::string> chunks(const std::string &text, std::size_t limit, bool (*leadByte)(uint8_t)) {
  return pieces(text, limit, limit, leadByte);
}

namespace {

// Whether setlocale knows the locale, asked in a child process: the C
// library remembers a failed lookup for the rest of the process, so the
// benchmark itself asks only once the locale exists.
bool localeExists(const char *locale) {
  const pid_t child = fork();
  if (child == 0) _exit(std::setlocale(LC_COLLATE, locale) != nullptr ? 0 : 1);
  int status = 0;
  return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

bool collateIn(const char *locale) {
  if (!localeExists(locale)) {
    // "en_US.UTF-8": definition en_US, character map UTF-8. Written as files
    // of its own rather than into the archive, which this process may
    // already have mapped.
    const std::string name(locale);
    const auto dot = name.find('.');
    if (dot == std::string::npos) return false;
    const std::string command = "localedef --no-archive -i " + name.substr(0, dot) + " -f " + name.substr(dot + 1) +
                                " " + name + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0 || !localeExists(locale)) return false;
  }
  return std::setlocale(LC_COLLATE, locale) != nullptr;
}

void useMachine(const char *locale) {
  host::installHostProfile(host::deriveHostProfile([locale](const char *name) -> std::optional<std::string> {
    if (std::string(name) == "LANG") return std::string(locale);
    if (std::string(name) == "QSTR14_REGISTRY") return std::string(":memory:");
    return std::nullopt;
  }));
  host::registry::resetStore();
  frame::resetCountryDetection();
  codepage::resetCodePageState();
}

}  // namespace qstr::bench
