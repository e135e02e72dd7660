// font find, export and import: whole fonts of any option ROM, found and to and from files.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "cli/ArgumentPath.h"
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/ImageFile.h"
#include "cli/Output.h"
#include "rom/FontLayout.h"
#include "rom/ValueText.h"
#include "rom/fonts/FontFinder.h"
#include "rom/fonts/FontTransfer.h"

namespace cli {
namespace {

// Larger than any font file of 256 glyphs, even with a Unicode table and 512 glyphs.
constexpr std::uintmax_t kMaxFontFileSize = 1 << 20;

const rom::FontKind& FontNamed(const std::string& name) {
  const rom::FontKind* kind = rom::FindFontKind(name);
  if (kind == nullptr)
    throw CliError(kUsage, "there is no font " + name + "; the fonts are 8x8, 8x14, 8x16, 9x14, 9x16");
  return *kind;
}

std::vector<std::uint8_t> ReadFontFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) throw CliError(kFileError, FileName(path) + ": no such file");
  if (std::filesystem::file_size(path, error) > kMaxFontFileSize) {
    throw CliError(kRefused, FileName(path) + ": larger than 1 MB, too large for a font file");
  }
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw CliError(kFileError, FileName(path) + ": cannot be read");
  return bytes;
}

// An offset typed as hexadecimal digits, with or without 0x before or h after them.
std::optional<std::uint32_t> ParseOffset(std::string text) {
  if (text.empty()) return std::nullopt;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.erase(0, 2);
  } else if (text.back() == 'h' || text.back() == 'H') {
    text.pop_back();
  }
  if (text.empty() || text.size() > 6) throw CliError(kUsage, "--at takes an offset in hexadecimal, such as 73C0");
  int invalid = 0;
  const std::int32_t value = rom::HexTextToInt(text, static_cast<int>(text.size()), invalid);
  if (invalid != 0) throw CliError(kUsage, "--at takes an offset in hexadecimal, such as 73C0; not " + text);
  return static_cast<std::uint32_t>(value);
}

rom::FontPlace Choose(ImageFile& file, const rom::FontKind& kind, const std::string& at) {
  rom::FontPlace place;
  std::string error;
  if (!rom::fonts::ChooseFont(WholeOptionRom(file).Image(), kind, ParseOffset(at), place, error)) {
    throw CliError(kRefused, FileName(file.path) + ": " + error);
  }
  return place;
}

int Find(const std::filesystem::path& path, bool json) {
  ImageFile file = ReadImageFile(path);
  const std::vector<rom::fonts::FoundFont> fonts = rom::fonts::FindFonts(WholeOptionRom(file).Image());
  if (json) {
    nlohmann::json list = nlohmann::json::array();
    for (const rom::fonts::FoundFont& f : fonts) {
      list.push_back({{"font", "8x" + std::to_string(f.height)},
                      {"offset", f.offset},
                      {"height", f.height},
                      {"length", rom::kFullFontGlyphs * f.height},
                      {"shape", f.byShape},
                      {"oemPointerTable", f.byTable}});
    }
    PrintJson({{"file", FileName(path)}, {"length", file.rom.DeclaredLength()}, {"fonts", list}});
    return kOk;
  }
  for (const rom::fonts::FoundFont& f : fonts) {
    const auto length = static_cast<std::uint32_t>(rom::kFullFontGlyphs * f.height);
    const std::string name = "8x" + std::to_string(f.height);
    std::cout << name << std::string(6 - name.size(), ' ') << rom::HexText(f.offset, 4) << "h-"
              << rom::HexText(f.offset + length - 1, 4) << "h" << (f.byShape ? "" : "  without the shape of a VGA font")
              << (f.byTable ? "  where the OEM pointer table locates the " + name + " font" : "") << "\n";
  }
  if (fonts.empty()) std::cerr << "ombrix: " << FileName(path) << ": no font found\n";
  return kOk;
}

int Export(const std::filesystem::path& image, const std::string& font, const std::string& at,
           const std::filesystem::path& out) {
  const rom::FontKind& kind = FontNamed(font);
  ImageFile file = ReadImageFile(image);
  const rom::FontPlace place = Choose(file, kind, at);
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!rom::fonts::ExportFont(file.rom.Image(), place, FileName(out.filename()), bytes, error)) {
    throw CliError(kRefused, FileName(image) + ": " + error);
  }
  std::ofstream stream(out, std::ios::binary | std::ios::trunc);
  stream.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  stream.close();
  if (!stream) throw CliError(kFileError, FileName(out) + ": could not be written");
  return kOk;
}

