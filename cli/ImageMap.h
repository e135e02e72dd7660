#pragma once
// Where each structure of the loaded image lies, found the way the pages find
// them, or why it cannot be used.

#include <cstdint>
#include <string>
#include <vector>

#include "cli/CHeadlessEditor.h"

namespace cli {

struct Structure {
  std::string name;
  std::uint32_t offset = 0;
  std::uint32_t length = 0;
  // Empty when the structure lies wholly inside the image.
  std::string problem;
  // A page shows its bytes as fields; the others are pointers, headers and the checksum.
  bool edited = false;
};

struct ImageMap {
  std::vector<Structure> structures;
  int standardModes = 0;
  int extendedModes = 0;
  int fixups9x14 = 0;
  int fixups9x16 = 0;
};

// Maps RomImage; the editor's pages give what only they know (list rows, fix-up entries).
ImageMap MapImage(CHeadlessEditor& editor);

// For each of the 32768 offsets: does a structure of `map` that lies inside the image hold it.
std::vector<bool> CoveredBytes(const ImageMap& map);

}  // namespace cli
