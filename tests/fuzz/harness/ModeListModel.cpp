#include "tests/fuzz/harness/ModeListModel.h"

#include <algorithm>

#include "pages/modes/ModeNames.h"
#include "rom/RomImage.h"
#include "tests/fuzz/harness/ImageChain.h"

namespace fuzzing {
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
  int index = 0;
  if (row >= 0 && row < kStdRows) {
    index = kStdRowModeIndex[static_cast<std::size_t>(row)];
  } else if (row >= kStdRows && row < ListedRows()) {
    index = records_[static_cast<std::size_t>(row - kStdRows)].paramIndex;
    if (index == 0) return std::nullopt;
  } else {
    return std::nullopt;
  }
  const auto save = OemStructure(kSavePointerEntry, 2);
  const auto table = save ? Pointed(*save, 0) : std::nullopt;
  if (!table) return std::nullopt;
  const std::uint32_t offset = *table + kParameterBytes * static_cast<std::uint32_t>(index);
  if (!Inside(offset, kParameterBytes)) return std::nullopt;
  return offset;
}

}  // namespace fuzzing
