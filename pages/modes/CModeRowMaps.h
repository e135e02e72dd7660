#pragma once
// Which records each row of the mode list stands for, rebuilt for every image.

#include <array>

class CModeRowMaps {
 public:
  static constexpr int kMaxRows = 56;
  static constexpr int kMaxExRows = 34;

  CModeRowMaps() { Reset(); }

  // Back to the 22 standard rows and no extended row.
  void Reset();
  // One more extended row; a paramIndex of 0 marks a row whose record could not
  // be resolved. False when the maps are full.
  bool AppendExRow(int modeIndex, int paramIndex);

  // The mode index (the ExRegRecord) of a list row, or -1 for a row not mapped.
  int ModeIndexOfRow(int row) const;
  // The parameter record index of extended row k (list row 22 + k), or 0 for none.
  int ParamIndexOfExRow(int k) const;

  std::array<int, kMaxRows> rowModeIndex{};
  int rowModeCount = 0;
  std::array<int, kMaxExRows> exRowParamIndex{};
  int exRowCount = 0;
};
