// The link resolver's work buffer over reserved and committed pages.
#include "registry/work_buffer.h"

#include "host/host.h"

namespace qstr::registry {
namespace {

std::size_t roundUpToPage(std::size_t bytes) {
  return (bytes + host::kPageSize - 1) / host::kPageSize * host::kPageSize;
}

}  // namespace

WorkBuffer::~WorkBuffer() {
  if (base_ != nullptr) host::releasePages(base_, reserved_);
}

bool WorkBuffer::Reserve() {
  if (base_ != nullptr) return true;
  base_ = static_cast<uint8_t *>(host::reservePages(kReservedBytes));
  if (base_ == nullptr) return false;
  reserved_ = kReservedBytes;
  if (!host::commitPages(base_, host::kPageSize)) {
    host::releasePages(base_, reserved_);
    base_ = nullptr;
    reserved_ = 0;
    return false;
  }
  committed_ = host::kPageSize;
  return true;
}

uint8_t *WorkBuffer::Take(std::size_t bytes) {
  if (base_ == nullptr || bytes > reserved_ - used_) return nullptr;
  std::size_t end = used_ + bytes;
  if (end > committed_) {
    std::size_t target = roundUpToPage(end);
    if (!host::commitPages(base_ + committed_, target - committed_)) return nullptr;
    committed_ = target;
  }
  uint8_t *taken = base_ + used_;
  used_ = end;
  return taken;
}

void WorkBuffer::GiveBack(std::size_t bytes) { used_ -= bytes < used_ ? bytes : used_; }

void WorkBuffer::TruncateTo(std::size_t used) {
  if (used < used_) used_ = used;
}

}  // namespace qstr::registry
