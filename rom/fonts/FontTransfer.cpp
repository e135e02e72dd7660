#include "rom/fonts/FontTransfer.h"

#include "rom/RomImage.h"
#include "rom/ValueText.h"
#include "rom/fonts/FixupJson.h"
#include "rom/fonts/FontFile.h"
#include "rom/fonts/FontFinder.h"

namespace rom::fonts {
namespace {

// Why the format of `fileName` does not suit font `kind`, or "".
std::string FormatProblem(const FontKind& kind, const std::string& fileName, bool reading) {
  const std::optional<FontFormat> format = FormatOfName(fileName);
  const std::string font = std::string("the ") + kind.name + (kind.fixup ? " fix-up table" : " font");
  if (kind.fixup) return format == FontFormat::kJson ? "" : font + " goes in and out as a .json file";
  if (!format || format == FontFormat::kJson) {
    return font + " goes in and out as .f08, .f14, .f16, .psf or .psf2" +
           (reading ? " (also gzip-compressed)" : ", or out as .png");
  }
  if (reading && format == FontFormat::kPng) return "a .png sheet is for looking at; it is not read back";
  const int rawHeight = RawHeightOfName(fileName);
  if (rawHeight != 0 && rawHeight != kind.height) {
    return "a raw file named like " + fileName + " holds glyphs " + std::to_string(rawHeight) + " rows high; " + font +
           "'s are " + std::to_string(kind.height);
  }
  if (!reading && fileName.size() > 3 && fileName.compare(fileName.size() - 3, 3, ".gz") == 0) {
    return "fonts are written uncompressed; name the file without .gz";
  }
  return "";
}

// Where the OEM pointer table of RomImage locates font `kind`.
bool TablePlace(const FontKind& kind, FontPlace& place, std::string& error) {
  place.kind = &kind;
  if (kind.fixup) return FontWord(kind.entry, place.offset, error);
  const Located font = LocateFullFont(kind);
  error = font.error;
  place.offset = font.offset;
  return static_cast<bool>(font);
}

}  // namespace

bool ExportFont(const ImageBytes& image, const FontPlace& place, const std::string& fileName,
                std::vector<std::uint8_t>& out, std::string& error) {
  const FontKind& kind = *place.kind;
  error = FormatProblem(kind, fileName, false);
  if (!error.empty()) return false;
  if (kind.fixup) {
    std::string text;
    if (!ExportFixupJson(image, place, text, error)) return false;
    out.assign(text.begin(), text.end());
    return true;
  }
  const Located font = Within(image, std::string(kind.name) + " font", place.offset, FullFontLength(kind));
  if (!font) {
    error = font.error;
    return false;
  }
  Glyphs glyphs;
  glyphs.height = kind.height;
  glyphs.rows.assign(image.data() + font.offset, image.data() + font.offset + FullFontLength(kind));
  out = EncodeFontFile(glyphs, *FormatOfName(fileName));
  return true;
}

bool ImportFont(ImageBytes image, const FontPlace& place, const std::string& fileName,
                const std::vector<std::uint8_t>& bytes, std::string& note, std::string& error) {
  const FontKind& kind = *place.kind;
  note.clear();
  error = FormatProblem(kind, fileName, true);
  if (!error.empty()) return false;
  if (kind.fixup) return ImportFixupJson(image, place, std::string(bytes.begin(), bytes.end()), error);
  const Located font = Within(image, std::string(kind.name) + " font", place.offset, FullFontLength(kind));
  if (!font) {
    error = font.error;
    return false;
  }
  const std::optional<Glyphs> glyphs = DecodeFontFile(bytes, fileName, kind.height, note, error);
  if (!glyphs) return false;
  std::vector<std::uint8_t> rows = glyphs->rows;
  const char* missing = MissingShape(ImageBytes(rows.data(), static_cast<std::uint32_t>(rows.size())), 0, kind.height);
  const std::string at = HexText(font.offset, 4) + "h";
  if (place.unshaped && missing != nullptr) {
    // Neither side is a font: most likely a mistyped --at over code or data.
    error = "neither the bytes at " + at + " nor the file's glyphs have the shape of a VGA font (" + missing +
            "), so --at names no font to replace";
    return false;
  }
  for (std::size_t i = 0; i < glyphs->rows.size(); ++i) {
    image.SetByte(font.offset + static_cast<std::uint32_t>(i), glyphs->rows[i]);
  }
  if (place.byShapeOnly && missing != nullptr) {
    note += std::string(note.empty() ? "" : "; ") + "the glyphs lack the shape of a VGA font (" + missing +
            "), so `font find` will not list this font: export or import it again with --at " + at;
  }
  return true;
}

bool ExportFont(const FontKind& kind, const std::string& fileName, std::vector<std::uint8_t>& out, std::string& error) {
  FontPlace place;
  error = FormatProblem(kind, fileName, false);
  if (!error.empty() || !TablePlace(kind, place, error)) return false;
  return ExportFont(RomImage.View(), place, fileName, out, error);
}

bool ImportFont(const FontKind& kind, const std::string& fileName, const std::vector<std::uint8_t>& bytes,
                std::string& note, std::string& error) {
  FontPlace place;
  note.clear();
  error = FormatProblem(kind, fileName, true);
  if (!error.empty() || !TablePlace(kind, place, error)) return false;
  return ImportFont(RomImage.View(), place, fileName, bytes, note, error);
}

}  // namespace rom::fonts
