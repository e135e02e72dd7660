#pragma once
// Takes a fuzz input apart byte by byte; past its end every byte reads as 0.

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzing {

class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool empty() const { return position_ >= size_; }
  std::uint8_t Byte() { return empty() ? 0 : data_[position_++]; }
  // `length` bytes, fewer at the end of the input.
  std::string Bytes(std::size_t length);

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

}  // namespace fuzzing
