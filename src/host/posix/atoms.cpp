// Portable backend: the process-wide global atom table.
//
// String atoms are numbered from 0xC000; names compare without regard to
// ASCII case and are reference-counted, so equal names share one atom while
// any holder keeps it. "#n" (decimal digits) is the integer atom n, taking
// no table entry, when n is 1 to 0xBFFF; any other n fails, as on Windows.
#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "base/ascii.h"
#include "host/host.h"

namespace qstr::host {
namespace {

constexpr uint16_t kFirstStringAtom = 0xC000;
constexpr std::size_t kMaxAtomName = 255;

struct AtomEntry {
  std::string foldedName;
  unsigned references;
};

struct AtomTable {
  std::mutex lock;
  std::map<uint16_t, AtomEntry> byAtom;
  std::map<std::string, uint16_t> byName;
};

AtomTable &atomTable() {
  static AtomTable table;
  return table;
}

std::string foldCase(const char *name) { return base::toAsciiUpper(std::string_view(name)); }

// "#" and decimal digits name an integer atom.
bool isIntegerAtomName(const char *name) {
  if (name[0] != '#' || name[1] == '\0') return false;
  for (const char *p = name + 1; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') return false;
  }
  return true;
}

// The integer atom an integer atom name gives, or 0 when it is out of range.
uint16_t integerAtom(const char *name) {
  unsigned long value = 0;
  for (const char *p = name + 1; *p != '\0'; ++p) {
    value = value * 10 + static_cast<unsigned long>(*p - '0');
    if (value >= kFirstStringAtom) return 0;
  }
  return static_cast<uint16_t>(value);
}

uint16_t freeAtomNumber(const AtomTable &table) {
  for (uint32_t atom = kFirstStringAtom; atom <= 0xFFFF; ++atom) {
    if (table.byAtom.find(static_cast<uint16_t>(atom)) == table.byAtom.end()) {
      return static_cast<uint16_t>(atom);
    }
  }
  return 0;
}

}  // namespace

uint16_t addAtom(const char *name) {
  if (name == nullptr || name[0] == '\0' || std::strlen(name) > kMaxAtomName) return 0;
  if (isIntegerAtomName(name)) return integerAtom(name);
  AtomTable &table = atomTable();
  std::lock_guard<std::mutex> guard(table.lock);
  std::string folded = foldCase(name);
  if (auto found = table.byName.find(folded); found != table.byName.end()) {
    ++table.byAtom[found->second].references;
    return found->second;
  }
  uint16_t atom = freeAtomNumber(table);
  if (atom == 0) return 0;
  table.byAtom[atom] = {folded, 1};
  table.byName[folded] = atom;
  return atom;
}

uint16_t deleteAtom(uint16_t atom) {
  if (atom != 0 && atom < kFirstStringAtom) return 0;
  AtomTable &table = atomTable();
  std::lock_guard<std::mutex> guard(table.lock);
  auto found = table.byAtom.find(atom);
  if (found == table.byAtom.end()) return atom;
  if (--found->second.references == 0) {
    table.byName.erase(found->second.foldedName);
    table.byAtom.erase(found);
  }
  return 0;
}

}  // namespace qstr::host
