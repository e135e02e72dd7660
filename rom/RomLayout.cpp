#include "rom/RomLayout.h"

#include "rom/RomImage.h"
#include "rom/ValueText.h"

namespace rom {

std::string OutsideImageMessage(const std::string& structure, std::uint32_t offset, std::uint32_t length,
                                std::uint32_t imageSize) {
  const std::string image =
      imageSize == kRomSize ? "the 32 KB image" : "the image's " + std::to_string(imageSize) + " bytes";
  return "The " + structure + " at offset " + HexText(offset, 4) + "h (" + std::to_string(length) +
         " bytes) reaches past the end of " + image + ". Nothing was read or written.";
}

Located Within(const ImageBytes& image, const std::string& structure, std::uint32_t offset, std::uint32_t length) {
  Located located;
  located.offset = offset;
  if (!image.Contains(offset, length)) {
    located.error = OutsideImageMessage(structure, offset, length, image.size());
    located.failed = structure;
  }
  return located;
}

Located Within(const std::string& structure, std::uint32_t offset, std::uint32_t length) {
  return Within(RomImage.View(), structure, offset, length);
}

Located FollowPointer(const ImageBytes& image, std::uint32_t pointerOffset, const std::string& structure,
                      std::uint32_t length) {
  Located pointer = Within(image, "pointer to the " + structure, pointerOffset, 2);
  if (!pointer) return pointer;
  return Within(image, structure, image.Word(pointerOffset), length);
}

Located FollowPointer(std::uint32_t pointerOffset, const std::string& structure, std::uint32_t length) {
  return FollowPointer(RomImage.View(), pointerOffset, structure, length);
}

Located OemPointerTable(const ImageBytes& image) {
  return FollowPointer(image, kOemPointerWordOffset, "OEM pointer table", kOemPointerTableSize);
}

Located OemPointerTable() {
  return OemPointerTable(RomImage.View());
}

Located FollowOemEntry(const ImageBytes& image, OemEntry entry, const std::string& structure, std::uint32_t length) {
  const Located table = OemPointerTable(image);
  if (!table) return table;
  return FollowPointer(image, table.offset + static_cast<std::uint32_t>(entry), structure, length);
}

Located FollowOemEntry(OemEntry entry, const std::string& structure, std::uint32_t length) {
  return FollowOemEntry(RomImage.View(), entry, structure, length);
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
