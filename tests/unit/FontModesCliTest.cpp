// ombrix font and ombrix modes on the sample image: fonts out and back in leave the image
// byte-identical, refusals write nothing, and the modes show their published rates.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/Run.h"
#include "tests/support/PageTest.h"
#include "tools/SampleRom.h"

namespace {

using testing_support::Bytes;
using testing_support::TempFolder;

class FontModesCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rom::ResetRomState();
    TempFolder::WriteBytes(folder / "sample.rom", sample);
  }
  Bytes Read(const std::string& name) { return TempFolder::ReadBytes(folder / name); }

  // Runs ombrix; an argument with a dot in it names a file in the folder. Returns the exit status.
  int Ombrix(std::vector<std::string> args) {
    std::vector<const char*> argv = {"ombrix"};
    for (std::string& arg : args) {
      if (arg.find('.') != std::string::npos && arg.find('=') == std::string::npos) arg = (folder / arg).string();
      argv.push_back(arg.c_str());
    }
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int status = cli::Run(static_cast<int>(argv.size()), argv.data());
    out = ::testing::internal::GetCapturedStdout();
    err = ::testing::internal::GetCapturedStderr();
    return status;
  }

  TempFolder folder;
  const Bytes sample = sample_rom::BuildSampleRom(sample_rom::SampleFonts{}).bytes();
  std::string out, err;
};

TEST_F(FontModesCliTest, FontsGoOutAndBackInByteForByte) {
  const std::pair<const char*, const char*> files[] = {{"8x8", "a.f08"},   {"8x14", "a.psf2"}, {"8x16", "a.psf"},
                                                       {"9x14", "a.json"}, {"9x16", "b.json"}, {"8x16", "a.png"}};
  for (const auto& [font, file] : files) {
    ASSERT_EQ(Ombrix({"font", "export", "sample.rom", font, file}), 0) << err;
  }
  const Bytes png = Read("a.png");
  ASSERT_GT(png.size(), 4u);
  EXPECT_EQ(Bytes(png.begin(), png.begin() + 4), (Bytes{0x89, 'P', 'N', 'G'}));
  // Into an image whose three full fonts were wiped, so that an import that writes nothing is seen;
  // the first writes a new file, the others change it in place.
  Bytes wiped = sample;
  std::fill(wiped.begin() + 0x1000, wiped.begin() + 0x3600, 0);
  TempFolder::WriteBytes(folder / "wiped.rom", wiped);
  std::vector<std::string> output = {"-o", "back.rom"};
  for (const auto& [font, file] : files) {
    if (std::string(file) == "a.png") continue;
    std::vector<std::string> args = {"font", "import", output.empty() ? "back.rom" : "wiped.rom", font, file};
    args.insert(args.end(), output.begin(), output.end());
    output.clear();
    ASSERT_EQ(Ombrix(args), 0) << file << ": " << err;
  }
  EXPECT_EQ(Read("back.rom"), sample);
  EXPECT_EQ(Read("wiped.rom"), wiped);
}

TEST_F(FontModesCliTest, RefusedImportsNameTheProblemAndWriteNothing) {
  ASSERT_EQ(Ombrix({"font", "export", "sample.rom", "8x16", "a.psf"}), 0);
  const Bytes psf = Read("a.psf");
  TempFolder::WriteBytes(folder / "cut.psf", Bytes(psf.begin(), psf.end() - 16));
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* err;
  };
  const Case cases[] = {
      {{"font", "import", "sample.rom", "8x16", "cut.psf"}, 2, "cut.psf: the file ends after 4084 bytes"},
      {{"font", "import", "sample.rom", "8x14", "a.psf"}, 2, "16 rows high; this font's are 14"},
      {{"font", "import", "sample.rom", "8x9", "a.psf"}, 3, "there is no font 8x9"},
      {{"font", "import", "sample.rom", "8x16", "missing.psf"}, 4, "missing.psf: no such file"},
      {{"font", "export", "sample.rom", "9x16", "a.f16"}, 2, "9x16 fix-up table goes in and out as a .json"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Ombrix(c.args), c.status) << c.err;
    EXPECT_NE(err.find(c.err), std::string::npos) << err;
    EXPECT_EQ(Read("sample.rom"), sample);
  }
}

TEST_F(FontModesCliTest, ModesShowEveryRowWithItsRatesAndFollowAnEdit) {
  ASSERT_EQ(Ombrix({"modes", "sample.rom"}), 0) << err;
  EXPECT_NE(out.find("Mode 3 - 80x25 Color Text (8x8 Cell)\n  clock 25.175 MHz, 8-dot characters, double scan\n"
                     "  horizontal: total 100, display 80, blank 80-98, retrace 85-97 characters\n"
                     "  vertical: total 449, display 400, blank 406-441, retrace 412-414 lines\n"
                     "  31.47 kHz, 70.09 Hz\n"),
            std::string::npos)
      << out;
  // The worked example of the README: mode 3+ from 449 to 525 lines, 70 Hz to 60 Hz.
  ASSERT_EQ(Ombrix({"set", "sample.rom", "modes.2+3+.crtc.6=0B", "modes.2+3+.crtc.7=3E", "modes.2+3+.crtc.16=0B"}), 0)
      << err;
  ASSERT_EQ(Ombrix({"modes", "sample.rom", "--json"}), 0) << err;
  const nlohmann::json modes = nlohmann::json::parse(out)["modes"];
  ASSERT_EQ(modes.size(), 28u);
  struct Row {
    std::size_t row;
    const char* text;
    double kHz, hz;
  };
  for (const Row& r : {Row{0, "Mode 0 - 40x25 Color Text (8x8 Cell)", 31.469, 70.086},
                       Row{17, "Mode 2+/3+ - 80x25 Color Text (9x16 Cell)", 31.469, 59.94},
                       Row{20, "Mode 12 - 640x480x4 Color Graphics (8x16 Cell)", 31.469, 59.94},
                       Row{22, "Mode 100h - 640x400 8 BPP graphics (8x16)", 31.469, 70.086}}) {
    EXPECT_EQ(modes[r.row]["mode"], r.text);
    EXPECT_NEAR(modes[r.row]["horizontalKHz"].get<double>(), r.kHz, 0.001) << r.text;
    EXPECT_NEAR(modes[r.row]["refreshHz"].get<double>(), r.hz, 0.0015) << r.text;
  }
  EXPECT_EQ(modes[17]["vertical"]["total"], 525);
}

}  // namespace
