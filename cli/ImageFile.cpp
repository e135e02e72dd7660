#include "cli/ImageFile.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "cli/ExitStatus.h"
#include "rom/RomFile.h"
#include "rom/RomImage.h"
#include "rom/ValueText.h"
#include "ui/Prompts.h"

namespace cli {

std::string FileName(const std::filesystem::path& path) {
  return ui::PathText(path);
}

ImageFile ReadImageFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) throw CliError(kFileError, FileName(path) + ": no such file");
  if (std::filesystem::is_directory(path, error)) throw CliError(kFileError, FileName(path) + ": is a folder");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw CliError(kFileError, FileName(path) + ": cannot be read");
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw CliError(kFileError, FileName(path) + ": cannot be read");
  return ImageFile{path, rom::OptionRom(std::move(bytes))};
}

void LoadImage(const ImageFile& file) {
  if (!file.HasSignature()) throw CliError(kFileError, FileName(file.path) + ": " + file.Problem());
  if (!rom::LoadRomFile(file.path)) throw CliError(kFileError, FileName(file.path) + ": cannot be read");
}

void SaveImage(const std::filesystem::path& image, const std::filesystem::path& out) {
  const std::uint32_t blocks = rom::RomImage.Byte(rom::OptionRom::kLengthOffset);
  if (blocks * rom::OptionRom::kBlockSize != rom::kRomSize) {
    throw CliError(kRefused, FileName(image) + ": its header declares " +
                                 std::to_string(blocks * rom::OptionRom::kBlockSize) + " bytes (" +
                                 rom::HexText(blocks, 2) +
                                 "h blocks of 512), not the 32 KB image whose fields ombrix edits: its checksum "
                                 "byte is not at 7FFFh; nothing was written");
  }
  const std::filesystem::path& target = out.empty() ? image : out;
  if (!rom::WriteRomFile(target, image)) {
    throw CliError(kFileError, FileName(target) + ": " + rom::SaveFailureText(target) + "; it is unchanged");
  }
}

rom::OptionRom& WholeOptionRom(ImageFile& file) {
  const std::string problem = file.rom.LengthProblem();
  if (!problem.empty()) throw CliError(kFileError, FileName(file.path) + ": " + problem);
  return file.rom;
}

void SaveOptionRom(ImageFile& file, const std::filesystem::path& out) {
  const std::filesystem::path& target = out.empty() ? file.path : out;
  file.rom.FixChecksum();
  if (!rom::WriteFileAtomically(target, file.rom.file())) {
    throw CliError(kFileError, FileName(target) + ": " + rom::SaveFailureText(target) + "; it is unchanged");
  }
}

}  // namespace cli
