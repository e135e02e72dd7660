#pragma once
// What the Parameter Table's mode list should hold for an image, and which
// records each of its rows stands for: the harness's own reading of the chain
// save pointer table -> secondary table -> extended mode header -> mode list.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace fuzzing {

class ModeListModel {
 public:
  static constexpr int kStdRows = 22;
  static constexpr std::size_t kMaxExRows = 34;

  struct ExRow {
    std::uint32_t record = 0;
    std::uint8_t modeIndex = 0;
    // The parameter record the row shows; 0 when its extended register record is unusable.
    int paramIndex = 0;
  };

  // Reads the chain from RomImage as it is now: the page builds its list once per image.
  void Capture();

  bool chainFound() const { return exRegTable_.has_value(); }
  bool endFound() const { return endFound_; }
  // Every record before the end byte (the page lists at most kMaxExRows of them).
  const std::vector<ExRow>& records() const { return records_; }
  int ListedRows() const;

  // The extended register record of list row `row`, when it lies inside the image.
  std::optional<std::uint32_t> ExRegRecord(int row) const;
  // The 64-byte parameter record of list row `row` in the image as it is now.
  std::optional<std::uint32_t> ParameterRecord(int row) const;

 private:
  int ModeIndexOfRow(int row) const;

  std::optional<std::uint32_t> exRegTable_;
  bool endFound_ = false;
  std::vector<ExRow> records_;
};

}  // namespace fuzzing
