#include "rom/ModeTables.h"

#include "rom/RomImage.h"
#include "rom/ValueText.h"

namespace rom {
namespace {
// Only the offset words of these far pointers are followed.
constexpr std::uint32_t kParameterTablePointer = 0;
constexpr std::uint32_t kSecondarySavePointer = 0x10;
constexpr std::uint32_t kExModeInfoPointer = 0x16;
constexpr std::uint32_t kExRegTablePointer = 0;
constexpr std::uint32_t kExModeListPointer = 4;
static_assert(kSavePointerTableSize == kSecondarySavePointer + 2);
static_assert(kSecondaryTableSize == kExModeInfoPointer + 2);
static_assert(kModeHeaderSize == kExModeListPointer + 2);
}  // namespace

Located SavePointerTable() {
  return FollowOemEntry(OemEntry::kSavePointerTable, "save pointer table", kSavePointerTableSize);
}

Located ParameterTable() {
  Located save = SavePointerTable();
  if (!save) return save;
  save.offset = ReadWordLE(save.offset + kParameterTablePointer, save.offset + kParameterTablePointer + 1);
  return save;
}

Located ParameterRecord(int index) {
  const Located table = ParameterTable();
  if (!table) return table;
  return Within("video parameter record " + std::to_string(index),
                table.offset + kParameterRecordSize * static_cast<std::uint32_t>(index), kParameterRecordSize);
}

Located ExRegRecord(std::uint32_t table, int modeIndex) {
  return Within("extended register record " + HexText(static_cast<std::uint32_t>(modeIndex), 2) + "h",
                table + kExRegRecordSize * static_cast<std::uint32_t>(modeIndex), kExRegRecordSize);
}

int ResolveParamIndex(std::uint32_t exRegTable, std::uint8_t modeIndex) {
  const Located record = ExRegRecord(exRegTable, modeIndex);
  if (!record) return 0;
  const std::uint8_t index = RomImage.Byte(record.offset + 2);
  return index != 0 ? index : modeIndex;
}

bool ExModeTables::Locate() {
  const Located save = SavePointerTable();
  if (!save) {
    error_ = save.error;
    return false;
  }
  const Located secondary =
      FollowPointer(save.offset + kSecondarySavePointer, "secondary save pointer table", kSecondaryTableSize);
  if (!secondary) {
    error_ = secondary.error;
    return false;
  }
  const Located info = FollowPointer(secondary.offset + kExModeInfoPointer, "extended mode header", kModeHeaderSize);
  if (!info) {
    error_ = info.error;
    return false;
  }
  saveTable_ = save.offset;
  secondaryTable_ = secondary.offset;
  modeHeader_ = info.offset;
  exRegTable_ = ReadWordLE(info.offset + kExRegTablePointer, info.offset + kExRegTablePointer + 1);
  exModeList_ = ReadWordLE(info.offset + kExModeListPointer, info.offset + kExModeListPointer + 1);
  return true;
}

bool ExModeTables::Scan(std::vector<std::uint32_t>& records) {
  records.clear();
  std::uint32_t p = exModeList_ + kSkippedExModeBytes;
  // A record is read only when it lies wholly inside the image, its end byte included.
  while (ImageBuffer::Contains(p, 1) && RomImage.Byte(p) != kExModeListEnd) {
    if (!ImageBuffer::Contains(p, kExModeRecordSize)) break;
    records.push_back(p);
    p += kExModeRecordSize;
  }
  if (ImageBuffer::Contains(p, 1) && RomImage.Byte(p) == kExModeListEnd) return true;
  records.clear();
  error_ = "The extended mode list at offset " + HexText(exModeList_, 4) +
           "h has no end byte FFh inside the 32 KB image. No extended mode was listed.";
  return false;
}

std::uint8_t ExModeTables::ModeIndex(std::uint32_t record) {
  return RomImage.Byte(record + 1);
}

int ExModeTables::MemoryModel(std::uint32_t record) {
  return RomImage.Byte(record + 4);
}

}  // namespace rom
