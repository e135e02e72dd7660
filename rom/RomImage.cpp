#include "rom/RomImage.h"

#include <algorithm>
#include <cstring>

namespace rom {

ImageBuffer RomImage;
int romLoaded = 0;
int romModified = 0;
unsigned imageGeneration = 0;

ImageBuffer::ImageBuffer() : bytes_(new std::uint8_t[kRomSize]()) {}

std::uint8_t ImageBuffer::Byte(std::uint32_t offset) const {
  return offset < kRomSize ? bytes_[offset] : 0;
}

void ImageBuffer::SetByte(std::uint32_t offset, std::uint8_t value) {
  if (offset < kRomSize) bytes_[offset] = value;
}

std::uint16_t ImageBuffer::Word(std::uint32_t offset) const {
  // Past the end, offset + 1 would wrap round to the start of the image.
  if (offset >= kRomSize) return 0;
  return static_cast<std::uint16_t>(Byte(offset) | (Byte(offset + 1) << 8));
}

void ImageBuffer::SetWord(std::uint32_t offset, std::uint16_t value) {
  if (offset >= kRomSize) return;
  SetByte(offset, static_cast<std::uint8_t>(value & 0xFF));
  SetByte(offset + 1, static_cast<std::uint8_t>(value >> 8));
}

void ImageBuffer::Assign(const std::uint8_t* bytes, std::uint32_t size) {
  const std::uint32_t n = std::min(size, kRomSize);
  if (n > 0) std::memcpy(bytes_.get(), bytes, n);
  std::fill(bytes_.get() + n, bytes_.get() + kRomSize, std::uint8_t{0});
}

void ImageBuffer::Clear() { std::fill(bytes_.get(), bytes_.get() + kRomSize, std::uint8_t{0}); }

std::uint16_t ReadWordLE(std::uint32_t lowPos, std::uint32_t highPos) {
  return static_cast<std::uint16_t>(RomImage.Byte(lowPos) + 256u * RomImage.Byte(highPos));
}

void ResetRomState() {
  RomImage.Clear();
  romLoaded = 0;
  romModified = 0;
  ++imageGeneration;
}

}  // namespace rom
