// info, verify and fix-checksum: the image as a whole.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/ArgumentPath.h"
#include "cli/CFieldCatalog.h"
#include "cli/CHeadlessEditor.h"
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/ImageFile.h"
#include "cli/Output.h"
#include "pages/modes/ModeNames.h"
#include "rom/ImageMap.h"
#include "rom/RomImage.h"
#include "rom/ValueText.h"

namespace cli {
namespace {

// A field's text, or what its page said instead.
struct Shown {
  std::string text;
  std::string problem;
};

Shown ShowField(CFieldCatalog& catalog, const std::string& name) {
  try {
    return {catalog.Get(name), {}};
  } catch (const CliError& e) {
    return {{}, e.what()};
  }
}

nlohmann::json ShownJson(const Shown& shown) {
  return shown.problem.empty() ? nlohmann::json(JsonText(shown.text)) : nlohmann::json(nullptr);
}

std::string ShownText(const Shown& shown) {
  return shown.problem.empty() ? shown.text : "(" + shown.problem + ")";
}

// The checksum over the declared length, or nothing when the file ends before it.
struct Checksum {
  bool known = false;
  std::uint32_t offset = 0;
  std::uint8_t stored = 0, computed = 0;
};

Checksum ChecksumOf(const rom::OptionRom& rom) {
  if (!rom.LengthProblem().empty()) return {};
  return {true, rom.ChecksumOffset(), rom.StoredChecksum(), rom.ComputedChecksum()};
}

std::string ChecksumText(const Checksum& c) {
  if (!c.known) return "not known: the file ends before the length its header declares";
  // At 7FFFh, where this adapter's images keep it, the offset goes without saying.
  const std::string at = c.offset == rom::kChecksumOffset ? "" : " at " + rom::HexText(c.offset, 4) + "h";
  return "stored " + rom::HexText(c.stored, 2) + "h" + at + ", computed " + rom::HexText(c.computed, 2) + "h" +
         (c.stored == c.computed ? ", correct" : ", WRONG");
}

// What the header declares, when that is not the file's size.
std::string DeclaredText(const rom::OptionRom& rom) {
  const std::uint32_t declared = rom.DeclaredLength();
  const std::uintmax_t size = rom.file().size();
  if (declared == size) return "";
  const std::string length =
      std::to_string(declared) + " bytes (" + rom::HexText(rom.DeclaredBlocks(), 2) + "h blocks of 512)";
  if (size > declared) return length + "; the file holds " + std::to_string(size - declared) + " more past them";
  return length + "; the file ends " + std::to_string(declared - size) + " bytes before";
}

int Info(const std::filesystem::path& path, bool json) {
  const ImageFile file = ReadImageFile(path);
  LoadImage(file);
  CFieldCatalog catalog;
  const Shown signOn = ShowField(catalog, "sign-on.text");
  const Shown vendor = ShowField(catalog, "sub-vendor.vendor-id");
  const Shown device = ShowField(catalog, "sub-vendor.device-id");
  const rom::ImageMap map = rom::MapImage();
  const Checksum checksum = ChecksumOf(file.rom);

  if (json) {
    nlohmann::json structures = nlohmann::json::array();
    for (const rom::MappedStructure& s : map.structures) {
      structures.push_back({{"name", s.name},
                            {"offset", s.offset},
                            {"length", s.length},
                            {"inside", s.problem.empty()},
                            {"problem", s.problem}});
    }
    const nlohmann::json sum = checksum.known ? nlohmann::json{{"offset", checksum.offset},
                                                               {"stored", checksum.stored},
                                                               {"computed", checksum.computed},
                                                               {"correct", checksum.stored == checksum.computed}}
                                              : nlohmann::json(nullptr);
    PrintJson({{"file", FileName(path)},
               {"size", file.size()},
               {"declaredLength", file.rom.DeclaredLength()},
               {"valid", file.Valid()},
               {"problem", file.Problem()},
               {"checksum", sum},
               {"signOn", ShownJson(signOn)},
               {"subsystemVendorId", ShownJson(vendor)},
               {"subsystemDeviceId", ShownJson(device)},
               {"modes", {{"standard", kStdRowCount}, {"extended", map.extendedModes}}},
               {"fixups", {{"9x14", map.fixups9x14}, {"9x16", map.fixups9x16}}},
               {"structures", structures}});
    return kOk;
  }
  const std::string declared = DeclaredText(file.rom);
  std::cout << "file:       " << FileName(path) << "\n"
            << "size:       " << file.size() << " bytes\n"
            << (declared.empty() ? "" : "declared:   " + declared + "\n") << "signature:  55 AA\n"
            << "checksum:   " << ChecksumText(checksum) << "\n"
            << "valid:      " << (file.Valid() ? "yes" : "no, " + file.Problem()) << "\n"
            << "sign-on:    " << ShownText(signOn) << "\n"
            << "vendor ID:  " << ShownText(vendor) << "\n"
            << "device ID:  " << ShownText(device) << "\n"
            << "modes:      " << kStdRowCount << " standard, " << map.extendedModes << " extended\n"
            << "fix-ups:    " << map.fixups9x14 << " in 9x14, " << map.fixups9x16 << " in 9x16\n"
            << "structures:\n";
  for (const rom::MappedStructure& s : map.structures) {
    std::cout << "  " << s.name << std::string(s.name.size() < 32 ? 32 - s.name.size() : 1, ' ');
    if (s.problem.empty()) {
      std::cout << rom::HexText(s.offset, 4) << "h-" << rom::HexText(s.offset + s.length - 1, 4) << "h  " << s.length
                << " bytes\n";
    } else {
      std::cout << "OUTSIDE: " << s.problem << "\n";
    }
  }
  return kOk;
}

int Verify(const std::vector<ArgumentPath>& paths, bool json) {
  nlohmann::json files = nlohmann::json::array();
  bool allValid = true;
  for (const std::filesystem::path& path : paths) {
    std::string problem;
    try {
      problem = ReadImageFile(path).Problem();
    } catch (const CliError& e) {
      problem = e.what();
      // The reading error names the file already.
      problem = problem.substr(problem.find(": ") + 2);
    }
    allValid = allValid && problem.empty();
    if (json) {
      files.push_back({{"file", FileName(path)}, {"valid", problem.empty()}, {"problem", problem}});
    } else {
      std::cout << FileName(path) << ": " << (problem.empty() ? "valid" : problem) << "\n";
    }
  }
  if (json) PrintJson({{"valid", allValid}, {"files", files}});
  return allValid ? kOk : kDiffers;
}

int FixChecksum(const std::filesystem::path& path, const std::filesystem::path& out) {
  ImageFile file = ReadImageFile(path);
  WholeOptionRom(file);
  SaveOptionRom(file, out);
  return kOk;
}

void Footer(CLI::App* command) {
  command->footer(kExitStatusHelp);
}

}  // namespace

void AddImageCommands(CLI::App& app, int& status) {
  struct Options {
    ArgumentPath image, out;
    std::vector<ArgumentPath> images;
    bool json = false;
  };
  auto options = std::make_shared<Options>();

  CLI::App* info = app.add_subcommand(
      "info", "Size and declared length, checksum, where each structure lies, the sign-on text, the IDs");
  info->add_option("IMAGE", options->image, "the image file")->required();
  info->add_flag("--json", options->json, "one JSON document");
  info->callback([options, &status] { status = Info(options->image, options->json); });
  Footer(info);

  CLI::App* verify = app.add_subcommand(
      "verify", "One line per file: a whole option ROM whose declared length adds up to 0, or what is wrong");
  verify->add_option("IMAGE", options->images, "the image files")->required();
  verify->add_flag("--json", options->json, "one JSON document");
  verify->callback([options, &status] { status = Verify(options->images, options->json); });
  Footer(verify);

  CLI::App* fix = app.add_subcommand(
      "fix-checksum", "Recomputes the checksum byte, the last of the declared length, and saves the image");
  fix->add_option("IMAGE", options->image, "the image file")->required();
  fix->add_option("-o,--output", options->out, "write to this file instead of IMAGE");
  fix->callback([options, &status] { status = FixChecksum(options->image, options->out); });
  Footer(fix);
}

}  // namespace cli
