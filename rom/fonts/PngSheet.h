#pragma once
// Pictures for people: a font's 256 glyphs in a sheet of 16 x 16 cells, and any grey picture as PNG.

#include <cstdint>
#include <vector>

#include "rom/fonts/FontFile.h"

namespace rom::fonts {

// Each pixel of a glyph drawn this many times in both directions.
inline constexpr int kSheetScale = 2;

// The PNG file bytes: glyph code c in row c / 16 and column c % 16, black
// pixels on white, the cells parted by grey lines one pixel wide.
std::vector<std::uint8_t> EncodePngSheet(const Glyphs& glyphs);

// The PNG file bytes of a grey picture: `pixels` holds width x height levels, row by row.
std::vector<std::uint8_t> EncodeGreyPng(int width, int height, const std::vector<std::uint8_t>& pixels);

}  // namespace rom::fonts
