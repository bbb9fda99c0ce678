// The link resolver's work buffer: 1 MiB of reserved address space,
// committed in 4 KiB pages as the text it holds grows, so that a small
// evaluation touches one page and no evaluation can take more than the
// reservation.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qstr::registry {

class WorkBuffer {
 public:
  static constexpr std::size_t kReservedBytes = 0x100000;

  WorkBuffer() = default;
  WorkBuffer(const WorkBuffer &) = delete;
  WorkBuffer &operator=(const WorkBuffer &) = delete;
  ~WorkBuffer();  // decommits and frees the reservation

  // Reserves the address space and commits the first page. False on failure.
  bool Reserve();

  // Takes `bytes` at the used end and returns their address, committing
  // pages as needed; null when that would pass the reservation or a commit
  // fails (nothing is taken then). Addresses stay valid until the buffer is
  // destroyed: it never moves.
  uint8_t *Take(std::size_t bytes);
  // Moves the used end back by `bytes` (at most the bytes used).
  void GiveBack(std::size_t bytes);
  // Moves the used end back to `used` bytes, when it is past them.
  void TruncateTo(std::size_t used);
  void Reset() { used_ = 0; }

  uint8_t *Base() const { return base_; }
  std::size_t Used() const { return used_; }
  std::size_t Committed() const { return committed_; }

 private:
  uint8_t *base_ = nullptr;
  std::size_t reserved_ = 0;
  std::size_t used_ = 0;
  std::size_t committed_ = 0;
};

}  // namespace qstr::registry
