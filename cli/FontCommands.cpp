// font export and font import: whole fonts of the image to and from files.
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
#include "rom/FontLayout.h"
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

int Export(const std::filesystem::path& image, const std::string& font, const std::filesystem::path& out) {
  const rom::FontKind& kind = FontNamed(font);
  LoadImage(ReadImageFile(image));
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!rom::fonts::ExportFont(kind, FileName(out.filename()), bytes, error)) {
    throw CliError(kRefused, FileName(image) + ": " + error);
  }
  std::ofstream file(out, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) throw CliError(kFileError, FileName(out) + ": could not be written");
  return kOk;
}

int Import(const std::filesystem::path& image, const std::string& font, const std::filesystem::path& in,
           const std::filesystem::path& out) {
  const rom::FontKind& kind = FontNamed(font);
  const std::vector<std::uint8_t> bytes = ReadFontFile(in);
  LoadImage(ReadImageFile(image));
  std::string note, error;
  if (!rom::fonts::ImportFont(kind, FileName(in.filename()), bytes, note, error)) {
    throw CliError(kRefused, FileName(in) + ": " + error + "; nothing was written");
  }
  if (!note.empty()) std::cerr << "ombrix: " << FileName(in) << ": " << note << "\n";
  SaveImage(image, out);
  return kOk;
}

}  // namespace

void AddFontCommands(CLI::App& app, int& status) {
  struct Options {
    ArgumentPath image, file, out;
    std::string font;
  };
  auto options = std::make_shared<Options>();
  const std::string formats =
      "FONT is 8x8, 8x14, 8x16 (files .f08/.f14/.f16 raw, .psf PSF 1, .psf2 PSF 2, .psf.gz to import, .png to\n"
      "export a sheet of the 256 glyphs) or 9x14, 9x16 (the fix-up tables, as .json).\n";

  CLI::App* font = app.add_subcommand("font", "Whole fonts of the image to and from font files");
  font->require_subcommand(1);
  CLI::App* exportFont =
      font->add_subcommand("export", "Writes a font of the image to a file; its name gives the format");
  exportFont->add_option("IMAGE", options->image, "the image file")->required();
  exportFont->add_option("FONT", options->font, "8x8, 8x14, 8x16, 9x14 or 9x16")->required();
  exportFont->add_option("OUT", options->file, "the font file to write")->required();
  exportFont->callback([options, &status] { status = Export(options->image, options->font, options->file); });
  exportFont->footer(formats + kExitStatusHelp);

  CLI::App* importFont = font->add_subcommand(
      "import", "Replaces a font of the image with a font file; nothing is written unless the whole file fits");
  importFont->add_option("IMAGE", options->image, "the image file")->required();
  importFont->add_option("FONT", options->font, "8x8, 8x14, 8x16, 9x14 or 9x16")->required();
  importFont->add_option("IN", options->file, "the font file to read")->required();
  importFont->add_option("-o,--output", options->out, "write to this file instead of IMAGE");
  importFont->callback(
      [options, &status] { status = Import(options->image, options->font, options->file, options->out); });
  importFont->footer(formats + kExitStatusHelp);
}

}  // namespace cli
