#include "cli/ImageMap.h"

#include <algorithm>

#include "pages/modes/CExModeList.h"
#include "pages/modes/ModeNames.h"
#include "res/resource.h"
#include "rom/RomImage.h"
#include "rom/RomLayout.h"

namespace cli {
namespace {

constexpr std::uint32_t kParameterRecordSize = 64;
constexpr std::uint32_t kExRegRecordSize = 5;
constexpr std::uint32_t kMemoryRecordSize = 36;
constexpr int kStandardRecords = 29;

void Add(ImageMap& map, const std::string& name, const rom::Located& at, std::uint32_t length, bool edited = false) {
  map.structures.push_back({name, at.offset, length, at.error, edited});
}

void AddFollowed(ImageMap& map, rom::OemEntry entry, const std::string& name, std::uint32_t length) {
  Add(map, name, rom::FollowOemEntry(entry, name, length), length, true);
}

// Selects a font on the Font Images page: the number of entries of its character list.
int FixupEntries(CHeadlessEditor& editor, int fontRow) {
  editor.SetActivePage(CPageSet::kFontImages);
  editor.Pick(IDC_FONT_LIST, fontRow);
  const int list = fontRow == 3 ? IDC_CHAR_LIST_9X14 : IDC_CHAR_LIST_9X16;
  return editor.activeControls().ListCount(list);
}

void AddModes(ImageMap& map, CHeadlessEditor& editor) {
  editor.SetActivePage(CPageSet::kParameterTable);
  const CModeRowMaps& rows = editor.pages().parameterTable().rowMaps();
  map.standardModes = kStdRowCount;
  int lastRecord = kStandardRecords - 1;
  int lastExReg = kStandardRecords - 1;
  for (int k = 0; k < rows.exRowCount; ++k) {
    lastRecord = std::max(lastRecord, rows.ParamIndexOfExRow(k));
    lastExReg = std::max(lastExReg, rows.ModeIndexOfRow(kStdRowCount + k));
  }

  const std::string saveName = "save pointer table";
  const rom::Located save = rom::FollowOemEntry(rom::OemEntry::kSavePointerTable, saveName,
                                                CExModeList::kSavePointerTableSize);
  Add(map, saveName, save, CExModeList::kSavePointerTableSize);
  const std::uint32_t tableLength = kParameterRecordSize * static_cast<std::uint32_t>(lastRecord + 1);
  if (save) {
    Add(map, "video parameter table", rom::FollowPointer(save.offset, "video parameter table", tableLength), tableLength,
        true);
  }

  CExModeList list;
  std::vector<std::uint32_t> records;
  if (!list.Locate()) {
    map.structures.push_back({"extended modes", 0, 0, list.error()});
    return;
  }
  map.structures.push_back({"secondary save pointer table", list.secondaryTable(), CExModeList::kSecondaryTableSize, ""});
  map.structures.push_back({"extended mode header", list.modeHeader(), CExModeList::kModeHeaderSize, ""});
  const std::uint32_t exRegLength = kExRegRecordSize * static_cast<std::uint32_t>(lastExReg + 1);
  Add(map, "extended register table", rom::Within("extended register table", list.exRegTable(), exRegLength),
      exRegLength, true);
  if (!list.Scan(records)) {
    map.structures.push_back({"extended mode list", list.exModeList(), 0, list.error()});
    return;
  }
  map.extendedModes = static_cast<int>(records.size());
  const std::uint32_t end = records.empty() ? list.exModeList() + CExModeList::kSkippedBytes
                                            : records.back() + CExModeList::kRecordSize;
  map.structures.push_back({"extended mode list", list.exModeList(), end + 1 - list.exModeList(), ""});
}

void AddFonts(ImageMap& map, CHeadlessEditor& editor) {
  AddFollowed(map, rom::OemEntry::kFont8x8, "8x8 font", 256 * 8);
  AddFollowed(map, rom::OemEntry::kFont8x14, "8x14 font", 256 * 14);
  AddFollowed(map, rom::OemEntry::kFont8x16, "8x16 font", 256 * 16);
  // A fix-up record is its code and its rows; a 00 code ends the table.
  map.fixups9x14 = FixupEntries(editor, 3);
  map.fixups9x16 = FixupEntries(editor, 4);
  const auto fixupLength = [](int entries, std::uint32_t height) {
    return static_cast<std::uint32_t>(entries) * (height + 1) + 1;
  };
  AddFollowed(map, rom::OemEntry::kFixup9x14, "9x14 fix-up table", fixupLength(map.fixups9x14, 14));
  AddFollowed(map, rom::OemEntry::kFixup9x16, "9x16 fix-up table", fixupLength(map.fixups9x16, 16));
}

}  // namespace

ImageMap MapImage(CHeadlessEditor& editor) {
  ImageMap map;
  map.structures.push_back({"ROM header", 0, 3, ""});
  map.structures.push_back({"ROM signature text", rom::kSignatureTextOffset, 16, "", true});
  map.structures.push_back({"OEM pointer word", rom::kOemPointerWordOffset, 2, ""});
  Add(map, "OEM pointer table", rom::OemPointerTable(), rom::kOemPointerTableSize);
  AddFollowed(map, rom::OemEntry::kMemoryConfig, "memory configuration record", kMemoryRecordSize);

  const std::string signOn = "sign-on record";
  const rom::Located header = rom::FollowOemEntry(rom::OemEntry::kSignOn, signOn, 2);
  if (!header) {
    Add(map, signOn, header, 2, true);
  } else {
    const std::uint32_t length = 2 + rom::ReadWordLE(header.offset, header.offset + 1);
    Add(map, signOn, rom::Within(signOn, header.offset, length), length, true);
  }
  AddModes(map, editor);
  AddFonts(map, editor);
  map.structures.push_back({"subsystem vendor and device IDs", rom::kSubsystemVendorIdOffset, 4, "", true});
  map.structures.push_back({"checksum byte", rom::kChecksumOffset, 1, ""});
  return map;
}

std::vector<bool> CoveredBytes(const ImageMap& map) {
  std::vector<bool> covered(rom::kRomSize, false);
  for (const Structure& s : map.structures) {
    if (!s.problem.empty() || !rom::ImageBuffer::Contains(s.offset, s.length)) continue;
    std::fill(covered.begin() + s.offset, covered.begin() + s.offset + s.length, true);
  }
  return covered;
}

}  // namespace cli
