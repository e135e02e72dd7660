#pragma once
// Where each structure of the image lies, found by the same locators the pages
// use, and the name of the structure, record and byte that holds any offset:
// what `info` lists, and what `diff` names a changed byte by.

#include <cstdint>
#include <string>
#include <vector>

namespace rom {

struct MappedStructure {
  // How the bytes inside are named.
  enum class Parts {
    kBytes,         // "memory configuration record, byte 19h"
    kRecords,       // "video parameter record 8, byte 05h"
    kHexRecords,    // "extended register record 03h, byte 00h"
    kListRecords,   // "extended mode record 16, byte 01h", then the list's end byte
    kGlyphs,        // "8x16 font, glyph 41h, row 3"
    kFixupRecords,  // "9x14 fix-up record 2, row 3", then the table's end byte
  };

  std::string name;
  std::uint32_t offset = 0;
  std::uint32_t length = 0;
  // False when the pointer to the structure could not be followed: offset and length mean nothing.
  bool located = true;
  // Why the structure cannot be used; empty when it lies wholly inside the image.
  std::string problem;
  // The pages show its bytes as fields; the others are pointers, headers and the checksum.
  bool shownByFields = false;
  Parts parts = Parts::kBytes;
  // The size of a record, or the rows of a glyph.
  std::uint32_t recordSize = 0;
  std::string recordName;
};

// One byte of the image as a part of a structure.
struct MappedByte {
  const MappedStructure* structure = nullptr;  // nullptr: outside every structure
  int record = -1;                             // -1: the structure is not made of records here
  std::uint32_t byte = 0;                      // within the record, else within the structure
  // "video parameter record 8", "8x16 font, glyph 41h", "memory configuration record".
  std::string Owner() const;
  // "byte 05h", "row 3", "code", "end byte"; empty for a structure of one byte.
  std::string Place() const;
};

struct ImageMap {
  std::vector<MappedStructure> structures;
  int extendedModes = 0;
  int fixups9x14 = 0;
  int fixups9x16 = 0;

  // The first structure that holds `offset`, by the order of `structures`.
  MappedByte At(std::uint32_t offset) const;
};

// Maps RomImage.
ImageMap MapImage();

// The bytes that decide where the structures lie and what the pages list (the
// pointer words and tables, the extended mode list, the parameter index of
// each extended mode, the codes of the fix-up tables, the sign-on length).
// Two images with the same key have their fields in the same places.
std::string LayoutKey();

}  // namespace rom
