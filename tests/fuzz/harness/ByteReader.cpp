#include "tests/fuzz/harness/ByteReader.h"

#include <algorithm>

namespace fuzzing {

std::string ByteReader::Bytes(std::size_t length) {
  const std::size_t n = std::min(length, size_ - std::min(position_, size_));
  if (n == 0) return {};
  std::string out(reinterpret_cast<const char*>(data_ + position_), n);
  position_ += n;
  return out;
}

}  // namespace fuzzing
