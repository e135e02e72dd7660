#pragma once
// An image file as the command line reads it: its first 32 KB and its size,
// with errors that name the file.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace cli {

struct ImageFile {
  std::filesystem::path path;
  std::uintmax_t size = 0;
  // The first 32768 bytes at most.
  std::vector<std::uint8_t> head;

  bool HasSignature() const { return head.size() >= 2 && head[0] == 0x55 && head[1] == 0xAA; }
  // A whole image (32768 bytes or more) that starts with 55 AA and sums to 0.
  bool Valid() const;
  // Why Valid() is false, for a person; empty when it is true.
  std::string Problem() const;
};

// The file as UTF-8 text, for messages.
std::string FileName(const std::filesystem::path& path);

// Reads `path`; a missing or unreadable file is a CliError naming it.
ImageFile ReadImageFile(const std::filesystem::path& path);

// Puts `file` into RomImage with the editor's own load, as File > Open does.
// A file that is no image is a CliError and leaves RomImage as it was.
void LoadImage(const ImageFile& file);

// Saves RomImage, read from the file `image`, with the editor's atomic save
// (checksum fixed) to `out`, or over `image` when `out` is empty. The bytes past
// 32 KB come from `image` either way, so the file written has its length. A
// CliError when it fails.
void SaveImage(const std::filesystem::path& image, const std::filesystem::path& out);

}  // namespace cli
