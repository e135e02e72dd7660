#include "rom/RomLayout.h"

#include "rom/RomImage.h"
#include "rom/ValueText.h"

namespace rom {

std::string OutsideImageMessage(const std::string& structure, std::uint32_t offset, std::uint32_t length) {
  return "The " + structure + " at offset " + HexText(offset, 4) + "h (" + std::to_string(length) +
         " bytes) reaches past the end of the 32 KB image. Nothing was read or written.";
}

Located Within(const std::string& structure, std::uint32_t offset, std::uint32_t length) {
  Located located;
  located.offset = offset;
  if (!ImageBuffer::Contains(offset, length)) {
    located.error = OutsideImageMessage(structure, offset, length);
    located.failed = structure;
  }
  return located;
}

Located FollowPointer(std::uint32_t pointerOffset, const std::string& structure, std::uint32_t length) {
  Located pointer = Within("pointer to the " + structure, pointerOffset, 2);
  if (!pointer) return pointer;
  return Within(structure, ReadWordLE(pointerOffset, pointerOffset + 1), length);
}

Located OemPointerTable() {
  return FollowPointer(kOemPointerWordOffset, "OEM pointer table", kOemPointerTableSize);
}

Located FollowOemEntry(OemEntry entry, const std::string& structure, std::uint32_t length) {
  const Located table = OemPointerTable();
  if (!table) return table;
  return FollowPointer(table.offset + static_cast<std::uint32_t>(entry), structure, length);
}

Located MemoryConfigRecord() {
  return FollowOemEntry(OemEntry::kMemoryConfig, "memory configuration record", kMemoryConfigSize);
}

Located SignOnRecord(std::uint32_t& textLength) {
  const std::string name = "sign-on record";
  const Located header = FollowOemEntry(OemEntry::kSignOn, name, kSignOnHeaderSize);
  if (!header) return header;
  textLength = ReadWordLE(header.offset, header.offset + 1);
  return Within(name, header.offset, kSignOnHeaderSize + textLength);
}

}  // namespace rom
