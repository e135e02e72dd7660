#pragma once
// An image file as the command line reads it: the whole file as an option ROM of
// the length its header declares, with errors that name the file.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "rom/OptionRom.h"

namespace cli {

struct ImageFile {
  std::filesystem::path path;
  rom::OptionRom rom{{}};

  std::uintmax_t size() const { return rom.file().size(); }
  bool HasSignature() const { return rom.HasSignature(); }
  // A whole option ROM (55 AA, as long as its header declares) whose declared length adds up to 0.
  bool Valid() const { return Problem().empty(); }
  // Why Valid() is false, for a person; empty when it is true.
  std::string Problem() const { return rom.Problem(); }
};

// The file as UTF-8 text, for messages.
std::string FileName(const std::filesystem::path& path);

// Reads `path`; a missing or unreadable file is a CliError naming it.
ImageFile ReadImageFile(const std::filesystem::path& path);

// Puts the first 32 KB of `file` into RomImage with the editor's own load, as
// File > Open does. A file that is no image is a CliError and leaves RomImage as it was.
void LoadImage(const ImageFile& file);

// Saves RomImage, read from the file `image`, with the editor's atomic save
// (checksum fixed at 7FFFh) to `out`, or over `image` when `out` is empty. The bytes
// past 32 KB come from `image` either way, so the file written has its length. Only
// an image whose header declares 32 KB is saved: in any other option ROM 7FFFh is
// no checksum byte. A CliError when it is refused or fails.
void SaveImage(const std::filesystem::path& image, const std::filesystem::path& out);

// The whole option ROM of `file`, for the commands that work on any length; a
// CliError naming the problem (and both lengths) when the file holds none.
rom::OptionRom& WholeOptionRom(ImageFile& file);

// Writes the whole file of `file` with its changes, its checksum fixed over the
// declared length, with the atomic save to `out`, or over the file when `out` is
// empty. A CliError when it fails.
void SaveOptionRom(ImageFile& file, const std::filesystem::path& out);

}  // namespace cli
