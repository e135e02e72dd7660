#include "pages/modes/CExModeList.h"

#include <cstdio>

#include "pages/modes/ModeNames.h"
#include "rom/RomImage.h"
#include "rom/RomLayout.h"
#include "rom/ValueText.h"

namespace {
// Only the offset words of these far pointers are followed.
constexpr std::uint32_t kSecondarySavePointer = 0x10;
constexpr std::uint32_t kExModeInfoPointer = 0x16;
constexpr std::uint32_t kExRegTablePointer = 0;
constexpr std::uint32_t kExModeListPointer = 4;
static_assert(CExModeList::kSavePointerTableSize == kSecondarySavePointer + 2);
static_assert(CExModeList::kSecondaryTableSize == kExModeInfoPointer + 2);
static_assert(CExModeList::kModeHeaderSize == kExModeListPointer + 2);
}  // namespace

rom::Located CExModeList::SavePointerTable() {
  return rom::FollowOemEntry(rom::OemEntry::kSavePointerTable, "save pointer table", kSavePointerTableSize);
}

bool CExModeList::Locate() {
  const rom::Located save = SavePointerTable();
  if (!save) {
    error_ = save.error;
    return false;
  }
  const rom::Located secondary =
      rom::FollowPointer(save.offset + kSecondarySavePointer, "secondary save pointer table", kSecondaryTableSize);
  if (!secondary) {
    error_ = secondary.error;
    return false;
  }
  const rom::Located info =
      rom::FollowPointer(secondary.offset + kExModeInfoPointer, "extended mode header", kModeHeaderSize);
  if (!info) {
    error_ = info.error;
    return false;
  }
  secondaryTable_ = secondary.offset;
  modeHeader_ = info.offset;
  exRegTable_ = rom::ReadWordLE(info.offset + kExRegTablePointer, info.offset + kExRegTablePointer + 1);
  exModeList_ = rom::ReadWordLE(info.offset + kExModeListPointer, info.offset + kExModeListPointer + 1);
  return true;
}

bool CExModeList::Scan(std::vector<std::uint32_t>& records) {
  records.clear();
  std::uint32_t p = exModeList_ + kSkippedBytes;
  // A record is read only when it lies wholly inside the image, its end byte included.
  while (rom::ImageBuffer::Contains(p, 1) && rom::RomImage.Byte(p) != kEndByte) {
    if (!rom::ImageBuffer::Contains(p, kRecordSize)) break;
    records.push_back(p);
    p += kRecordSize;
  }
  if (rom::ImageBuffer::Contains(p, 1) && rom::RomImage.Byte(p) == kEndByte) return true;
  records.clear();
  error_ = "The extended mode list at offset " + rom::HexText(exModeList_, 4) +
           "h has no end byte FFh inside the 32 KB image. No extended mode was listed.";
  return false;
}

std::uint8_t CExModeList::ModeIndex(std::uint32_t record) {
  return rom::RomImage.Byte(record + 1);
}

int CExModeList::MemoryModel(std::uint32_t record) {
  return rom::RomImage.Byte(record + 4);
}

std::string CExModeList::RowText(std::uint32_t record) {
  const int model = MemoryModel(record);
  const std::string modelName = model < kMemoryModelCount ? MemoryModelNames[static_cast<std::size_t>(model)]
                                                          : "memory model " + std::to_string(model);
  char text[128];
  std::snprintf(text, sizeof text, "Mode %Xh - %ux%u %s (8x%u)",
                static_cast<unsigned>(rom::ReadWordLE(record + 2, record + 3)),
                static_cast<unsigned>(rom::ReadWordLE(record + 7, record + 8)),
                static_cast<unsigned>(rom::ReadWordLE(record + 9, record + 10)), modelName.c_str(),
                static_cast<unsigned>(rom::RomImage.Byte(record + 13)));
  return text;
}
