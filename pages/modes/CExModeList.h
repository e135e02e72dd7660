#pragma once
// The adapter's extended mode list as the Parameter Table page lists it: the
// tables found through the save pointer tables, and the text of each row.

#include <cstdint>
#include <string>

#include "rom/ModeTables.h"

class CExModeList : public rom::ExModeTables {
 public:
  static constexpr int kMemoryModelCount = 11;

  // "Mode 101h - 640x480 8 BPP graphics (8x16)"; an unknown memory model is shown by its number.
  static std::string RowText(std::uint32_t record);
};
