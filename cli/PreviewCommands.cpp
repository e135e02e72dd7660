// retime and screen: a mode at another refresh rate, and the text screen a mode shows, before the image is flashed.
#include <CLI/CLI.hpp>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "cli/CFieldCatalog.h"
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/ImageFile.h"
#include "cli/ModeRetime.h"
#include "cli/ShownMode.h"
#include "pages/identity/CVendorSignOnStr.h"
#include "rom/fonts/PngSheet.h"
#include "rom/screen/TextScreen.h"

namespace cli {
namespace {

using rom::timing::SyncPolarity;

// Larger than any screen of text: 256 columns of 1024 rows.
constexpr std::uintmax_t kMaxTextFileSize = 1 << 20;

double ParseRate(const std::string& text) {
  double hz = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, hz, std::chars_format::fixed);
  if (error != std::errc{} || stop != end || !std::isfinite(hz) || hz <= 0) {
    throw CliError(kUsage, "HZ is a refresh rate in Hz, a decimal number above 0 such as 60 or 59.94, not " + text);
  }
  return hz;
}

SyncPolarity PolarityFor(const std::string& lines) {
  if (lines == "350") return SyncPolarity::k350;
  if (lines == "400") return SyncPolarity::k400;
  if (lines == "480") return SyncPolarity::k480;
  return SyncPolarity::kKeep;
}

// Runs `work` on the image with an editor on it, with its errors naming the file.
template <class Work>
void OnImage(const std::filesystem::path& path, Work work) {
  LoadImage(ReadImageFile(path));
  CFieldCatalog catalog;
  try {
    work(catalog);
  } catch (const CliError& e) {
    throw CliError(e.status(),
                   FileName(path) + ": " + e.what() + (e.status() == kRefused ? "; nothing was written" : ""));
  }
}

int Retime(const std::filesystem::path& path, const std::string& mode, const std::string& rate,
           const std::string& polarity, const std::filesystem::path& out) {
  const double hz = ParseRate(rate);
  ModeRetiming r;
  OnImage(path, [&](CFieldCatalog& catalog) { r = RetimeMode(catalog, mode, hz, PolarityFor(polarity)); });
  SaveImage(path, out);

  const std::uint8_t miscBefore = r.mode.record[rom::timing::kMiscOutputByte];
  const std::uint8_t miscAfter = r.retiming.record[rom::timing::kMiscOutputByte];
  std::cout << r.mode.row << "\nbefore:\n"
            << TimingText(r.retiming.before) << "after:\n"
            << TimingText(r.retiming.after) << "sync: " << rom::timing::SyncText(miscAfter)
            << (miscAfter == miscBefore ? ", kept" : ", was " + rom::timing::SyncText(miscBefore)) << "\n";
  for (const FieldChange& change : r.changes) {
    std::cout << change.name << ": " << change.before << " -> " << change.after << "\n";
  }
  if (r.changes.empty()) std::cout << "no register changed\n";
  return kOk;
}

std::string ReadTextFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) throw CliError(kFileError, FileName(path) + ": no such file");
  if (std::filesystem::file_size(path, error) > kMaxTextFileSize) {
    throw CliError(kRefused, FileName(path) + ": larger than 1 MB, more than any screen shows");
  }
  std::ifstream in(path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw CliError(kFileError, FileName(path) + ": cannot be read");
  return text;
}

// The sign-on text as the Sign-on String page shows it, back in the bytes it stands for.
std::string SignOnText(CFieldCatalog& catalog) {
  std::string text = catalog.Get("sign-on.text");
  CVendorSignOnStr::DecodeNewlines(text);
  CVendorSignOnStr::DecodeNulBytes(text);
  return text;
}

