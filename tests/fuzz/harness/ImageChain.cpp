#include "tests/fuzz/harness/ImageChain.h"

namespace fuzzing {
namespace {
constexpr std::uint32_t kOemTablePointer = 0x50;
constexpr std::uint32_t kOemTableLength = 0x10;
}  // namespace

bool Inside(std::uint32_t offset, std::uint32_t length) {
  return std::uint64_t{offset} + length <= rom::kRomSize;
}

std::uint16_t WordAt(std::uint32_t offset) {
  return static_cast<std::uint16_t>(rom::RomImage.Byte(offset) | rom::RomImage.Byte(offset + 1) << 8);
}

std::optional<std::uint32_t> Pointed(std::uint32_t pointer, std::uint32_t length) {
  if (!Inside(pointer, 2)) return std::nullopt;
  const std::uint32_t target = WordAt(pointer);
  if (!Inside(target, length)) return std::nullopt;
  return target;
}

std::optional<std::uint32_t> OemStructure(std::uint32_t entry, std::uint32_t length) {
  const std::optional<std::uint32_t> table = Pointed(kOemTablePointer, kOemTableLength);
  if (!table) return std::nullopt;
  return Pointed(*table + entry, length);
}

void Mark(ByteSet& bytes, std::uint32_t offset, std::uint32_t length) {
  for (std::uint64_t i = offset; i < std::uint64_t{offset} + length && i < rom::kRomSize; ++i) {
    bytes.set(static_cast<std::size_t>(i));
  }
}

}  // namespace fuzzing
