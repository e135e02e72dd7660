#pragma once
// Full VGA fonts found in an option ROM of any make by the shape that every VGA font
// of 256 glyphs has, and the choice of the font that export and import take.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "rom/FontLayout.h"

namespace rom::fonts {

// A full font of 256 glyphs.
struct FoundFont {
  std::uint32_t offset = 0;
  int height = 0;
  bool byShape = false;  // it has the shape of a VGA font
  bool byTable = false;  // the OEM pointer table locates the font of its height there
};

// Why the 256 glyphs `height` rows high at `offset` lack the shape of a VGA font,
// or nullptr when they have it: glyphs 00h and 20h blank, DBh a solid block, DCh
// its lower and DFh its upper part, split at one row between a quarter and three
// quarters of the height.
const char* MissingShape(const ImageBytes& image, std::uint32_t offset, int height);

// The full fonts that export and import can take, by offset: every one of 8, 14
// or 16 rows that has the shape, each marked when the OEM pointer table locates
// it, and in an image of 32 KB the table's fonts without the shape too (the table
// of this adapter's images is taken as it stands, as the Font Images page takes it).
std::vector<FoundFont> FindFonts(const ImageBytes& image);

// Where export and import take font `kind`. A full font: the one at `at` when
// given (listed by FindFonts, or else marked unshaped when it fits in the image),
// else the OEM pointer table's when FindFonts lists it, else the one font of its
// height found by its shape; several, or none, are refused with the reason. A
// fix-up table: where the OEM pointer table locates it.
bool ChooseFont(const ImageBytes& image, const FontKind& kind, std::optional<std::uint32_t> at, FontPlace& place,
                std::string& error);

}  // namespace rom::fonts
