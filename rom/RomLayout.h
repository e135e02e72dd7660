#pragma once
// Finding the structures of the image through its pointer words, with every
// position checked against the 32 KB (or, for the fonts of an option ROM of any
// length, against its declared length) before anything is read or written.

#include <cstdint>
#include <string>

#include "rom/ImageBytes.h"
#include "rom/RomImage.h"

namespace rom {

inline constexpr std::uint32_t kRomHeaderSize = 3;
inline constexpr std::uint32_t kSignatureTextOffset = 0x40;
inline constexpr std::uint32_t kSignatureTextLength = 16;
inline constexpr std::uint32_t kOemPointerWordOffset = 0x50;
inline constexpr std::uint32_t kSubsystemVendorIdOffset = 0x7FF8;
inline constexpr std::uint32_t kSubsystemDeviceIdOffset = 0x7FFA;
inline constexpr std::uint32_t kSubsystemIdsSize = 4;
// The memory configuration record: nine 32-bit registers.
inline constexpr int kMemoryRegisterCount = 9;
inline constexpr std::uint32_t kMemoryConfigSize = 4 * kMemoryRegisterCount;
// The sign-on record begins with the length word of its text.
inline constexpr std::uint32_t kSignOnHeaderSize = 2;

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
  // The structure that did not fit: the one asked for, or a table on the way to it.
  std::string failed;
  explicit operator bool() const { return error.empty(); }
};

// Bytes of the image, and of each the bits that matter.
struct ByteSpan {
  std::uint32_t offset = 0;
  std::uint32_t length = 0;
  std::uint8_t mask = 0xFF;
  bool Holds(std::uint32_t at) const { return at >= offset && at - offset < length; }
};

// The message for a structure of `length` bytes at `offset` that does not fit in an image of `imageSize` bytes.
std::string OutsideImageMessage(const std::string& structure, std::uint32_t offset, std::uint32_t length,
                                std::uint32_t imageSize = kRomSize);

// A structure of `length` bytes at `offset`, refused unless it lies wholly inside the image.
Located Within(const std::string& structure, std::uint32_t offset, std::uint32_t length);
Located Within(const ImageBytes& image, const std::string& structure, std::uint32_t offset, std::uint32_t length);

// Follows the pointer word at `pointerOffset` (itself checked) to a structure of `length` bytes.
Located FollowPointer(std::uint32_t pointerOffset, const std::string& structure, std::uint32_t length);
Located FollowPointer(const ImageBytes& image, std::uint32_t pointerOffset, const std::string& structure,
                      std::uint32_t length);

// The OEM pointer table, through the word at 0x50.
Located OemPointerTable();
Located OemPointerTable(const ImageBytes& image);

// The structure that an entry of the OEM pointer table points to.
Located FollowOemEntry(OemEntry entry, const std::string& structure, std::uint32_t length);
Located FollowOemEntry(const ImageBytes& image, OemEntry entry, const std::string& structure, std::uint32_t length);

// The memory configuration record.
Located MemoryConfigRecord();

// The sign-on record with the text its length word gives it; `textLength` is
// that length when the word could be read.
Located SignOnRecord(std::uint32_t& textLength);

}  // namespace rom
