#include "pages/modes/CModeRowMaps.h"

#include "pages/modes/ModeNames.h"

void CModeRowMaps::Reset() {
  rowModeIndex.fill(0);
  exRowParamIndex.fill(0);
  for (int row = 0; row < kStdRowCount; ++row) rowModeIndex[static_cast<std::size_t>(row)] = kStdRowModeIndex[row];
  rowModeCount = kStdRowCount;
  exRowCount = 0;
}

bool CModeRowMaps::AppendExRow(int modeIndex, int paramIndex) {
  if (exRowCount >= kMaxExRows || rowModeCount >= kMaxRows) return false;
  rowModeIndex[static_cast<std::size_t>(rowModeCount++)] = modeIndex;
  // Every listed row gets its own entry, a faulty one too, so the rows after it keep their place.
  exRowParamIndex[static_cast<std::size_t>(exRowCount++)] = paramIndex;
  return true;
}

int CModeRowMaps::ModeIndexOfRow(int row) const {
  return row >= 0 && row < rowModeCount ? rowModeIndex[static_cast<std::size_t>(row)] : -1;
}

int CModeRowMaps::ParamIndexOfExRow(int k) const {
  return k >= 0 && k < exRowCount ? exRowParamIndex[static_cast<std::size_t>(k)] : 0;
}
