// The one way a received datagram is read: by offset, bounds-checked against
// the received length, never by casting the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace lumora {

class ByteReader {
 public:
  ByteReader(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::size_t size() const { return size_; }
  bool Has(std::size_t offset) const { return offset < size_; }

  // The byte at `offset`; the caller checks Has(offset) first.
  uint8_t At(std::size_t offset) const { return data_[offset]; }

  bool StartsWith(const uint8_t* prefix, std::size_t count) const {
    return size_ >= count && std::memcmp(data_, prefix, count) == 0;
  }

  // Copies `count` bytes from `offset` into `out`; bytes at or beyond the end
  // of the data are no part of it and read as zero.
  void CopyZeroPadded(std::size_t offset, std::size_t count, uint8_t* out) const {
    std::memset(out, 0, count);
    if (offset >= size_) return;
    std::size_t available = size_ - offset;
    std::memcpy(out, data_ + offset, count < available ? count : available);
  }

 private:
  const uint8_t* data_;
  std::size_t size_;
};

}  // namespace lumora
