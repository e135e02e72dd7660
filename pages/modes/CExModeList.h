#pragma once
// The adapter's extended mode list and extended register table, found through
// the save pointer tables of the image.

#include <cstdint>
#include <string>
#include <vector>

#include "rom/RomLayout.h"

class CExModeList {
 public:
  static constexpr std::uint32_t kRecordSize = 14;
  // The bytes of the tables on the way that Locate() reads.
  static constexpr std::uint32_t kSavePointerTableSize = 0x12;
  static constexpr std::uint32_t kSecondaryTableSize = 0x18;
  static constexpr std::uint32_t kModeHeaderSize = 6;
  // The first 15 records of the list are the standard modes; the page skips them.
  static constexpr std::uint32_t kSkippedBytes = 15 * kRecordSize;
  static constexpr std::uint8_t kEndByte = 0xFF;
  static constexpr int kMemoryModelCount = 11;

  // The save pointer table as far as the editor reads it: the parameter table's
  // pointer and the secondary table's. Both chains ask for the same bytes, so one
  // damaged table gives one and the same message.
  static rom::Located SavePointerTable();
  // Walks save pointer table -> secondary save pointer table -> ExModeInfo.
  // False, with error() naming the step, when one of them lies outside the image.
  bool Locate();
  // The image offsets of the records before the end byte. False, with no
  // record and error() set, when the end byte is not inside the image.
  bool Scan(std::vector<std::uint32_t>& records);

  std::uint32_t secondaryTable() const { return secondaryTable_; }
  std::uint32_t modeHeader() const { return modeHeader_; }
  std::uint32_t exRegTable() const { return exRegTable_; }
  std::uint32_t exModeList() const { return exModeList_; }
  const std::string& error() const { return error_; }

  static std::uint8_t ModeIndex(std::uint32_t record);
  static int MemoryModel(std::uint32_t record);
  // "Mode 101h - 640x480 8 BPP graphics (8x16)"; an unknown memory model is shown by its number.
  static std::string RowText(std::uint32_t record);

 private:
  std::uint32_t secondaryTable_ = 0;
  std::uint32_t modeHeader_ = 0;
  std::uint32_t exRegTable_ = 0;
  std::uint32_t exModeList_ = 0;
  std::string error_;
};
