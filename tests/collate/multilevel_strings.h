// Native strings for the collation tests, written as ASCII text with the
// other units spelled out.
#pragma once

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

namespace qstr::test {

// A native string: each piece is either ASCII text or one unit; the
// terminator is appended.
struct Piece {
  Piece(const char *text) : text(text) {}  // NOLINT: implicit on purpose
  Piece(int unit) : unit(static_cast<uint16_t>(unit)) {}  // NOLINT
  const char *text = nullptr;
  uint16_t unit = 0;
};

class Native {
 public:
  Native(std::initializer_list<Piece> pieces) {
    for (const Piece &piece : pieces) {
      if (piece.text == nullptr) {
        units_.push_back(piece.unit);
        continue;
      }
      for (const char *p = piece.text; *p; ++p) units_.push_back(static_cast<uint8_t>(*p));
    }
    units_.push_back(0);
  }
  explicit Native(std::vector<uint16_t> units) : units_(std::move(units)) {
    if (units_.empty() || units_.back() != 0) units_.push_back(0);
  }
  const uint16_t *get() const { return units_.data(); }
  const std::vector<uint16_t> &units() const { return units_; }
  std::string describe() const {
    std::string out;
    for (uint16_t u : units_) {
      if (u == 0) break;
      if (u >= 0x21 && u < 0x7F) {
        out += static_cast<char>(u);
      } else {
        char buf[8];
        snprintf(buf, sizeof buf, "<%04X>", u);
        out += buf;
      }
    }
    return out;
  }

 private:
  std::vector<uint16_t> units_;
};

}  // namespace qstr::test