int Import(const std::filesystem::path& image, const std::string& font, const std::string& at,
           const std::filesystem::path& in, const std::filesystem::path& out) {
  const rom::FontKind& kind = FontNamed(font);
  const std::vector<std::uint8_t> bytes = ReadFontFile(in);
  ImageFile file = ReadImageFile(image);
  const rom::FontPlace place = Choose(file, kind, at);
  std::string note, error;
  if (!rom::fonts::ImportFont(file.rom.Image(), place, FileName(in.filename()), bytes, note, error)) {
    throw CliError(kRefused, FileName(in) + ": " + error + "; nothing was written");
  }
  if (!note.empty()) std::cerr << "ombrix: " << FileName(in) << ": " << note << "\n";
  SaveOptionRom(file, out);
  return kOk;
}

}  // namespace

void AddFontCommands(CLI::App& app, int& status) {
  struct Options {
    ArgumentPath image, file, out;
    std::string font, at;
    bool json = false;
  };
  auto options = std::make_shared<Options>();
  const std::string formats =
      "FONT is 8x8, 8x14, 8x16 (files .f08/.f14/.f16 raw, .psf PSF 1, .psf2 PSF 2, .psf.gz to import, .png to\n"
      "export a sheet of the 256 glyphs) or 9x14, 9x16 (the fix-up tables, as .json). IMAGE is an option ROM\n"
      "of any length: a full font is the one the OEM pointer table locates, else the one `font find` lists\n"
      "for its height (--at chooses among several, or a font imported before without the shape); the checksum\n"
      "is fixed over the declared length.\n";

  CLI::App* font = app.add_subcommand("font", "Whole fonts of any option ROM: found, and to and from font files");
  font->require_subcommand(1);
  CLI::App* find = font->add_subcommand(
      "find", "Lists the full fonts (8x8, 8x14, 8x16) of an option ROM of any length, found by their shape");
  find->add_option("IMAGE", options->image, "the image file")->required();
  find->add_flag("--json", options->json, "one JSON document");
  find->callback([options, &status] { status = Find(options->image, options->json); });
  find->footer(
      "A font is found where 256 glyphs of 8, 14 or 16 rows have glyphs 00h and 20h blank, DBh a solid block\n"
      "and DCh and DFh its lower and upper halves, split at one row between a quarter and three quarters of\n"
      "the height. Where the OEM pointer table locates a font, that is said; in an image of 32 KB the table's\n"
      "fonts are listed whatever their shape.\n" +
      std::string(kExitStatusHelp));

  CLI::App* exportFont =
      font->add_subcommand("export", "Writes a font of the image to a file; its name gives the format");
  exportFont->add_option("IMAGE", options->image, "the image file")->required();
  exportFont->add_option("FONT", options->font, "8x8, 8x14, 8x16, 9x14 or 9x16")->required();
  exportFont->add_option("OUT", options->file, "the font file to write")->required();
  exportFont->add_option("--at", options->at, "the font at this offset (hexadecimal), as `font find` lists it");
  exportFont->callback(
      [options, &status] { status = Export(options->image, options->font, options->at, options->file); });
  exportFont->footer(formats + kExitStatusHelp);

  CLI::App* importFont = font->add_subcommand(
      "import", "Replaces a font of the image with a font file; nothing is written unless the whole file fits");
  importFont->add_option("IMAGE", options->image, "the image file")->required();
  importFont->add_option("FONT", options->font, "8x8, 8x14, 8x16, 9x14 or 9x16")->required();
  importFont->add_option("IN", options->file, "the font file to read")->required();
  importFont->add_option("--at", options->at, "the font at this offset (hexadecimal), as `font find` lists it");
  importFont->add_option("-o,--output", options->out,
                         "write to this file instead of IMAGE: IMAGE's whole file with the changes");
  importFont->callback(
      [options, &status] { status = Import(options->image, options->font, options->at, options->file, options->out); });
  importFont->footer(formats + kExitStatusHelp);
}

}  // namespace cli
