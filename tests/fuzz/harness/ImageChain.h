#pragma once
// Where the image's structures lie, worked out here on its own rather than by
// the pages' code, so that the fuzz runs can judge what the pages did.

#include <bitset>
#include <cstdint>
#include <optional>

#include "rom/RomImage.h"

namespace fuzzing {

// One bit per byte of the image.
using ByteSet = std::bitset<rom::kRomSize>;

// [offset, offset + length) lies wholly inside the image.
bool Inside(std::uint32_t offset, std::uint32_t length);
std::uint16_t WordAt(std::uint32_t offset);
// The structure of `length` bytes that the word at `pointer` points to, when
// both the word and the structure lie inside the image.
std::optional<std::uint32_t> Pointed(std::uint32_t pointer, std::uint32_t length);
// The structure that entry `entry` (a byte offset) of the OEM pointer table points to.
std::optional<std::uint32_t> OemStructure(std::uint32_t entry, std::uint32_t length);
// Marks the bytes of [offset, offset + length) that lie inside the image.
void Mark(ByteSet& bytes, std::uint32_t offset, std::uint32_t length);

}  // namespace fuzzing
