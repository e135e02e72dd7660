#include "rom/ImageMap.h"

#include <algorithm>

#include "rom/FontLayout.h"
#include "rom/ModeTables.h"
#include "rom/RomImage.h"
#include "rom/RomLayout.h"
#include "rom/ValueText.h"

namespace rom {
namespace {

using Parts = MappedStructure::Parts;

MappedStructure Fixed(const std::string& name, std::uint32_t offset, std::uint32_t length, bool shown = false) {
  MappedStructure s;
  s.name = name;
  s.offset = offset;
  s.length = length;
  s.shownByFields = shown;
  return s;
}

// A structure found at `at`, `length` bytes long. When a table on the way to it lies outside the
// image, where it is is not known; when it reaches past the end itself, its bytes inside are its own.
MappedStructure Found(const std::string& name, const Located& at, std::uint32_t length, bool shown = false) {
  MappedStructure s = Fixed(name, at.offset, length, shown);
  s.problem = at.error;
  s.located = at || at.failed == name;
  return s;
}

MappedStructure Records(MappedStructure s, Parts parts, std::uint32_t recordSize, const std::string& recordName) {
  s.parts = parts;
  s.recordSize = recordSize;
  s.recordName = recordName;
  return s;
}

// The parameter records that the extended modes use and their extended register records.
struct ModeRecords {
  int lastParamRecord = kStandardParameterRecords - 1;
  int lastExRegRecord = kStandardParameterRecords - 1;
};

void AddModeTables(ImageMap& map) {
  const Located save = SavePointerTable();
  map.structures.push_back(Found("save pointer table", save, kSavePointerTableSize));

  ExModeTables tables;
  std::vector<std::uint32_t> records;
  const bool located = tables.Locate();
  const bool scanned = located && tables.Scan(records);
  ModeRecords used;
  for (const std::uint32_t record : records) {
    const std::uint8_t modeIndex = ExModeTables::ModeIndex(record);
    used.lastExRegRecord = std::max<int>(used.lastExRegRecord, modeIndex);
    used.lastParamRecord = std::max(used.lastParamRecord, ResolveParamIndex(tables.exRegTable(), modeIndex));
  }
  map.extendedModes = static_cast<int>(records.size());

  if (save) {
    const std::uint32_t length = kParameterRecordSize * static_cast<std::uint32_t>(used.lastParamRecord + 1);
    const Located table = ParameterTable();
    map.structures.push_back(
        Records(Found("video parameter table", Within("video parameter table", table.offset, length), length, true),
                Parts::kRecords, kParameterRecordSize, "video parameter record"));
  }
  if (!located) {
    MappedStructure broken = Fixed("extended modes", 0, 0);
    broken.located = false;
    broken.problem = tables.error();
    map.structures.push_back(broken);
    return;
  }
  map.structures.push_back(Fixed("secondary save pointer table", tables.secondaryTable(), kSecondaryTableSize));
  map.structures.push_back(Fixed("extended mode header", tables.modeHeader(), kModeHeaderSize));
  const std::uint32_t exRegLength = kExRegRecordSize * static_cast<std::uint32_t>(used.lastExRegRecord + 1);
  map.structures.push_back(
      Records(Found("extended register table", Within("extended register table", tables.exRegTable(), exRegLength),
                    exRegLength, true),
              Parts::kHexRecords, kExRegRecordSize, "extended register record"));
  MappedStructure list = Fixed("extended mode list", tables.exModeList(), 0);
  if (scanned) {
    const std::uint32_t end =
        records.empty() ? tables.exModeList() + kSkippedExModeBytes : records.back() + kExModeRecordSize;
    list.length = end + 1 - tables.exModeList();
  } else {
    list.problem = tables.error();
    list.located = ImageBuffer::Contains(tables.exModeList(), 1);
    list.length = kRomSize - std::min(tables.exModeList(), kRomSize);
  }
  map.structures.push_back(Records(list, Parts::kListRecords, kExModeRecordSize, "extended mode record"));
}

int FixupCount(const FontKind& kind) {
  std::uint32_t table = 0;
  std::string error;
  int count = 0;
  if (!FontWord(kind.entry, table, error)) return 0;
  ScanFixups(table, kind.height, [&](std::uint32_t, std::uint32_t, std::uint8_t) { return ++count, true; });
  return count;
}

void AddFonts(ImageMap& map) {
  for (const FontKind& kind : kFontKinds) {
    const auto height = static_cast<std::uint32_t>(kind.height);
    if (!kind.fixup) {
      const std::string name = std::string(kind.name) + " font";
      const std::uint32_t length = kFullFontGlyphs * height;
      map.structures.push_back(Records(Found(name, LocateFullFont(kind), length, true), Parts::kGlyphs, height, name));
      continue;
    }
    const int count = FixupCount(kind);
    (kind.height == 14 ? map.fixups9x14 : map.fixups9x16) = count;
    // A fix-up record is its code and its rows; a 00 code ends the table.
    const std::string name = std::string(kind.name) + " fix-up table";
    const std::uint32_t length = static_cast<std::uint32_t>(count) * (height + 1) + 1;
    map.structures.push_back(Records(Found(name, FollowOemEntry(kind.entry, name, length), length, true),
                                     Parts::kFixupRecords, height + 1, std::string(kind.name) + " fix-up record"));
  }
}

std::string Hex2(std::uint32_t value) {
  return HexText(value, 2) + "h";
}

}  // namespace

std::string MappedByte::Owner() const {
  if (structure == nullptr) return "";
  if (record < 0) return structure->name;
  const auto k = static_cast<std::uint32_t>(record);
  switch (structure->parts) {
    case Parts::kHexRecords: return structure->recordName + " " + Hex2(k);
    case Parts::kGlyphs: return structure->recordName + ", glyph " + Hex2(k);
    default: return structure->recordName + " " + std::to_string(k);
  }
}

std::string MappedByte::Place() const {
  if (structure == nullptr) return "";
  if (record < 0) {
    if (structure->parts == Parts::kListRecords || structure->parts == Parts::kFixupRecords) return "end byte";
    return structure->length == 1 ? "" : "byte " + Hex2(byte);
  }
  switch (structure->parts) {
    case Parts::kGlyphs: return "row " + std::to_string(byte);
    case Parts::kFixupRecords: return byte == 0 ? "code" : "row " + std::to_string(byte - 1);
    default: return "byte " + Hex2(byte);
  }
}

MappedByte ImageMap::At(std::uint32_t offset) const {
  MappedByte at;
  for (const MappedStructure& s : structures) {
    if (!s.located || offset < s.offset || offset - s.offset >= s.length) continue;
    at.structure = &s;
    at.byte = offset - s.offset;
    const bool records = s.parts != Parts::kBytes && s.recordSize > 0;
    // The end byte of a list or a fix-up table follows its last record.
    const bool endByte = (s.parts == Parts::kListRecords || s.parts == Parts::kFixupRecords) && at.byte + 1 == s.length;
    if (records && !endByte) {
      at.record = static_cast<int>(at.byte / s.recordSize);
      at.byte %= s.recordSize;
    }
    return at;
  }
  return at;
}

ImageMap MapImage() {
  ImageMap map;
  map.structures.push_back(Fixed("ROM header", 0, kRomHeaderSize));
  map.structures.push_back(Fixed("ROM signature text", kSignatureTextOffset, kSignatureTextLength, true));
  map.structures.push_back(Fixed("OEM pointer word", kOemPointerWordOffset, 2));
  map.structures.push_back(Found("OEM pointer table", OemPointerTable(), kOemPointerTableSize));
  map.structures.push_back(Found("memory configuration record", MemoryConfigRecord(), kMemoryConfigSize, true));
  std::uint32_t textLength = 0;
  const Located signOn = SignOnRecord(textLength);
  map.structures.push_back(Found("sign-on record", signOn, kSignOnHeaderSize + textLength, true));
  AddModeTables(map);
  AddFonts(map);
  map.structures.push_back(Fixed("subsystem vendor and device IDs", kSubsystemVendorIdOffset, kSubsystemIdsSize, true));
  map.structures.push_back(Fixed("checksum byte", kChecksumOffset, 1));
  return map;
}

std::string LayoutKey() {
  std::string key;
  const auto bytes = [&key](std::uint32_t offset, std::uint32_t length) {
    for (std::uint32_t i = 0; i < length; ++i) key += static_cast<char>(RomImage.Byte(offset + i));
    key += '|';
  };
  bytes(kOemPointerWordOffset, 2);
  if (const Located table = OemPointerTable()) bytes(table.offset, kOemPointerTableSize);
  std::uint32_t textLength = 0;
  if (const Located signOn = SignOnRecord(textLength); signOn || ImageBuffer::Contains(signOn.offset, 2)) {
    bytes(signOn.offset, kSignOnHeaderSize);
  }
  ExModeTables tables;
  if (const Located save = SavePointerTable()) bytes(save.offset, kSavePointerTableSize);
  if (tables.Locate()) {
    bytes(tables.secondaryTable(), kSecondaryTableSize);
    bytes(tables.modeHeader(), kModeHeaderSize);
    std::vector<std::uint32_t> records;
    tables.Scan(records);
    for (const std::uint32_t record : records) {
      bytes(record, kExModeRecordSize);
      // The parameter record an extended mode shows.
      bytes(tables.exRegTable() + kExRegRecordSize * ExModeTables::ModeIndex(record) + 2, 1);
    }
    key += records.empty() ? 'e' : 'r';
  }
  for (const FontKind& kind : kFontKinds) {
    if (!kind.fixup) continue;
    std::uint32_t table = 0;
    std::string error;
    if (!FontWord(kind.entry, table, error)) continue;
    ScanFixups(table, kind.height, [&](std::uint32_t, std::uint32_t, std::uint8_t code) {
      key += static_cast<char>(code);
      return true;
    });
    key += '|';
  }
  return key;
}

}  // namespace rom
