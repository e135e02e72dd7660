#include "rom/screen/TextScreen.h"

#include <algorithm>

#include "rom/FontLayout.h"
#include "rom/RomImage.h"

namespace rom::screen {
namespace {

constexpr std::size_t kMaxScanLineCrtc = 0x09;
constexpr std::size_t kModeControlAttribute = 0x10;
constexpr std::size_t kMiscGraphics = 0x06;
constexpr std::uint8_t kLineGraphics = 0x04;  // Attribute Mode Control bit 2
constexpr std::uint8_t kGraphicsMode = 0x01;  // bit 0 of Attribute Mode Control and Graphics Miscellaneous
// The codes whose ninth column repeats the eighth when line graphics are on.
constexpr int kFirstLineGraphic = 0xC0;
constexpr int kLastLineGraphic = 0xDF;

// The 256 glyphs the mode draws with: the full font `height` rows high and, for 9-dot
// characters, the fix-up records of that height over it in table order, as the BIOS
// loads them. False, with the reason, when a font does not lie in the image.
bool LoadGlyphs(int height, bool nineDots, std::vector<std::uint8_t>& glyphs, std::string& error) {
  const FontKind* full = nullptr;
  const FontKind* fixup = nullptr;
  for (const FontKind& kind : kFontKinds) {
    if (kind.height == height) (kind.fixup ? fixup : full) = &kind;
  }
  if (full == nullptr) {
    error = "its characters are " + std::to_string(height) + " lines high; the image has fonts 8, 14 and 16 high";
    return false;
  }
  const Located font = LocateFullFont(*full);
  if (!font) {
    error = font.error;
    return false;
  }
  const auto rows = static_cast<std::size_t>(height);
  glyphs.assign(RomImage.data() + font.offset, RomImage.data() + font.offset + kFullFontGlyphs * rows);
  if (!nineDots || fixup == nullptr) return true;
  std::vector<std::uint32_t> records;
  if (!LocateFixupRecords(*fixup, records, error)) return false;
  for (const std::uint32_t record : records) {
    const std::size_t code = RomImage.Byte(record);
    std::copy_n(RomImage.data() + record + 1, rows, glyphs.begin() + static_cast<std::ptrdiff_t>(code * rows));
  }
  return true;
}

// The rows of `text` on a screen `columns` wide.
std::vector<std::string> ScreenRows(const std::string& text, int columns) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  while (from < text.size()) {
    std::size_t end = text.find('\n', from);
    const std::size_t next = end == std::string::npos ? text.size() : end + 1;
    if (end == std::string::npos) end = text.size();
    if (end > from && text[end - 1] == '\r' && end < text.size()) --end;  // CR LF
    lines.push_back(text.substr(from, end - from));
    from = next;
  }
  std::vector<std::string> rows;
  const auto width = static_cast<std::size_t>(columns);
  for (const std::string& line : lines) {
    rows.push_back(line.substr(0, width));
    for (std::size_t at = width; at < line.size(); at += width) rows.push_back(line.substr(at, width));
  }
  return rows;
}

}  // namespace

TextScreen DrawTextScreen(const timing::ParameterRecord& record, const std::string& text) {
  TextScreen s;
  const std::uint8_t modeControl = record[timing::kAttributeByte + kModeControlAttribute];
  if ((modeControl & kGraphicsMode) != 0 || (record[timing::kGraphicsByte + kMiscGraphics] & kGraphicsMode) != 0) {
    s.problem =
        "it is a graphics mode (Attribute Mode Control or Graphics Miscellaneous bit 0); it draws no characters";
    return s;
  }
  const timing::ModeTiming t = timing::DecodeTiming(record, 0);
  const int fontHeight = record[timing::kCharHeightByte];
  std::vector<std::uint8_t> glyphs;
  if (!LoadGlyphs(fontHeight, t.charWidth == 9, glyphs, s.problem)) return s;

  const int repeat = t.doubleScan ? 2 : 1;
  s.cellWidth = t.charWidth;
  s.cellHeight = ((record[timing::kCrtcByte + kMaxScanLineCrtc] & 0x1F) + 1) * repeat;
  s.columns = t.horizontalDisplay;
  s.width = s.columns * s.cellWidth;
  s.height = t.verticalDisplay;
  s.rows = (s.height + s.cellHeight - 1) / s.cellHeight;
  s.pixels.assign(static_cast<std::size_t>(s.width) * static_cast<std::size_t>(s.height), kPaper);
  const bool lineGraphics = (modeControl & kLineGraphics) != 0;

  const std::vector<std::string> rows = ScreenRows(text, s.columns);
  s.rowsLeftOut = std::max(0, static_cast<int>(rows.size()) - s.rows);
  for (int r = 0; r < s.rows && r < static_cast<int>(rows.size()); ++r) {
    const std::string& row = rows[static_cast<std::size_t>(r)];
    for (int c = 0; c < static_cast<int>(row.size()); ++c) {
      const int code = static_cast<unsigned char>(row[static_cast<std::size_t>(c)]);
      const bool ninthRepeats = lineGraphics && code >= kFirstLineGraphic && code <= kLastLineGraphic;
      for (int line = 0; line < s.cellHeight && r * s.cellHeight + line < s.height; ++line) {
        const int glyphRow = line / repeat;
        const std::uint8_t bits =
            glyphRow < fontHeight ? glyphs[static_cast<std::size_t>(code * fontHeight + glyphRow)] : 0;
        std::uint8_t* dot = &s.pixels[static_cast<std::size_t>((r * s.cellHeight + line) * s.width + c * s.cellWidth)];
        for (int x = 0; x < 8; ++x) dot[x] = ((bits >> (7 - x)) & 1) != 0 ? kInk : kPaper;
        if (s.cellWidth == 9) dot[8] = ninthRepeats && (bits & 1) != 0 ? kInk : kPaper;
      }
    }
  }
  return s;
}

}  // namespace rom::screen
