#include "cli/ImageFile.h"

#include <fstream>
#include <system_error>

#include "cli/ExitStatus.h"
#include "rom/RomFile.h"
#include "rom/RomImage.h"
#include "ui/Prompts.h"

namespace cli {

std::string FileName(const std::filesystem::path& path) {
  return ui::PathText(path);
}

bool ImageFile::Valid() const {
  return Problem().empty();
}

std::string ImageFile::Problem() const {
  if (!HasSignature()) return "not a VGA BIOS ROM image: it does not begin with 55 AA";
  if (size < rom::kRomSize) {
    return "only " + std::to_string(size) + " bytes long; an image has " + std::to_string(rom::kRomSize);
  }
  unsigned sum = 0;
  for (const std::uint8_t b : head) sum += b;
  if ((sum & 0xFF) != 0) return "wrong checksum: the 32768 bytes do not add up to 0";
  return {};
}

ImageFile ReadImageFile(const std::filesystem::path& path) {
  ImageFile file;
  file.path = path;
  std::error_code error;
  if (!std::filesystem::exists(path, error)) throw CliError(kFileError, FileName(path) + ": no such file");
  if (std::filesystem::is_directory(path, error)) throw CliError(kFileError, FileName(path) + ": is a folder");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw CliError(kFileError, FileName(path) + ": cannot be read");
  file.head.resize(rom::kRomSize);
  in.read(reinterpret_cast<char*>(file.head.data()), static_cast<std::streamsize>(file.head.size()));
  file.head.resize(static_cast<std::size_t>(in.gcount()));
  if (in.bad()) throw CliError(kFileError, FileName(path) + ": cannot be read");
  file.size = std::filesystem::file_size(path, error);
  if (error) file.size = file.head.size();
  return file;
}

void LoadImage(const ImageFile& file) {
  if (!file.HasSignature()) throw CliError(kFileError, FileName(file.path) + ": " + file.Problem());
  if (!rom::LoadRomFile(file.path)) throw CliError(kFileError, FileName(file.path) + ": cannot be read");
}

void SaveImage(const std::filesystem::path& image, const std::filesystem::path& out) {
  const std::filesystem::path& target = out.empty() ? image : out;
  if (!rom::WriteRomFile(target, image)) {
    throw CliError(kFileError, FileName(target) + ": " + rom::SaveFailureText(target) + "; it is unchanged");
  }
}

}  // namespace cli
