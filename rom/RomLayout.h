#pragma once
// Finding the structures of the image through its pointer words, with every
// position checked against the 32 KB before anything is read or written.

#include <cstdint>
#include <string>

namespace rom {

inline constexpr std::uint32_t kSignatureTextOffset = 0x40;
inline constexpr std::uint32_t kOemPointerWordOffset = 0x50;
inline constexpr std::uint32_t kSubsystemVendorIdOffset = 0x7FF8;
inline constexpr std::uint32_t kSubsystemDeviceIdOffset = 0x7FFA;

// Entries of the OEM pointer table.
enum class OemEntry : std::uint32_t {
  kMemoryConfig = 0x00,
  kSavePointerTable = 0x02,
  kFont8x8 = 0x04,
  kFont8x14 = 0x06,
  kFont8x16 = 0x08,
  kFixup9x14 = 0x0A,
  kFixup9x16 = 0x0C,
  kSignOn = 0x0E,
};
inline constexpr std::uint32_t kOemPointerTableSize = 0x10;

// Where a structure lies, or why it cannot be used.
struct Located {
  std::uint32_t offset = 0;
  std::string error;  // empty when the structure lies wholly inside the image
  explicit operator bool() const { return error.empty(); }
};

// The message for a structure of `length` bytes at `offset` that does not fit in the image.
std::string OutsideImageMessage(const std::string& structure, std::uint32_t offset, std::uint32_t length);

// A structure of `length` bytes at `offset`, refused unless it lies wholly inside the image.
Located Within(const std::string& structure, std::uint32_t offset, std::uint32_t length);

// Follows the pointer word at `pointerOffset` (itself checked) to a structure of `length` bytes.
Located FollowPointer(std::uint32_t pointerOffset, const std::string& structure, std::uint32_t length);

// The OEM pointer table, through the word at 0x50.
Located OemPointerTable();

// The structure that an entry of the OEM pointer table points to.
Located FollowOemEntry(OemEntry entry, const std::string& structure, std::uint32_t length);

}  // namespace rom