int Screen(const std::filesystem::path& path, const std::filesystem::path& out, const std::string& mode,
           const std::filesystem::path& textFile) {
  const std::string fileText = textFile.empty() ? "" : ReadTextFile(textFile);
  rom::screen::TextScreen screen;
  std::string row;
  OnImage(path, [&](CFieldCatalog& catalog) {
    const std::string text = textFile.empty() ? SignOnText(catalog) : fileText;
    const ShownMode shown = ShowMode(catalog, mode);
    screen = rom::screen::DrawTextScreen(shown.record, text);
    if (!screen.problem.empty()) throw CliError(kRefused, shown.row + ": " + screen.problem);
    row = shown.row;
  });
  const std::vector<std::uint8_t> png = rom::fonts::EncodeGreyPng(screen.width, screen.height, screen.pixels);
  std::ofstream file(out, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  file.close();
  if (!file || png.empty()) throw CliError(kFileError, FileName(out) + ": could not be written");
  std::cout << row << ": " << screen.width << "x" << screen.height << " dots, " << screen.columns << "x" << screen.rows
            << " characters of " << screen.cellWidth << "x" << screen.cellHeight << "\n";
  if (screen.rowsLeftOut > 0) {
    std::cerr << "ombrix: " << screen.rowsLeftOut << " rows of text below the screen's " << screen.rows
              << " were left out\n";
  }
  return kOk;
}

}  // namespace

void AddPreviewCommands(CLI::App& app, int& status) {
  struct Options {
    std::filesystem::path image, out, text;
    std::string mode = "2+3+", rate, polarity;
  };
  auto options = std::make_shared<Options>();

  CLI::App* retime =
      app.add_subcommand("retime", "Moves a mode to another refresh rate at the same line rate, keeping the picture");
  retime->add_option("IMAGE", options->image, "the image file")->required();
  retime->add_option("MODE", options->mode, "the mode, named as in field names: 3, 2+3+, 3star, 101h")->required();
  retime->add_option("HZ", options->rate, "the refresh rate wanted, in Hz (e.g. 59.94)")->required();
  retime->add_option("--polarity", options->polarity, "give the sync polarities a VGA gives this many lines")
      ->check(CLI::IsMember({"350", "400", "480"}));
  retime->add_option("-o,--output", options->out, "write to this file instead of IMAGE");
  retime->callback([options, &status] {
    status = Retime(options->image, options->mode, options->rate, options->polarity, options->out);
  });
  retime->footer(
      "The vertical total whose refresh rate is nearest to HZ is taken. Display, clock and every horizontal value\n"
      "stay; the retrace keeps its width, the lines added or taken go to the margins above and below the picture\n"
      "in the proportion they had, and the blanking keeps its distance from the picture. The sync polarities are\n"
      "kept unless --polarity asks otherwise. The values are typed into the Parameter Table page and applied; a\n"
      "mode on an external clock, or a rate the registers cannot hold or that leaves no room for blanking and\n"
      "retrace, is refused (status 2) and nothing is written.\n" +
      std::string(kExitStatusHelp));

  CLI::App* screen = app.add_subcommand("screen", "Draws the text screen of a text mode as the card shows it (PNG)");
  screen->add_option("IMAGE", options->image, "the image file")->required();
  screen->add_option("OUT", options->out, "the PNG file to write")->required();
  screen->add_option("--mode", options->mode, "the text mode, named as in field names (default 2+3+)");
  screen->add_option("--text", options->text, "draw this file's bytes instead of the sign-on text");
  screen->callback([options, &status] { status = Screen(options->image, options->out, options->mode, options->text); });
  screen->footer(
      "At the mode's resolution (720x400 for 2+3+), light grey on black, from the top left corner; CR LF or LF\n"
      "ends a line. Each character comes from the font of the mode's character height; in 9-dot modes the\n"
      "fix-up table's glyphs replace the font's, and the ninth column repeats the eighth for C0h..DFh when the\n"
      "mode's line-graphics bit (Attribute Mode Control bit 2) is set.\n" +
      std::string(kExitStatusHelp));
}

}  // namespace cli
