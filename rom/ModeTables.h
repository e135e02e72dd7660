#pragma once
// The mode tables of the image: the video parameter table of 64-byte register
// records, and the adapter's extended mode list and extended register table,
// all found through the save pointer tables.

#include <cstdint>
#include <string>
#include <vector>

#include "rom/RomLayout.h"

namespace rom {

inline constexpr std::uint32_t kParameterRecordSize = 64;
// The records of the standard VGA modes, 0 to 28; extended modes may use more.
inline constexpr int kStandardParameterRecords = 29;
inline constexpr std::uint32_t kExRegRecordSize = 5;
inline constexpr std::uint32_t kExModeRecordSize = 14;
// The bytes of the tables on the way that the editor reads.
inline constexpr std::uint32_t kSavePointerTableSize = 0x12;
inline constexpr std::uint32_t kSecondaryTableSize = 0x18;
inline constexpr std::uint32_t kModeHeaderSize = 6;
// The first 15 records of the extended mode list are the standard modes; the editor skips them.
inline constexpr std::uint32_t kSkippedExModeBytes = 15 * kExModeRecordSize;
inline constexpr std::uint8_t kExModeListEnd = 0xFF;
// Bits 6 and 7 of an extended register record's flags byte have no meaning the editor knows.
inline constexpr std::uint8_t kUnusedExFlagBits = 0xC0;

// The save pointer table as far as the editor reads it: the parameter table's
// pointer and the secondary table's. Every chain through it asks for the same
// bytes, so one damaged table gives one and the same message.
Located SavePointerTable();

// Where the video parameter table begins (the offset word at the start of the
// save pointer table), or why it cannot be found. The table's own length is not
// in the image: each record is checked on its own.
Located ParameterTable();

// Record `index` of the video parameter table.
Located ParameterRecord(int index);

// Record `modeIndex` of the extended register table at `table`.
Located ExRegRecord(std::uint32_t table, int modeIndex);

// The parameter record that mode index `modeIndex` uses: byte 2 of its extended
// register record when that is not 0, else the mode index itself; 0 when the
// record lies outside the image.
int ResolveParamIndex(std::uint32_t exRegTable, std::uint8_t modeIndex);

// The chain save pointer table -> secondary save pointer table -> extended mode
// header, and the two tables the header points to.
class ExModeTables {
 public:
  // False, with error() naming the step, when a table on the way lies outside the image.
  bool Locate();
  // The offsets of the extended mode records, from the 16th record of the list up
  // to the end byte. False, with no record and error() set, when the end byte is
  // not inside the image.
  bool Scan(std::vector<std::uint32_t>& records);

  std::uint32_t saveTable() const { return saveTable_; }
  std::uint32_t secondaryTable() const { return secondaryTable_; }
  std::uint32_t modeHeader() const { return modeHeader_; }
  std::uint32_t exRegTable() const { return exRegTable_; }
  std::uint32_t exModeList() const { return exModeList_; }
  const std::string& error() const { return error_; }

  // Byte 1 of an extended mode record: its extended register record, and its parameter record by default.
  static std::uint8_t ModeIndex(std::uint32_t record);
  static int MemoryModel(std::uint32_t record);

 private:
  std::uint32_t saveTable_ = 0;
  std::uint32_t secondaryTable_ = 0;
  std::uint32_t modeHeader_ = 0;
  std::uint32_t exRegTable_ = 0;
  std::uint32_t exModeList_ = 0;
  std::string error_;
};

}  // namespace rom
