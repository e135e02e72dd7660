#pragma once
// A run of image bytes whose every position is checked: the 32 KB of RomImage, or
// the declared length of an option ROM of any size. It does not own the bytes.

#include <cstdint>

namespace rom {

class ImageBytes {
 public:
  ImageBytes(std::uint8_t* data, std::uint32_t size) : data_(data), size_(size) {}

  std::uint32_t size() const { return size_; }
  bool Contains(std::uint32_t offset, std::uint32_t length) const {
    return offset <= size_ && length <= size_ - offset;
  }
  // Outside the bytes a read gives 0 and a write does nothing; callers check whole
  // structures with Contains() first and refuse them as a whole.
  std::uint8_t Byte(std::uint32_t offset) const { return offset < size_ ? data_[offset] : 0; }
  std::uint16_t Word(std::uint32_t offset) const {
    return offset < size_ ? static_cast<std::uint16_t>(Byte(offset) | Byte(offset + 1) << 8) : 0;
  }
  void SetByte(std::uint32_t offset, std::uint8_t value) {
    if (offset < size_) data_[offset] = value;
  }
  const std::uint8_t* data() const { return data_; }

 private:
  std::uint8_t* data_;
  std::uint32_t size_;
};

}  // namespace rom
