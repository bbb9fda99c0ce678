// The byte form of a key's values: an order-preserving, prefix-free code
// whose bytes never start with 0x00, so that 0x00 ends a level and a key
// that runs out sorts first.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qstr::keys {

inline constexpr uint8_t kLevelEnd = 0x00;

// Appends bytes to a caller's buffer, counting those that do not fit.
class KeyWriter {
 public:
  KeyWriter(uint8_t *buffer, size_t size) : buffer_(buffer), size_(size) {}
  void byte(uint8_t b) {
    if (length_ < size_) buffer_[length_] = b;
    ++length_;
  }
  // 0-0xDF: one byte 0x10-0xEF; 0xE0-0xFDF: two bytes, the first 0xF0-0xFE;
  // above: 0xFF and two bytes.
  void value(uint16_t v) {
    if (v < 0xE0) {
      byte(static_cast<uint8_t>(v + 0x10));
    } else if (v < 0xE0 + 0x0F00) {
      const unsigned w = v - 0xE0u;
      byte(static_cast<uint8_t>(0xF0 + (w >> 8)));
      byte(static_cast<uint8_t>(w));
    } else {
      byte(0xFF);
      byte(static_cast<uint8_t>(v >> 8));
      byte(static_cast<uint8_t>(v));
    }
  }
  // A primary value of the one-byte languages: 0-0xFD in one byte
  // 0x01-0xFE, 0xFE and 0xFF as 0xFF and a second byte.
  void primaryByte(uint8_t v) {
    if (v < 0xFE) {
      byte(static_cast<uint8_t>(v + 1));
    } else {
      byte(0xFF);
      byte(static_cast<uint8_t>(v - 0xFD));
    }
  }
  size_t length() const { return length_; }

 private:
  uint8_t *buffer_;
  size_t size_;
  size_t length_ = 0;
};

}  // namespace qstr::keys
