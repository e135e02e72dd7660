#pragma once
// The names of the standard VGA modes and of the memory models of extended modes.

#include <array>

// Names of the 29 standard parameter records, in record order. A row of the
// mode list is matched to its record by this exact text.
extern const std::array<const char*, 29> StdModeNames;

// The 22 rows that the dialog template lists, by record index; records 8 to 12,
// 15 and 16 are unused by the standard modes and never listed.
inline constexpr int kStdRowCount = 22;
inline constexpr std::array<int, kStdRowCount> kStdRowModeIndex = {0,  1,  2,  3,  4,  5,  6,  7,  13, 14, 17,
                                                                   18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28};

// The memory model byte of an extended mode record names one of these.
extern const std::array<const char*, 11> MemoryModelNames;
