// Document streams built item by item, with where each item starts and which ones are characters.
#pragma once

#include <cstdint>
#include <vector>

namespace qstr::test {

class StreamBuilder {
 public:
  StreamBuilder &plain(uint8_t byte) { return item({byte}); }
  StreamBuilder &function(uint8_t code) { return item({code}); }
  StreamBuilder &singleFF() { return item({0xFF}); }
  StreamBuilder &character(uint16_t native) {
    return item({0xF0, static_cast<uint8_t>(native), static_cast<uint8_t>(native >> 8), 0xF0});
  }
  // Codes 0xF1-0xFE; lengths count every byte.
  StreamBuilder &fixedGroup(uint8_t code, uint16_t length, uint8_t fill = 0) {
    std::vector<uint8_t> bytes(length, fill);
    bytes.front() = bytes.back() = code;
    return item(bytes);
  }
  // Codes 0xD0-0xEF, at least 7 bytes, the length stored at both ends.
  StreamBuilder &variableGroup(uint8_t code, uint16_t length, uint8_t byte1 = 0, uint8_t fill = 0) {
    std::vector<uint8_t> bytes(length, fill);
    bytes[0] = bytes[length - 1] = code;
    bytes[1] = byte1;
    bytes[2] = bytes[length - 3] = static_cast<uint8_t>(length);
    bytes[3] = bytes[length - 2] = static_cast<uint8_t>(length >> 8);
    return item(bytes);
  }

  std::vector<uint8_t> bytes() const {  // with the terminator
    std::vector<uint8_t> out = bytes_;
    out.push_back(0);
    return out;
  }
  const std::vector<std::size_t> &starts() const { return starts_; }
  const std::vector<std::size_t> &characterStarts() const { return characters_; }

 private:
  StreamBuilder &item(const std::vector<uint8_t> &bytes) {
    starts_.push_back(bytes_.size());
    if (bytes[0] < 0x80 || bytes[0] == 0xF0) characters_.push_back(bytes_.size());
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
  }

  std::vector<uint8_t> bytes_;
  std::vector<std::size_t> starts_, characters_;
};

}  // namespace qstr::test
