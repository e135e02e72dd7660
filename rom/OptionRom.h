#pragma once
// An option ROM of any length as its file holds it: the length its header declares
// (byte 2, in blocks of 512 bytes), the checksum over that length in its last byte,
// and whatever the file holds past it, which is kept as it is.

#include <cstdint>
#include <string>
#include <vector>

#include "rom/ImageBytes.h"

namespace rom {

class OptionRom {
 public:
  static constexpr std::uint32_t kBlockSize = 512;
  static constexpr std::uint32_t kLengthOffset = 2;

  explicit OptionRom(std::vector<std::uint8_t> file) : file_(std::move(file)) {}

  const std::vector<std::uint8_t>& file() const { return file_; }
  bool HasSignature() const { return file_.size() >= 2 && file_[0] == 0x55 && file_[1] == 0xAA; }
  std::uint32_t DeclaredBlocks() const { return file_.size() > kLengthOffset ? file_[kLengthOffset] : 0; }
  std::uint32_t DeclaredLength() const { return DeclaredBlocks() * kBlockSize; }
  // Why the file holds no whole option ROM (no 55 AA, no length, shorter than
  // declared), naming both lengths; empty when it holds one.
  std::string LengthProblem() const;
  // LengthProblem, or a checksum that is wrong; empty for a valid option ROM.
  std::string Problem() const;

  // The bytes of the declared length; only when LengthProblem() is empty.
  ImageBytes Image() { return ImageBytes(file_.data(), DeclaredLength()); }
  std::uint32_t ChecksumOffset() const { return DeclaredLength() - 1; }
  std::uint8_t StoredChecksum() const { return file_[ChecksumOffset()]; }
  // The byte that makes the declared length add up to 0 modulo 256.
  std::uint8_t ComputedChecksum() const;
  void FixChecksum() { file_[ChecksumOffset()] = ComputedChecksum(); }

 private:
  std::vector<std::uint8_t> file_;
};

}  // namespace rom
