// The harness's own reading of the image: the pointer chains, the mode list and the bytes each page shows.
#include <algorithm>
#include <string>

#include "pages/modes/ModeNames.h"
#include "res/resource.h"
#include "tests/fuzz/harness/Fuzz.h"

namespace fuzzing {
namespace {
constexpr std::uint32_t kOemTablePointer = 0x50;
constexpr std::uint32_t kOemTableLength = 0x10;
}  // namespace

bool Inside(std::uint32_t offset, std::uint32_t length) {
  return std::uint64_t{offset} + length <= rom::kRomSize;
}

std::uint16_t WordAt(std::uint32_t offset) {
  return static_cast<std::uint16_t>(rom::RomImage.Byte(offset) | rom::RomImage.Byte(offset + 1) << 8);
}

std::optional<std::uint32_t> Pointed(std::uint32_t pointer, std::uint32_t length) {
  if (!Inside(pointer, 2)) return std::nullopt;
  const std::uint32_t target = WordAt(pointer);
  if (!Inside(target, length)) return std::nullopt;
  return target;
}

std::optional<std::uint32_t> OemStructure(std::uint32_t entry, std::uint32_t length) {
  const std::optional<std::uint32_t> table = Pointed(kOemTablePointer, kOemTableLength);
  if (!table) return std::nullopt;
  return Pointed(*table + entry, length);
}

void Mark(ByteSet& bytes, std::uint32_t offset, std::uint32_t length) {
  for (std::uint64_t i = offset; i < std::uint64_t{offset} + length && i < rom::kRomSize; ++i) {
    bytes.set(static_cast<std::size_t>(i));
  }
}

namespace {
constexpr std::uint32_t kSavePointerEntry = 0x02;
constexpr std::uint32_t kRecordBytes = 14;
constexpr std::uint32_t kSkippedRecords = 15;
constexpr std::uint32_t kExRegBytes = 5;
constexpr std::uint32_t kParameterBytes = 64;
}  // namespace

void ModeListModel::Capture() {
  exRegTable_.reset();
  endFound_ = false;
  records_.clear();
  const auto save = OemStructure(kSavePointerEntry, 0x12);
  const auto secondary = save ? Pointed(*save + 0x10, 0x18) : std::nullopt;
  const auto header = secondary ? Pointed(*secondary + 0x16, 6) : std::nullopt;
  if (!header) return;
  exRegTable_ = WordAt(*header);
  std::uint32_t p = WordAt(*header + 4) + kSkippedRecords * kRecordBytes;
  std::vector<ExRow> found;
  while (Inside(p, 1) && rom::RomImage.Byte(p) != 0xFF) {
    if (!Inside(p, kRecordBytes)) break;
    ExRow row;
    row.record = p;
    row.modeIndex = rom::RomImage.Byte(p + 1);
    const std::uint32_t exReg = *exRegTable_ + kExRegBytes * row.modeIndex;
    if (Inside(exReg, kExRegBytes)) {
      const std::uint8_t index = rom::RomImage.Byte(exReg + 2);
      row.paramIndex = index != 0 ? index : row.modeIndex;
    }
    found.push_back(row);
    p += kRecordBytes;
  }
  endFound_ = Inside(p, 1) && rom::RomImage.Byte(p) == 0xFF;
  if (endFound_) records_ = std::move(found);
}

int ModeListModel::ListedRows() const {
  return kStdRows + static_cast<int>(std::min(records_.size(), kMaxExRows));
}

int ModeListModel::ModeIndexOfRow(int row) const {
  if (row >= 0 && row < kStdRows) return kStdRowModeIndex[static_cast<std::size_t>(row)];
  if (row >= kStdRows && row < ListedRows()) return records_[static_cast<std::size_t>(row - kStdRows)].modeIndex;
  return -1;
}

std::optional<std::uint32_t> ModeListModel::ExRegRecord(int row) const {
  const int modeIndex = ModeIndexOfRow(row);
  if (!exRegTable_ || modeIndex < 0) return std::nullopt;
  const std::uint32_t offset = *exRegTable_ + kExRegBytes * static_cast<std::uint32_t>(modeIndex);
  if (!Inside(offset, kExRegBytes)) return std::nullopt;
  return offset;
}

std::optional<std::uint32_t> ModeListModel::ParameterRecord(int row) const {
  // A standard row shows the record of its mode; an extended row the one its register record names.
  const bool extended = row >= kStdRows && row < ListedRows();
  const int index = extended ? records_[static_cast<std::size_t>(row - kStdRows)].paramIndex : ModeIndexOfRow(row);
  if (index < 0 || (extended && index == 0)) return std::nullopt;
  const auto save = OemStructure(kSavePointerEntry, 2);
  const auto table = save ? Pointed(*save, 0) : std::nullopt;
  if (!table) return std::nullopt;
  const std::uint32_t offset = *table + kParameterBytes * static_cast<std::uint32_t>(index);
  if (!Inside(offset, kParameterBytes)) return std::nullopt;
  return offset;
}

namespace {

constexpr std::uint32_t kSignatureText = 0x40;
constexpr std::uint32_t kSubsystemIds = 0x7FF8;
constexpr std::uint32_t kMemoryConfigEntry = 0x00;
constexpr std::uint32_t kMemoryConfigBytes = 36;
constexpr std::uint32_t kSignOnEntry = 0x0E;
// The length word and the most text an Apply may store.
constexpr std::uint32_t kSignOnBytes = 2 + 120;

struct Font {
  const char* name;
  std::uint32_t entry;
  std::uint32_t height;
  int charList;
  bool fixups;
};
constexpr Font kFonts[] = {
    {"Font 8x8", 0x04, 8, IDC_CHAR_LIST_FULL, false},
    {"Font 8x14", 0x06, 14, IDC_CHAR_LIST_FULL, false},
    {"Font 8x16", 0x08, 16, IDC_CHAR_LIST_FULL, false},
    {"Font 9x14 Fix-up Table", 0x0A, 14, IDC_CHAR_LIST_9X14, true},
    {"Font 9x16 Fix-up Table", 0x0C, 16, IDC_CHAR_LIST_9X16, true},
};

// The rows of the glyph that the selected entries name, clipped to the image.
void MarkGlyph(ByteSet& bytes, const testing_support::FakeControls& controls) {
  const std::string name = controls.ListItemText(IDC_FONT_LIST, controls.ListSelection(IDC_FONT_LIST));
  for (const Font& font : kFonts) {
    if (name != font.name) continue;
    // The font word is read straight from the OEM pointer table: it is no structure of its own.
    const auto table = Pointed(0x50, 0x10);
    if (!table) return;
    const std::uint32_t first = WordAt(*table + font.entry);
    const int selected = controls.ListSelection(font.charList);
    const std::uint32_t s = selected < 0 ? 0u : static_cast<std::uint32_t>(selected);
    if (!font.fixups) {
      if (s < 256) Mark(bytes, first + s * font.height, font.height);
      return;
    }
    for (std::uint32_t k = 0;; ++k) {
      const std::uint32_t record = first + k * (font.height + 1);
      if (!Inside(record, 1) || rom::RomImage.Byte(record) == 0x00) return;
      if (k == s) return Mark(bytes, record + 1, font.height);
    }
  }
}

}  // namespace

ByteSet ShownBytes(int page, const testing_support::FakeControls& controls, const ModeListModel& modes) {
  ByteSet bytes;
  switch (page) {
    case 0: {
      const int row = controls.ListSelection(IDC_MODE_LIST);
      const auto record = modes.ParameterRecord(row);
      const auto exReg = modes.ExRegRecord(row);
      if (record && exReg) {
        Mark(bytes, *record, 64);
        Mark(bytes, *exReg, 5);
      }
      break;
    }
    case 1: Mark(bytes, kSubsystemIds, 4); break;
    case 2: Mark(bytes, kSignatureText, 16); break;
    case 3:
      if (const auto record = OemStructure(kSignOnEntry, 2)) Mark(bytes, *record, kSignOnBytes);
      break;
    case 4:
      if (const auto record = OemStructure(kMemoryConfigEntry, kMemoryConfigBytes)) {
        Mark(bytes, *record, kMemoryConfigBytes);
      }
      break;
    default: MarkGlyph(bytes, controls); break;
  }
  return bytes;
}

}  // namespace fuzzing
