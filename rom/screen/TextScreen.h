#pragma once
// The text screen of a text mode as the card draws it: each character from the
// font the mode uses, in the mode's cell, light grey on black, dot for dot and
// scan line for scan line.

#include <cstdint>
#include <string>
#include <vector>

#include "rom/timing/ModeTiming.h"

namespace rom::screen {

// Attribute 07h: the VGA's light grey on black.
inline constexpr std::uint8_t kInk = 0xAA;
inline constexpr std::uint8_t kPaper = 0x00;

struct TextScreen {
  int width = 0;   // dots: the displayed characters times their width
  int height = 0;  // the displayed scan lines
  int columns = 0;
  int rows = 0;  // a last row cut by the end of the picture counts
  int cellWidth = 0;
  int cellHeight = 0;  // in scan lines, double scan included
  // width x height grey levels, row by row.
  std::vector<std::uint8_t> pixels;
  // Rows of text below the last row of the screen, left out.
  int rowsLeftOut = 0;
  // Why the mode has no text screen to draw, "" when it has one.
  std::string problem;
};

// The screen of the mode of `record` showing `text` from its top left corner. The
// text is bytes, each drawn with its glyph; CR LF or LF ends a line, and a line
// longer than the screen goes on in the next row, as the BIOS writes it. The fonts
// are those of RomImage: the full font of the mode's character height and, in a
// 9-dot mode, the fix-up table of that height over it. The ninth column repeats
// the eighth for C0h..DFh when the mode's line-graphics bit is set.
TextScreen DrawTextScreen(const timing::ParameterRecord& record, const std::string& text);

}  // namespace rom::screen
