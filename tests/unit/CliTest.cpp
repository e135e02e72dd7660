// ombrix on the sample image and on damaged ones: exit statuses, what it prints,
// files left byte-identical when it refuses, and the same bytes as the window.
// Whole fonts to and from files, on the sample image and Debian's console fonts.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <nlohmann/json.hpp>
#include <numeric>
#include <random>
#include <set>
#include <sstream>

#include "cli/CFieldCatalog.h"
#include "cli/ExitStatus.h"
#include "cli/Run.h"
#include "rom/FontLayout.h"
#include "rom/ImageMap.h"
#include "rom/RomFile.h"
#include "rom/ValueText.h"
#include "rom/fonts/FontFinder.h"
#include "rom/fonts/FontTransfer.h"
#include "rom/timing/ModeTiming.h"
#include "rom/timing/Retime.h"
#include "tests/support/PageTest.h"
#include "tools/SampleRom.h"

#include "tests/support/StbImage.h"

namespace {

using namespace testing_support;

// `bytes` as a gzip file, as Debian ships its console fonts.
Bytes Gzip(const Bytes& bytes) {
  TempFolder folder;
  gzFile file = gzopen((folder / "f.gz").string().c_str(), "wb");
  gzwrite(file, bytes.data(), static_cast<unsigned>(bytes.size()));
  gzclose(file);
  return TempFolder::ReadBytes(folder / "f.gz");
}

// `bytes` with the little-endian word of 32 bits at `at` set to `value`.
Bytes With(Bytes bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  return bytes;
}

Bytes BytesOf(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

// A fix-up file whose records have `codes`, each with `rows` rows of the value `row`.
Bytes FixupFile(std::initializer_list<const char*> codes, std::size_t rows, const nlohmann::json& row = "81") {
  nlohmann::json records = nlohmann::json::array();
  for (const char* code : codes) records.push_back({{"code", code}, {"rows", std::vector<nlohmann::json>(rows, row)}});
  return BytesOf(nlohmann::json{{"records", records}}.dump());
}

// How the names of the files in the test folder end.
constexpr std::string_view kFileEndings[] = {".rom", ".psf", ".psf2", ".gz", ".f08", ".F14", ".f16", ".json", ".png"};

struct Outcome {
  int status;
  std::string out, err;
};

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rom::ResetRomState();
    sampleRom.Load();
    sample = sampleRom.bytes();
    Write("sample.rom", sample);
    Bytes wrong = sample;
    wrong[0] = 0x4D;
    Write("wrong.rom", wrong);
    Write("short.rom", Bytes(sample.begin(), sample.begin() + 100));
    // The OEM pointer word sends every structure behind it past the end of the image; a text byte of E9h.
    Bytes outside = sample;
    outside[0x50] = 0xFC;
    outside[0x51] = 0x7F;
    outside[0x40] = 0xE9;
    Write("outside.rom", outside);
  }
  void Write(const std::string& name, const Bytes& bytes) { TempFolder::WriteBytes(folder / name, bytes); }
  Bytes Read(const std::string& name) { return TempFolder::ReadBytes(folder / name); }

  // Runs ombrix with `args`; a file name among them stands for the file in the folder.
  Outcome Ombrix(std::vector<std::string> args) {
    std::vector<const char*> argv = {"ombrix"};
    for (std::string& arg : args) {
      const bool file = arg.find_first_of("=/") == std::string::npos &&
                        std::any_of(std::begin(kFileEndings), std::end(kFileEndings), [&](std::string_view end) {
                          return arg.size() > end.size() && arg.ends_with(end);
                        });
      if (file) arg = (folder / arg).string();
      argv.push_back(arg.c_str());
    }
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int status = cli::Run(static_cast<int>(argv.size()), argv.data());
    std::string out = ::testing::internal::GetCapturedStdout();
    return {status, out, ::testing::internal::GetCapturedStderr()};
  }

  struct Command {
    std::vector<std::string> args;
    int status;
    std::string out, err;
  };
  // Runs `c`: its status, `out` within stdout, `err` within stderr (an empty `err`: nothing on stderr).
  void Expect(const Command& c) {
    const Outcome o = Ombrix(c.args);
    const std::string what = c.args[0] + " " + c.args.back();
    EXPECT_EQ(o.status, c.status) << what << "\n" << o.err;
    EXPECT_NE(o.out.find(c.out), std::string::npos) << what << "\n" << o.out.substr(0, 2000);
    EXPECT_TRUE(c.err.empty() ? o.err.empty() : o.err.find(c.err) != std::string::npos) << what << "\n" << o.err;
  }

  static const rom::FontKind& Kind(const std::string& name) { return *rom::FindFontKind(name); }
  Bytes Export(const std::string& font, const std::string& name) {
    Bytes out;
    std::string error;
    EXPECT_TRUE(rom::fonts::ExportFont(Kind(font), name, out, error)) << error;
    return out;
  }
  // Imports and expects a refusal naming `problem` that leaves the image as it was.
  void ExpectRefused(const std::string& font, const std::string& name, const Bytes& bytes, const std::string& problem) {
    const Bytes before = ImageBytes();
    std::string note, error;
    EXPECT_FALSE(rom::fonts::ImportFont(Kind(font), name, bytes, note, error)) << font << " " << name;
    EXPECT_NE(error.find(problem), std::string::npos) << name << ": " << error;
    EXPECT_EQ(ImageBytes(), before) << name;
  }
  // Overwrites every glyph row of the font, so that an import that writes nothing is seen.
  static void Wipe(const rom::FontKind& kind) {
    std::vector<std::uint32_t> starts{rom::LocateFullFont(kind).offset};
    std::string error;
    if (kind.fixup) rom::LocateFixupRecords(kind, starts, error);  // rows after each record's code byte
    const std::uint32_t skip = kind.fixup ? 1 : 0, length = kind.fixup ? kind.height : 256u * kind.height;
    for (std::uint32_t first : starts) {
      for (std::uint32_t i = 0; i < length; ++i) rom::RomImage.SetByte(first + skip + i, 0xA5);
    }
  }

  TempFolder folder;
  testing_support::RomBuilder sampleRom = sample_rom::BuildSampleRom(sample_rom::SampleFonts{});
  Bytes sample;
};

TEST_F(CliTest, CommandsOnSampleAndDamagedImages) {
  ASSERT_EQ(Ombrix({"font", "export", "sample.rom", "8x16", "a.psf"}).status, 0);
  const Command cases[] = {
      {{"info", "sample.rom"}, 0, "valid:      yes", ""},
      {{"info", "sample.rom"}, 0, "modes:      22 standard, 6 extended", ""},
      {{"info", "sample.rom"}, 0, "sign-on:    Ombrix VGA BIOS Version 1.0<NEWLINE>Copyright", ""},
      {{"info", "short.rom"}, 0, "valid:      no, only 100 bytes long", ""},
      {{"info", "outside.rom"}, 0, "memory configuration record     OUTSIDE: ", ""},
      {{"info", "wrong.rom"}, 4, "", "wrong.rom: not a VGA BIOS ROM image: it does not begin with 55 AA"},
      {{"info", "missing.rom"}, 4, "", "missing.rom: no such file"},
      {{"verify", "sample.rom"}, 0, "sample.rom: valid", ""},
      {{"verify", "sample.rom", "short.rom"}, 1, "short.rom: only 100 bytes long", ""},
      {{"verify", "wrong.rom"}, 1, "wrong.rom: not a VGA BIOS ROM image", ""},
      {{"fields", "sample.rom", "memory"}, 0, "memory.pciinit0=", ""},
      {{"fields", "sample.rom"}, 0, "\nfonts.9x16.1d.15=", ""},
      {{"fields", "outside.rom"}, 0, "signature.1=\xE9\n", "Sign-on String: The OEM pointer table"},
      {{"info", "outside.rom", "--json"}, 0, "\"correct\": false", ""},
      {{"info", "sample.rom", "--json"}, 0, "\"subsystemVendorId\": \"1A5E\"", ""},
      {{"get", "outside.rom", "signature.1", "--json"}, 0, "\"text\": \"\u00E9\"", ""},  // every byte of a text
      {{"get", "sample.rom", "sub-vendor.vendor-id", "modes.101h.rows", "modes.101h.char-height", "modes.101h.native",
        "modes.101h.double-scan"},
       0,
       "1A5E\n1D\n10\n1\n0\n",
       ""},
      {{"get", "sample.rom", "signature.3.hex", "fonts.8x8.41.7"}, 0, "42\n00\n", ""},
      {{"get", "outside.rom", "sign-on.text"}, 2, "", "sign-on.text: The OEM pointer table"},
      {{"get", "sample.rom", "memory.nothing"}, 3, "", "there is no field memory.nothing"},
      {{"get", "sample.rom", "fonts.8x8.41.8"}, 3, "", "there is no field fonts.8x8.41.8"},
      {{"get", "short.rom", "modes.101h.rows"}, 3, "", "no field modes.101h.rows"},
      {{"diff", "sample.rom", "sample.rom"}, 0, "", ""},
      {{"diff", "sample.rom", "outside.rom"},
       1,
       "Bytes that no field shows:\n  0050h-0051h  OEM pointer word",
       "OEM pointer table at offset 7FFCh (16 bytes)"},
      {{"font", "import", "sample.rom", "8x14", "a.psf"}, 2, "", "16 rows high; this font's are 14"},
      {{"font", "import", "sample.rom", "8x9", "a.psf"}, 3, "", "there is no font 8x9"},
      {{"font", "import", "sample.rom", "8x16", "missing.psf"}, 4, "", "missing.psf: no such file"},
      {{"font", "export", "sample.rom", "9x16", "a.f16"}, 2, "", "9x16 fix-up table goes in and out as a .json"},
      {{"font", "export", "outside.rom", "9x16", "a.json"}, 2, "", "The OEM pointer table at offset 7FFCh"},
      // Refused edits: the file stays as it was.
      {{"set", "sample.rom", "memory.pllctrl1=1", "modes.12.pixel-format=9"}, 2, "", "between 0 and 7"},  // all or none
      {{"set", "sample.rom", "sub-vendor.vendor-id=12345"}, 2, "", "no more than 4 characters"},
      {{"set", "sample.rom", "sign-on.text=" + std::string(121, 'x')}, 2, "", "at most 120 bytes fit"},
      {{"set", "sample.rom", "modes.3.native=2"}, 2, "", "a check box takes 0 or 1"},
      {{"set", "outside.rom", "memory.pllctrl1=1"}, 2, "", "outside.rom: memory.pllctrl1: The OEM pointer"},
      {{"set", "sample.rom", "no.such=1"}, 3, "", "there is no field no.such"},
      {{"set", "sample.rom", "memory.pllctrl1"}, 3, "", "expected FIELD=TEXT"},
      {{"bogus"}, 3, "", "A subcommand is required"},
  };
  const Bytes outside = Read("outside.rom");
  for (const Command& c : cases) Expect(c);
  EXPECT_EQ(Read("sample.rom"), sample);
  EXPECT_EQ(Read("outside.rom"), outside);
  // Every box of every list entry once: none left out, none read past the end of a list.
  const std::string fields = Ombrix({"fields", "sample.rom"}).out;
  EXPECT_EQ(std::count(fields.begin(), fields.end(), '\n'), 12272);
}

TEST_F(CliTest, SetSavesWithTheChecksumAndDiffShowsIt) {
  Bytes broken = sample;
  broken[0x7000] ^= 0xFF;  // a byte no structure holds; the checksum is wrong now
  broken.resize(rom::kRomSize + 3, 0xEE);
  Write("b.rom", broken);
  ASSERT_EQ(Ombrix({"set", "b.rom", "memory.pllctrl1=ab", "sign-on.text=Hi"}).status, 0);
  EXPECT_EQ(Ombrix({"verify", "b.rom"}).status, 0);
  EXPECT_EQ(Read("b.rom").size(), rom::kRomSize + 3);
  EXPECT_EQ(Ombrix({"get", "b.rom", "memory.pllctrl1", "sign-on.text"}).out, "000000AB\nHi\n");
  const Outcome diff = Ombrix({"diff", "sample.rom", "b.rom"});
  EXPECT_EQ(diff.status, 1);
  EXPECT_NE(diff.out.find("Memory Configuration:\n  memory.pllctrl1: 00003A0D -> 000000AB\n"), std::string::npos);
  EXPECT_NE(diff.out.find("Bytes outside every known structure:\n  7000h\n"), std::string::npos) << diff.out;

  const nlohmann::json json = nlohmann::json::parse(Ombrix({"diff", "sample.rom", "b.rom", "--json"}).out);
  EXPECT_EQ(json["equal"], false);
  EXPECT_EQ(json["outside"][0]["from"], 0x7000);
  EXPECT_EQ(json["fields"][1]["new"], "000000AB");

  Write("c.rom", broken);
  ASSERT_EQ(Ombrix({"fix-checksum", "c.rom", "-o", "d.rom"}).status, 0);
  EXPECT_EQ(Ombrix({"verify", "c.rom"}).status, 1);
  EXPECT_EQ(Ombrix({"verify", "d.rom"}).status, 0);
}

// set and fix-checksum through a link write the image it leads to and keep the link; through a link that leads
// nowhere, round in a circle or into a folder that takes no new file they say why and change nothing.
TEST_F(CliTest, SavesThroughALinkReachTheImageOrSayWhyNot) {
  namespace fs = std::filesystem;
  Bytes broken = sample;
  broken[0x7000] ^= 0xFF;
  Write("card.rom", broken);
  fs::create_symlink("card.rom", folder / "current.rom");
  ASSERT_EQ(Ombrix({"set", "current.rom", "memory.pllctrl1=1234"}).err, "");
  EXPECT_EQ(Ombrix({"get", "card.rom", "memory.pllctrl1"}).out, "00001234\n");
  Write("card.rom", broken);
  ASSERT_EQ(Ombrix({"fix-checksum", "sample.rom", "-o", "current.rom"}).status, 0);
  EXPECT_EQ(Read("card.rom"), sample);
  EXPECT_EQ(fs::read_symlink(folder / "current.rom"), "card.rom");

  fs::create_directory(folder / "locked");
  Write("locked/card.rom", sample);
  fs::permissions(folder / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  fs::create_symlink("locked/card.rom", folder / "locked.rom");
  fs::create_symlink("gone.rom", folder / "dangling.rom");
  fs::create_symlink("loop.rom", folder / "loop.rom");
  const std::vector<std::string> tree = folder.Tree();
  const struct {
    std::string link;
    std::vector<std::string> args;
    std::string why;
  } refusals[] = {
      {"dangling.rom",
       {"set", "sample.rom", "memory.pllctrl1=1", "-o", "dangling.rom"},
       "could not be written: it is a symbolic link to nothing that exists"},
      {"loop.rom",
       {"fix-checksum", "sample.rom", "-o", "loop.rom"},
       "could not be written: its symbolic links lead round in a circle"},
      {"locked.rom",
       {"set", "locked.rom", "memory.pllctrl1=1"},
       "could not be written to " + (fs::canonical(folder / "locked") / "card.rom").string() +
           ", where its symbolic link leads"},
  };
  for (const auto& r : refusals) {
    const Outcome o = Ombrix(r.args);
    EXPECT_EQ(o.status, 4) << r.link;
    EXPECT_EQ(o.err, "ombrix: " + (folder / r.link).string() + ": " + r.why + "; it is unchanged\n");
  }
  EXPECT_EQ(folder.Tree(), tree);
  EXPECT_EQ(Read("locked/card.rom"), sample);
  fs::permissions(folder / "locked", fs::perms::owner_all);
}

// Every format, in two rounds that each take every font once: out of the sample image, then back into one whose
// glyph rows were all wiped, so that an import that writes nothing is seen. The first import of a round writes a
// new file, the others change it in place.
TEST_F(CliTest, FontsGoOutAndBackInByteForByte) {
  const std::vector<std::pair<std::string, std::string>> rounds[] = {
      {{"8x8", "a.f08"}, {"8x14", "a.F14"}, {"8x16", "a.f16"}, {"9x14", "a.json"}, {"9x16", "b.json"}},
      {{"8x8", "b.psf"}, {"8x14", "b.psf2"}, {"8x16", "c.psf.gz"}, {"9x14", "a.json"}, {"9x16", "b.json"}}};
  for (const auto& round : rounds) {
    for (const auto& [font, file] : round) {
      ASSERT_EQ(Ombrix({"font", "export", "sample.rom", font, file.substr(0, file.find(".gz"))}).status, 0);
    }
  }
  Write("c.psf.gz", Gzip(Read("c.psf")));
  ASSERT_EQ(Ombrix({"font", "export", "sample.rom", "8x16", "a.png"}).status, 0);
  const Bytes png = Read("a.png");
  EXPECT_TRUE(png.size() > 4 && png[0] == 0x89 && png[1] == 'P' && png[2] == 'N' && png[3] == 'G');
  for (const rom::FontKind& kind : rom::kFontKinds) Wipe(kind);
  const Bytes wiped = ImageBytes();
  Write("wiped.rom", wiped);
  for (const auto& round : rounds) {
    for (const auto& [font, file] : round) {
      const Outcome o = file == round[0].second ? Ombrix({"font", "import", "wiped.rom", font, file, "-o", "back.rom"})
                                                : Ombrix({"font", "import", "back.rom", font, file});
      EXPECT_EQ(o.status, 0) << file;
      EXPECT_EQ(o.err, "") << file;
    }
    EXPECT_EQ(Read("back.rom"), sample);
  }
  EXPECT_EQ(Read("wiped.rom"), wiped);
}

// Mode timings against the VGA's published figures: a halved clock, a retrace that wraps past its start, 9-dot
// characters, 350 and 480 lines, and mode 13h's two scan lines a row without the double-scan bit. Then the worked
// example of the README: mode 3+ from 449 to 525 lines, 70 Hz to 60 Hz; the extended modes have rates too.
TEST_F(CliTest, ModesShowThePublishedTimingsAndFollowAnEdit) {
  const std::string text = Ombrix({"modes", "sample.rom"}).out;
  for (const char* mode :
       {"Mode 0 - 40x25 Color Text (8x8 Cell)\n  clock 12.588 MHz (/2), 8-dot characters, double scan\n  horizontal: "
        "total 50, display 40, blank 40-48, retrace 43-64 characters\n  vertical: total 449, display 400, blank "
        "406-441, retrace 412-414 lines\n  31.47 kHz, 70.09 Hz\n",
        "Mode 7 - 80x25 Monochrome Text (9x14 Cell)\n  clock 28.322 MHz, 9-dot characters\n  horizontal: total 100, "
        "display 80, blank 80-98, retrace 85-97 characters\n  vertical: total 449, display 350, blank 355-442, "
        "retrace 387-389 lines\n  31.47 kHz, 70.09 Hz\n",
        "Mode 12 - 640x480x4 Color Graphics (8x16 Cell)\n  clock 25.175 MHz, 8-dot characters\n  horizontal: total "
        "100, display 80, blank 80-98, retrace 84-96 characters\n  vertical: total 525, display 480, blank 487-516, "
        "retrace 490-492 lines\n  31.47 kHz, 59.94 Hz\n",
        "Mode 13 - 320x200x8 Color Graphics (8x8 Cell)\n  clock 25.175 MHz, 8-dot characters\n  horizontal: total "
        "100, display 80, blank 80-98, retrace 84-96 characters\n  vertical: total 449, display 400, blank 406-441, "
        "retrace 412-414 lines\n  31.47 kHz, 70.09 Hz\n"}) {
    EXPECT_NE(text.find(mode), std::string::npos) << mode;
  }
  ASSERT_EQ(
      Ombrix({"set", "sample.rom", "modes.2+3+.crtc.6=0B", "modes.2+3+.crtc.7=3E", "modes.2+3+.crtc.16=0B"}).status, 0);
  const nlohmann::json modes = nlohmann::json::parse(Ombrix({"modes", "sample.rom", "--json"}).out)["modes"];
  EXPECT_EQ(modes.at(17)["vertical"]["total"], 525) << "row 17 is mode 2+/3+, the only one edited";
  EXPECT_NEAR(modes.at(17)["refreshHz"].get<double>(), 59.94, 0.0015);
  EXPECT_EQ(modes.at(22)["mode"], "Mode 100h - 640x400 8 BPP graphics (8x16)");
  EXPECT_NEAR(modes.at(22)["horizontalKHz"].get<double>(), 31.469, 0.001);
  EXPECT_NEAR(modes.at(22)["refreshHz"].get<double>(), 70.086, 0.0015);
}

// For every page: a field set on the command line gives the bytes of the same
// text typed into the page and applied in the window.
TEST_F(CliTest, SetWritesWhatThePageWritesWhenTyped) {
  struct Case {
    int page;
    std::vector<std::pair<int, std::string>> picks;  // list, entry
    int box;
    std::string assignment;
  };
  const Case cases[] = {
      {CPageSet::kRomSignature, {}, 5, "signature.5=z"},
      {CPageSet::kSignOnString, {}, IDC_SIGN_ON_TEXT, "sign-on.text=A<NEWLINE>B<NUL>C"},
      {CPageSet::kSubVendorId, {{IDC_ID_KIND, "Device ID"}}, IDC_ID_VALUE, "sub-vendor.device-id=beef"},
      {CPageSet::kMemoryConfig, {}, IDC_MEMORY_REG_FIRST + 4, "memory.draminit1=1234567"},
      {CPageSet::kParameterTable, {{IDC_MODE_LIST, "Mode 101h"}}, IDC_PARAM_FIRST + 18, "modes.101h.crtc.9=4f"},
      {CPageSet::kFontImages,
       {{IDC_FONT_LIST, "Font 9x16 Fix-up Table"}, {IDC_CHAR_LIST_9X16, "1Dh"}},
       IDC_GLYPH_ROW_FIRST + 15,
       "fonts.9x16.1d.15=aa"},
  };
  for (const Case& c : cases) {
    rom::ResetRomState();
    sampleRom.Load();
    testing_support::FakeSheet window;
    window.Start();
    window.SetActivePage(c.page);
    for (const auto& [list, entry] : c.picks) {
      ASSERT_TRUE(window.activeControls().ListSelectPrefix(list, entry)) << entry;
      window.CloseUp(list);
    }
    window.activeControls().Type(c.box, c.assignment.substr(c.assignment.find('=') + 1));
    window.Command(1);
    rom::FixChecksum();
    const Bytes typed = testing_support::ImageBytes();
    ASSERT_NE(typed, sample) << c.assignment;

    Write("set.rom", sample);
    ASSERT_EQ(Ombrix({"set", "set.rom", c.assignment}).status, 0) << c.assignment;
    EXPECT_EQ(Read("set.rom"), typed) << c.assignment;
  }
}

// Mode timings that give no rates; the rates of the sample image's modes are checked above.
TEST(ModeTiming, ExternalClocksAndImpossibleTotalsGiveNoRates) {
  auto record = sample_rom::SampleParameterRecords()[27];
  using Problem = std::tuple<int, int, const char*>;  // the record's byte, its value, the problem
  for (const auto& [at, value, problem] :
       {Problem{0x09, 0xEB, "external clock"}, Problem{0x0A, 0x00, "zero total"},
        Problem{0x0B, 0xFF, "display beyond total"}, Problem{0x11, 0x42, "display beyond total"}}) {
    auto changed = record;
    changed[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value);
    const auto t = rom::timing::DecodeTiming(changed, 0x1234);
    EXPECT_EQ(t.problem, problem);
    EXPECT_FALSE(t.horizontalKHz || t.refreshHz) << problem;
    EXPECT_EQ(t.clockWord, 0x1234);
  }
  EXPECT_EQ(rom::timing::DecodeTiming({}, 0).problem, "zero total");
}

// Mode 3+ from 70.09 Hz to 59.94 Hz and back, as the README shows it: five registers of its record change, the
// margins keep their proportion, and the way back gives the file byte for byte. What cannot run is refused with
// status 2 and writes nothing.
TEST_F(CliTest, RetimeMovesTheFrameAndBackByteForByte) {
  const Outcome to60 = Ombrix({"retime", "sample.rom", "2+3+", "59.94", "-o", "60hz.rom"});
  ASSERT_EQ(to60.status, 0) << to60.err;
  EXPECT_NE(to60.out.find("retrace 412-414 lines\n  31.47 kHz, 70.09 Hz\nafter:\n  clock 28.322 MHz, 9-dot characters\n"
                          "  horizontal: total 100, display 80, blank 80-98, retrace 85-97 characters\n  vertical: "
                          "total 525, display 400, blank 406-517, retrace 431-433 lines\n  31.47 kHz, 59.94 Hz\n"
                          "sync: H- V+ (a VGA's 400 lines), kept\nmodes.2+3+.crtc.6: BF -> 0B\n"),
            std::string::npos)
      << to60.out;
  const std::size_t crtc = sampleRom.layout().parameterTable + 24 * 64 + 0x0A;  // record 24 is mode 2+/3+
  Bytes expected = sample;
  const std::pair<std::size_t, std::uint8_t> registers[] = {
      {6, 0x0B}, {7, 0x3E}, {0x10, 0xAF}, {0x11, 0x81}, {0x16, 5}};
  for (const auto& [index, value] : registers) expected[crtc + index] = value;
  const Bytes written = Read("60hz.rom");
  expected[rom::kChecksumOffset] = written.at(rom::kChecksumOffset);
  EXPECT_EQ(written, expected);
  EXPECT_EQ(SumOf(written), 0u);

  // As modes reads it: the same line, clock and picture, the nearest total, the margins shared 12 : 35.
  const auto row = [&](const char* file) {
    return nlohmann::json::parse(Ombrix({"modes", file, "--json"}).out)["modes"][17];
  };
  const nlohmann::json old = row("sample.rom"), now = row("60hz.rom");
  EXPECT_EQ(now["horizontal"], old["horizontal"]);
  EXPECT_EQ(now["clock"], old["clock"]);
  EXPECT_EQ(now["horizontalKHz"], old["horizontalKHz"]);
  EXPECT_EQ(now["vertical"]["display"], 400);
  EXPECT_EQ(now["vertical"]["total"], 525);
  EXPECT_NEAR(now["refreshHz"].get<double>(), 59.94, 0.005);
  EXPECT_EQ(now["vertical"]["retrace"]["start"].get<int>() - 400, 31) << "12 / 47 of 123 margin lines, rounded";

  ASSERT_EQ(Ombrix({"retime", "60hz.rom", "2+3+", "70.09"}).status, 0);
  EXPECT_EQ(Read("60hz.rom"), sample);
  // 60 Hz: 524 lines give 60.06 Hz, nearer than 525's 59.94. Other polarities only when asked for.
  EXPECT_NE(Ombrix({"retime", "60hz.rom", "2+3+", "60"}).out.find("total 524, display 400"), std::string::npos);
  const Outcome sync = Ombrix({"retime", "sample.rom", "2+3+", "59.94", "--polarity", "480", "-o", "sync.rom"});
  EXPECT_NE(sync.out.find("sync: H- V- (a VGA's 480 lines), was H- V+ (a VGA's 400 lines)\n"), std::string::npos);
  EXPECT_EQ(Read("sync.rom").at(crtc - 1), 0xE7);
  // 47.04 Hz: 669 lines, and a blanking of 255 lines, the most its end register tells.
  EXPECT_NE(Ombrix({"retime", "sample.rom", "2+3+", "47.04", "-o", "47hz.rom"})
                .out.find("total 669, display 400, "
                          "blank 406-661"),
            std::string::npos);

  struct Refusal {
    std::vector<std::string> args;
    int status;
    const char* err;
  };
  const Refusal refusals[] = {
      {{"sample.rom", "103h", "60"},
       2,
       "Mode 103h - 800x600 8 BPP graphics (8x16): it runs on the adapter's own clock"},
      {{"sample.rom", "2+3+", "20"}, 2, "needs a frame of more than 1025 lines"},
      {{"sample.rom", "2+3+", "45"},
       2,
       "its blanking would last 285 lines; the blanking end register tells at most "
       "255; nothing was written"},
      {{"sample.rom", "2+3+", "75"}, 2, "no room for the retrace inside the blanking: it would take lines 405-407"},
      {{"sample.rom", "2+3+", "100"}, 2, "a frame of 315 lines has no room for the 400 lines"},
      {{"outside.rom", "2+3+", "60"}, 2, "mode 2+3+: The OEM pointer table"},
      {{"sample.rom", "3plus", "60"}, 3, "there is no mode 3plus"},
      {{"sample.rom", "2+3+", "sixty"}, 3, "HZ is a refresh rate"},
      {{"sample.rom", "2+3+", "0"}, 3, "HZ is a refresh rate"},
      {{"sample.rom", "2+3+", "60", "--polarity", "500"}, 3, "--polarity"},
  };
  for (const Refusal& r : refusals) {
    std::vector<std::string> args = {"retime"};
    args.insert(args.end(), r.args.begin(), r.args.end());
    args.insert(args.end(), {"-o", "x.rom"});
    const Outcome o = Ombrix(args);
    EXPECT_EQ(o.status, r.status) << r.args[2];
    EXPECT_NE(o.err.find(r.err), std::string::npos) << o.err;
    EXPECT_EQ(o.out, "") << r.args[2];
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "x.rom"));
  EXPECT_EQ(Read("sample.rom"), sample);
}

// Frames whose margins cannot be shared, counters that do not count lines, and a blanking that wraps past the
// frame's end and would start after a shorter one ended.
TEST(ModeTiming, RetimeRefusesFramesWithoutMarginsToShare) {
  const auto record = sample_rom::SampleParameterRecords()[24];
  using Problem = std::tuple<std::vector<std::pair<int, int>>, double, const char*>;  // CRTC values, rate, problem
  for (const auto& [registers, hz, problem] :
       {Problem{{{0x17, 0xA7}}, 60, "advances every second line"},
        Problem{{{0x10, 0x80}}, 60, "its retrace (lines 384-398) does not lie between the picture's end (line 400)"},
        Problem{{{0x06, 0x90}, {0x10, 0x90}, {0x11, 0x82}}, 60, "no line between the picture and the retrace"},
        Problem{
            {{0x15, 0xB8}, {0x16, 0xCC}}, 73.18, "a frame of 430 lines ends before its blanking starts (line 440)"}}) {
    auto changed = record;
    for (const auto& [index, value] : registers)
      changed[0x0A + static_cast<std::size_t>(index)] = static_cast<std::uint8_t>(value);
    const rom::timing::Retiming r = rom::timing::Retime(changed, 0, hz);
    EXPECT_NE(r.problem.find(problem), std::string::npos) << r.problem;
    EXPECT_EQ(r.record, changed) << problem;
  }
}

// A picture of `ombrix screen`, decoded: one grey level a dot.
struct Picture {
  int width = 0, height = 0;
  Bytes dots;
  std::uint8_t At(int x, int y) const { return dots.at(static_cast<std::size_t>(y * width + x)); }
};

Picture Decode(const Bytes& png) {
  Picture p;
  int channels = 0;
  stbi_uc* dots = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &p.width, &p.height, &channels, 1);
  if (dots != nullptr) p.dots.assign(dots, dots + p.width * p.height);
  stbi_image_free(dots);
  return p;
}

// The cell at `column`, `row` of `p` shows `glyph` (a byte a glyph row, each drawn `repeat` times): grey where a bit
// is set, black elsewhere, and a ninth column, if any, lit as the eighth only where `ninthRepeats`.
void ExpectCell(const Picture& p, int column, int row, int width, const Bytes& glyph, bool ninthRepeats,
                int repeat = 1) {
  const int height = static_cast<int>(glyph.size()) * repeat;
  std::string seen, drawn;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t bits = glyph[static_cast<std::size_t>(y / repeat)];
    for (int x = 0; x < width; ++x) {
      const bool lit = x < 8 ? ((bits >> (7 - x)) & 1) != 0 : ninthRepeats && (bits & 1) != 0;
      drawn += lit ? '#' : '.';
      seen += p.At(column * width + x, row * height + y) == (lit ? 0xAA : 0x00) ? (lit ? '#' : '.') : '?';
    }
    drawn += '\n';
    seen += '\n';
  }
  EXPECT_EQ(seen, drawn) << "cell " << column << ", " << row;
}

// The sign-on text as the card draws it: 9-dot cells, the fix-up glyph in place of the font's, the ninth column of
// line-graphics characters; then an 8-dot mode, double scan, and the size of every text mode's picture.
TEST_F(CliTest, ScreenDrawsTextAsTheCardDoes) {
  // The fix-up glyph of m, 00h, CR and four glyphs around C0h..DFh get a row of their own, so that what is drawn
  // shows; mode 1 gets characters 12 lines high, for which there is no font.
  ASSERT_EQ(Ombrix({"set", "sample.rom", "fonts.9x16.6d.0=F1", "fonts.9x14.6d.0=F1", "fonts.8x16.bf.3=ff",
                    "fonts.8x16.c0.3=ff", "fonts.8x16.df.3=ff", "fonts.8x16.e0.3=ff", "fonts.8x16.00.3=ff",
                    "fonts.8x16.0d.3=ff", "modes.1.char-height=0C", "-o", "s.rom"})
                .status,
            0);
  const Outcome shot = Ombrix({"screen", "s.rom", "s.png"});
  ASSERT_EQ(shot.status, 0) << shot.err;
  EXPECT_EQ(shot.out, "Mode 2+/3+ - 80x25 Color Text (9x16 Cell): 720x400 dots, 80x25 characters of 9x16\n");
  rom::RomImage.Assign(Read("s.rom").data(), rom::kRomSize);
  const auto glyph = [](const char* font, int code) {
    const rom::FontKind& kind = Kind(font);
    std::uint32_t at = rom::LocateFullFont(kind).offset + static_cast<std::uint32_t>(code * kind.height);
    std::vector<std::uint32_t> records;
    std::string error;
    if (kind.fixup && rom::LocateFixupRecords(kind, records, error)) {
      for (const std::uint32_t record : records) at = rom::RomImage.Byte(record) == code ? record + 1 : at;
    }
    return Bytes(rom::RomImage.data() + at, rom::RomImage.data() + at + kind.height);
  };
  ASSERT_NE(glyph("9x16", 'm'), glyph("8x16", 'm'));
  Picture p = Decode(Read("s.png"));
  ASSERT_EQ(p.width, 720);
  ASSERT_EQ(p.height, 400);
  ExpectCell(p, 0, 0, 9, glyph("8x16", 'O'), false);
  ExpectCell(p, 1, 0, 9, glyph("9x16", 'm'), false);
  ExpectCell(p, 0, 1, 9, glyph("8x16", 'C'), false);  // the line break of the sign-on text
  ExpectCell(p, 27, 0, 9, Bytes(16, 0), false);       // past the end of the first line: no CR, no 00h

  // From a file: the ninth column repeats the eighth for C0h..DFh only, and only with the line-graphics bit.
  const std::filesystem::path text = folder / "text.txt";
  TempFolder::WriteBytes(text, {0xBF, 0xC0, 0xDF, 0xE0, '\r', '\n', 'A', '\r'});
  for (const bool lineGraphics : {true, false}) {
    if (!lineGraphics) {
      ASSERT_EQ(Ombrix({"set", "s.rom", "modes.2+3+.attr.10=08"}).status, 0);
    }
    ASSERT_EQ(Ombrix({"screen", "s.rom", "t.png", "--text", text.string()}).status, 0);
    p = Decode(Read("t.png"));
    const int codes[] = {0xBF, 0xC0, 0xDF, 0xE0};
    for (int i = 0; i < 4; ++i) ExpectCell(p, i, 0, 9, glyph("8x16", codes[i]), lineGraphics && (i == 1 || i == 2));
    ExpectCell(p, 0, 1, 9, glyph("8x16", 'A'), false);
    ExpectCell(p, 1, 1, 9, glyph("8x16", '\r'), false);  // a CR without LF is a character
  }

  // 8-dot modes draw the full font without fix-ups; mode 3's 8x8 cells are scanned twice.
  ASSERT_EQ(Ombrix({"screen", "s.rom", "a.png", "--mode", "3star"}).status, 0);
  p = Decode(Read("a.png"));
  EXPECT_EQ(p.width * 1000 + p.height, 640350);
  ExpectCell(p, 1, 0, 8, glyph("8x14", 'm'), false);
  ASSERT_EQ(Ombrix({"screen", "s.rom", "a.png", "--mode", "3"}).status, 0);
  p = Decode(Read("a.png"));
  ExpectCell(p, 1, 0, 8, glyph("8x8", 'm'), false, 2);
  const std::pair<const char*, int> sizes[] = {{"0", 320400}, {"0+1+", 360400}, {"7", 720350}, {"7+", 720400}};
  for (const auto& [mode, size] : sizes) {
    ASSERT_EQ(Ombrix({"screen", "s.rom", "a.png", "--mode", mode}).status, 0) << mode;
    p = Decode(Read("a.png"));
    EXPECT_EQ(p.width * 1000 + p.height, size) << mode;
  }

  // A line longer than the screen goes on in the next row; rows past the last are left out and counted.
  std::string lines = std::string(85, 'A') + "\n";
  for (int i = 0; i < 26; ++i) lines += "B\n";
  TempFolder::WriteBytes(text, Bytes(lines.begin(), lines.end()));
  const Outcome cut = Ombrix({"screen", "s.rom", "a.png", "--text", text.string()});
  EXPECT_EQ(cut.err, "ombrix: 3 rows of text below the screen's 25 were left out\n");
  ExpectCell(Decode(Read("a.png")), 4, 1, 9, glyph("8x16", 'A'), false);

  using Refusal = std::tuple<std::vector<std::string>, int, const char*>;
  for (const auto& [args, status, err] :
       {Refusal{{"--mode", "12"}, 2, "Mode 12 - 640x480x4 Color Graphics (8x16 Cell): it is a graphics mode"},
        Refusal{{"--mode", "1"}, 2, "Mode 1 - 40x25 Color Text (8x8 Cell): its characters are 12 lines high"},
        Refusal{{"--mode", "nine"}, 3, "there is no mode nine"},
        Refusal{{"--text", (folder / "none.txt").string()}, 4, "none.txt: no such file"}}) {
    std::vector<std::string> line = {"screen", "s.rom", "r.png"};
    line.insert(line.end(), args.begin(), args.end());
    const Outcome o = Ombrix(line);
    EXPECT_EQ(o.status, status) << args[1];
    EXPECT_NE(o.err.find(err), std::string::npos) << o.err;
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "r.png"));
  EXPECT_EQ(Ombrix({"screen", "s.rom", (folder / "none" / "r.png").string()}).status, 4);  // a PNG not written
}

using FontFileTest = CliTest;

TEST_F(FontFileTest, FilesThatDoNotFitAreRefusedWithTheReasonAndWriteNothing) {
  const Bytes psf1 = Export("8x16", "a.psf");
  const Bytes psf2 = Export("8x16", "a.psf2");
  const Bytes gz = Gzip(psf1);
  struct Case {
    const char* font;
    const char* name;
    Bytes bytes;
    const char* problem;
  };
  const Case cases[] = {
      {"8x16", "a.psf", Bytes(psf1.begin(), psf1.end() - 1), "ends after 4099 bytes"},
      {"8x16", "a.psf", Bytes(psf1.begin(), psf1.begin() + 3), "header is cut short"},
      {"8x16", "a.psf2", Bytes(psf2.begin(), psf2.begin() + 31), "header is cut short"},
      {"8x16", "a.psf2", With(psf2, 28, 9), "9 pixels wide"},
      {"8x16", "a.psf2", With(psf2, 20, 15), "15 bytes per glyph"},
      {"8x16", "a.psf2", With(psf2, 16, 257), "promises 257 glyphs"},
      {"8x16", "a.psf2", With(psf2, 8, 40), "ends after 4128 bytes"},
      {"8x16", "a.psf2", With(psf2, 8, 16), "less than 32"},
      {"8x16", "a.psf2", With(psf2, 16, 100), "holds 100 glyphs"},
      {"8x16", "a.psf.gz", Bytes(gz.begin(), gz.begin() + static_cast<std::ptrdiff_t>(gz.size() / 2)), "damaged"},
      {"8x16", "a.psf", Bytes(4100, 0), "does not begin as a PSF font"},
      {"8x16", "a.f16", Bytes(4095, 0), "the file has 4095"},
      {"8x16", "a.f14", Bytes(3584, 0), "14 rows high"},
      {"8x16", "a.png", Export("8x16", "a.png"), "not read back"},
      {"8x16", "a.json", FixupFile({"4D"}, 16), "goes in and out as .f08"},
      {"9x16", "a.psf", psf1, "as a .json file"},
      {"9x16", "a.json", FixupFile({"4D", "41"}, 16), "code 41h of record 1 of the file is not in"},
      {"9x16", "a.json", FixupFile({"4D", "4D"}, 16), "not in the 9x16 fix-up table that many times"},
      {"9x16", "a.json", FixupFile({"4D"}, 15), "needs a list of 16 rows"},
      {"9x16", "a.json", FixupFile({"4D"}, 16, "G1"), "\"G1\" that is no byte"},
      {"9x14", "a.json", FixupFile({"4D"}, 14, "100"), "no byte"},
      {"9x14", "a.json", FixupFile({"4D"}, 14, 129), "has a row 129 that is no byte"},
      {"9x14", "a.json", Bytes{0x7B, 0x22}, "not valid JSON"},
      {"9x14", "a.json", BytesOf(R"({"rows": []})"), "has no \"records\" list"},
      {"9x14", "a.json", BytesOf(R"({"height": 16, "records": []})"), "for glyphs 16 rows high; this table's are 14"},
  };
  for (const Case& c : cases) ExpectRefused(c.font, c.name, c.bytes, c.problem);
}

TEST_F(FontFileTest, FontsOutsideTheImageAreRefused) {
  const std::uint32_t oem = rom::OemPointerTable().offset;
  rom::RomImage.SetWord(oem + 0x08, 0x7800);  // 8x16 font: 4096 bytes do not fit
  rom::RomImage.SetWord(oem + 0x0C, 0x7FEE);  // 9x16 fix-up table: record 1 ends on the last byte, record 2 is cut
  rom::RomImage.SetByte(0x7FEE, 0x4D);
  rom::RomImage.SetByte(0x7FFF, 0x4D);
  Bytes out;
  std::string error;
  EXPECT_FALSE(rom::fonts::ExportFont(Kind("8x16"), "a.f16", out, error));
  EXPECT_NE(error.find("reaches past the end"), std::string::npos) << error;
  EXPECT_FALSE(rom::fonts::ExportFont(Kind("9x16"), "a.json", out, error));
  ExpectRefused("8x16", "a.f16", Bytes(4096, 0), "reaches past the end");
  ExpectRefused("9x16", "a.json", FixupFile({}, 16), "fix-up record at offset 7FFFh (17 bytes) reaches past the end");
}

// A font that unpacks to more than one piece of the unpacker's buffer: 1024 glyphs, of which the first 256 are taken.
TEST_F(FontFileTest, ALargeCompressedFontIsUnpackedWhole) {
  Bytes psf2 = With(Export("8x16", "a.psf2"), 16, 1024);
  psf2.resize(psf2.size() + 768 * 16, 0x5A);
  Wipe(Kind("8x16"));
  std::string note, error;
  ASSERT_TRUE(rom::fonts::ImportFont(Kind("8x16"), "a.psf2.gz", Gzip(psf2), note, error)) << error;
  EXPECT_EQ(note, "the file holds 1024 glyphs; the first 256 were taken");
  EXPECT_EQ(ImageBytes(), sample);
}

// Debian's console fonts: the first 256 glyphs land in the image exactly as the file holds them.
TEST_F(FontFileTest, ConsoleFontsImportExactly) {
  const std::filesystem::path fonts = "/usr/share/consolefonts";
  if (!std::filesystem::exists(fonts / "cp850-8x8.psf.gz")) GTEST_SKIP() << "no console fonts installed";
  using Font = std::array<const char*, 3>;  // file, font, note
  for (const auto& [name, font, expectedNote] :
       {Font{"cp850-8x8.psf.gz", "8x8", ""}, Font{"cp850-8x14.psf.gz", "8x14", ""},
        Font{"cp850-8x16.psf.gz", "8x16", ""}, Font{"default8x16.psf.gz", "8x16", ""},
        Font{"LatArCyrHeb-16.psf.gz", "8x16", "holds 512 glyphs; the first 256"}}) {
    const Bytes file = TempFolder::ReadBytes(fonts / name);
    Bytes plain(64 * 1024);  // unpacked here with zlib's own reader
    gzFile gz = gzopen((fonts / name).c_str(), "rb");
    ASSERT_GT(gzread(gz, plain.data(), static_cast<unsigned>(plain.size())), 0) << name;
    gzclose(gz);
    std::string note, error;
    ASSERT_TRUE(rom::fonts::ImportFont(Kind(font), name, file, note, error)) << name << ": " << error;
    EXPECT_NE(note.find(expectedNote), std::string::npos) << note;
    const std::uint32_t size256 = 256u * Kind(font).height;
    EXPECT_TRUE(std::equal(plain.begin() + 4, plain.begin() + 4 + size256,  // past the 4-byte header
                           rom::RomImage.data() + rom::LocateFullFont(Kind(font)).offset))
        << name;
  }
  ExpectRefused("8x16", "lat1-12.psf.gz", TempFolder::ReadBytes(fonts / "lat1-12.psf.gz"), "12 rows high");
}

}  // namespace

namespace {

using namespace testing_support;

// Which bytes of the image in RomImage lie in a structure whose bytes the pages show as fields.
std::vector<bool> ShownByFields() {
  std::vector<bool> shown(rom::kRomSize, false);
  for (const rom::MappedStructure& s : rom::MapImage().structures) {
    for (std::uint32_t i = s.offset; s.located && s.shownByFields && i < s.offset + s.length && i < rom::kRomSize; ++i)
      shown[i] = true;
  }
  return shown;
}

// The differing bytes that diff --json lists, as offsets.
std::set<std::uint32_t> Listed(const nlohmann::json& diff) {
  std::set<std::uint32_t> listed;
  for (const char* kind : {"unshown", "outside"}) {
    for (const auto& r : diff[kind]) {
      for (std::uint32_t i = r["from"]; i <= r["to"].get<std::uint32_t>(); ++i) listed.insert(i);
    }
  }
  return listed;
}

// An image in the layout of the sample but with its tables elsewhere, extended modes that use records past the
// VGA's 29 and share one, and flags bytes with bits 6 and 7 set.
Bytes MovedLayout() {
  RomLayout layout;
  layout.oemTable = 0x0700;
  layout.memoryConfig = 0x0420;
  layout.savePointerTable = 0x0460;
  layout.secondarySaveTable = 0x0480;
  layout.exModeInfo = 0x04A0;
  layout.exRegTable = 0x4000;
  layout.exModeList = 0x4400;
  layout.parameterTable = 0x5000;
  layout.font8x8 = 0x0800;
  layout.font8x14 = 0x1000;
  layout.font8x16 = 0x1E00;
  layout.fixup9x14 = 0x2E00;
  layout.fixup9x16 = 0x2F00;
  layout.signOn = 0x3F00;
  RomBuilder b(layout);
  b.SignatureText("MOVED  LAYOUT 01").SubsystemIds(0x1234, 0x5678).SignOn("Moved\r\nlayout");
  b.MemoryConfig({1, 2, 3, 4, 5, 6, 7, 8, 9});
  for (int i = 0; i < 40; ++i) {
    std::array<std::uint8_t, 64> record{};
    for (std::size_t k = 0; k < record.size(); ++k) record[k] = static_cast<std::uint8_t>(i * 7 + k * 3 + 1);
    b.ParameterRecord(i, record);
  }
  for (int m = 0; m < 40; ++m) b.ExReg(m, static_cast<std::uint8_t>(0xC0 | m), 0x11, 0, 0x2000);
  b.AddExMode({0x1E, 0x101, 6, 640, 480, 16}).ExReg(0x1E, 0xED, 0x22, 0x27, 0x1234);
  b.AddExMode({0x21, 0x103, 6, 800, 600, 16}).ExReg(0x21, 0x2D, 0x33, 0x27, 0x4321);  // shares record 27h
  b.AddExMode({0x22, 0x105, 6, 1024, 768, 16});
  for (int code = 0; code < 256; ++code) {
    b.Glyph(8, code, std::vector<std::uint8_t>(8, static_cast<std::uint8_t>(code)));
    b.Glyph(14, code, std::vector<std::uint8_t>(14, static_cast<std::uint8_t>(code ^ 0x5A)));
    b.Glyph(16, code, std::vector<std::uint8_t>(16, static_cast<std::uint8_t>(code ^ 0xA5)));
  }
  b.Fixups(14, {{0x4D, std::vector<std::uint8_t>(14, 0x81)}, {0x57, std::vector<std::uint8_t>(14, 0x42)}});
  b.Fixups(16, {{0x4D, std::vector<std::uint8_t>(16, 0x81)}, {0x4D, std::vector<std::uint8_t>(16, 0x18)}});
  return b.FixChecksum().bytes();
}

// Bytes of no VGA BIOS: a signature, then noise, with pointers that lead anywhere.
Bytes Noise(unsigned seed) {
  std::mt19937 random(seed);
  Bytes bytes(rom::kRomSize);
  for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(random());
  bytes[0] = 0x55;
  bytes[1] = 0xAA;
  bytes[0x50] = 0x00;
  bytes[0x51] = 0x20;  // an OEM pointer table inside, whose words point anywhere
  return bytes;
}

}  // namespace

// One byte flipped in each structure of several images, and in the places no field shows (records no mode uses,
// bits 6 and 7 of a flags byte, a record a parameter index left behind): diff names every byte that differs, by a
// field, by the structure it lies in, or as lying outside them all; a byte of a structure that no field shows is
// always named by its place.
TEST_F(CliTest, DiffNamesEveryByteThatDiffers) {
  std::vector<std::pair<std::string, Bytes>> images = {{"sample", sample}, {"moved", MovedLayout()}};
  images.emplace_back("noise", Noise(2));
  if (std::filesystem::exists("/usr/share/seabios/vgabios-stdvga.bin")) {
    Bytes seabios = TempFolder::ReadBytes("/usr/share/seabios/vgabios-stdvga.bin");
    seabios.resize(rom::kRomSize);
    images.emplace_back("seabios", seabios);
  }
  std::mt19937 random(7);
  int flips = 0;
  for (const auto& [label, image] : images) {
    Write("a.rom", image);
    rom::RomImage.Assign(image.data(), rom::kRomSize);
    std::vector<std::uint32_t> offsets;
    const std::vector<bool> shownBefore = ShownByFields();
    int shownTaken = 0;
    for (const rom::MappedStructure& s : rom::MapImage().structures) {
      // Every structure of the sample; of the others, those no field shows and a third of the rest.
      if (label != "sample" && s.shownByFields && shownTaken++ % 3 != 0) continue;
      // Not the 55 AA: without them the file is no image.
      const std::uint32_t from = std::max<std::uint32_t>(s.offset, 2);
      if (!s.located || from >= rom::kRomSize || s.offset + s.length <= from) continue;
      const std::uint32_t length = std::min(s.offset + s.length, rom::kRomSize) - from;
      offsets.push_back(from + static_cast<std::uint32_t>(random() % length));
    }
    if (label == "sample") {
      // Record 8 (no mode's), record 30's byte 5 (mode 101h's), bits 6-7 of mode 101h's flags byte (mode index
      // 31h), an extended register record no mode uses, a byte outside all.
      for (std::uint32_t at : {0x0805u, 0x0D85u, 0x0295u, 0x0236u, 0x7000u}) offsets.push_back(at);
    }
    for (std::size_t k = 0; k < offsets.size(); ++k) {
      const std::uint32_t at = offsets[k];
      Bytes changed = image;
      changed[at] ^= at == 0x0295u ? 0xC0 : static_cast<std::uint8_t>(1 + random() % 255);
      rom::RomImage.Assign(changed.data(), rom::kRomSize);
      if (at != rom::kChecksumOffset) {
        changed[rom::kChecksumOffset] = rom::ChecksumByteFor(rom::RomImage.data());
      }
      const std::vector<bool> shownAfter = ShownByFields();
      Write("b.rom", changed);
      const Outcome o = Ombrix({"diff", "a.rom", "b.rom", "--json"});
      const std::string what = label + " " + rom::HexText(at, 4) + "h";
      ASSERT_EQ(o.status, changed == image ? 0 : 1) << what << o.err;
      const nlohmann::json diff = nlohmann::json::parse(o.out);
      const std::set<std::uint32_t> listed = Listed(diff);
      for (std::uint32_t i = 0; i < rom::kRomSize; ++i) {
        if (image[i] == changed[i]) continue;
        // A byte that no field can show is always listed; one that a field may show, listed or a field differs.
        EXPECT_TRUE(listed.count(i) != 0 || ((shownBefore[i] || shownAfter[i]) && !diff["fields"].empty()))
            << what << ": byte " << rom::HexText(i, 4) << "h named by nothing\n"
            << o.out.substr(0, 1500);
      }
      ++flips;
    }
  }
  EXPECT_GT(flips, 40);
}

TEST_F(CliTest, DiffNamesTheRecordAndByteOfWhatNoFieldShows) {
  Bytes changed = sample;
  changed[0x0805] ^= 0x10;  // record 8, which no mode row uses
  changed[0x0295] |= 0x80;  // bit 7 of mode 101h's flags byte (mode index 31h): no control shows it
  changed[0x0D93] = 0x41;   // mode 101h's crtc.9, in its record 30 (1Eh)
  changed[0x0297] = 0x1F;   // ... and its parameter index now sends it to record 31
  rom::RomImage.Assign(changed.data(), rom::kRomSize);
  changed[rom::kChecksumOffset] = rom::ChecksumByteFor(rom::RomImage.data());
  Write("b.rom", changed);
  const Outcome o = Ombrix({"diff", "sample.rom", "b.rom"});
  EXPECT_EQ(o.status, 1);
  for (const char* line :
       {"  modes.101h.param-index: 1E -> 1F\n", "Bytes that no field shows:\n",
        "  0295h  extended register record 31h, byte 00h\n", "  0805h  video parameter record 8, byte 05h\n",
        "  0D93h  video parameter record 30, byte 13h\n", "  7FFFh  checksum byte\n"}) {
    EXPECT_NE(o.out.find(line), std::string::npos) << line << "\n" << o.out;
  }
  EXPECT_EQ(o.out.find("0297h"), std::string::npos) << "the parameter index is a field\n" << o.out;
}

// A script gets what it asked for or nothing: a hexadecimal text that is empty or no number is refused, where the
// window stores 00; what the page takes is taken as the page takes it.
TEST_F(CliTest, StrictTextsAndAssignmentsOneAfterAnother) {
  for (const char* assignment : {"modes.3.crtc.9=4G", "signature.1.hex=ZZ", "memory.pllctrl1=xyz",
                                 "memory.pllctrl1=", "sub-vendor.device-id= 12", "fonts.8x16.41.3=0x"}) {
    const Outcome o = Ombrix({"set", "sample.rom", "memory.draminit1=1", assignment});
    const std::string field(assignment, std::strchr(assignment, '='));
    EXPECT_EQ(o.status, 2) << assignment;
    EXPECT_NE(o.err.find("sample.rom: " + field + ": \"" + (std::strchr(assignment, '=') + 1) +
                         "\" is not a hexadecimal number of 1 to "),
              std::string::npos)
        << o.err;
  }
  EXPECT_EQ(Read("sample.rom"), sample);
  ASSERT_EQ(Ombrix({"set", "sample.rom", "memory.pllctrl1=abc", "modes.3.crtc.9=c", "fonts.8x16.41.3=Ff"}).status, 0);
  EXPECT_EQ(Ombrix({"get", "sample.rom", "memory.pllctrl1", "modes.3.crtc.9", "fonts.8x16.41.3"}).out,
            "00000ABC\n0C\nFF\n");

  // A parameter index that sends a mode to another record is followed by the assignment after it.
  Write("one.rom", sample);
  Write("two.rom", sample);
  ASSERT_EQ(Ombrix({"set", "one.rom", "modes.101h.param-index=1F", "modes.101h.crtc.9=41"}).status, 0);
  ASSERT_EQ(Ombrix({"set", "two.rom", "modes.101h.param-index=1F"}).status, 0);
  ASSERT_EQ(Ombrix({"set", "two.rom", "modes.101h.crtc.9=41"}).status, 0);
  EXPECT_EQ(Read("one.rom"), Read("two.rom"));
  EXPECT_EQ(Read("one.rom")[0x0DD3], 0x41);
  EXPECT_EQ(Read("one.rom")[0x0D93], sample[0x0D93]);
}

// A warning about one extended mode record leaves every row with its own figures.
TEST_F(CliTest, ModesKeepTheirFiguresBesideAWarningAboutOneRecord) {
  Bytes changed = sample;
  changed[0x03D6] = 0x0C;  // memory model 12 in the record at 03D2h
  Write("b.rom", changed);
  const Outcome o = Ombrix({"modes", "b.rom", "--json"});
  EXPECT_EQ(o.status, 0);
  EXPECT_NE(o.err.find("b.rom: Parameter Table: The extended mode record at offset 03D2h has memory model 12"),
            std::string::npos)
      << o.err;
  const nlohmann::json json = nlohmann::json::parse(o.out);
  ASSERT_EQ(json["modes"].size(), 28u);
  for (const auto& mode : json["modes"]) EXPECT_TRUE(mode.contains("vertical")) << mode.dump();
  EXPECT_EQ(json["problems"].size(), 1u);
  const std::string text = Ombrix({"modes", "b.rom"}).out;
  EXPECT_EQ(text.find("not shown"), std::string::npos) << text;
  EXPECT_NE(text.find("memory model 12 (8x16)\n  clock 25.175 MHz"), std::string::npos) << text;
}

// Every byte 00..FF goes out as JSON and back in; the document of one image makes every field of another read as
// in the first, a record moved by a parameter index included. One escape types any byte on the command line.
TEST_F(CliTest, FieldsGoFromOneImageToAnotherThroughJson) {
  Write("a.rom", sample);
  ASSERT_EQ(Ombrix({"set", "a.rom", "-e", "signature.1=\\xE9", "signature.2=\\\\", "sign-on.text=Caf\\xE9 \\\\ <NUL>",
                    "modes.101h.param-index=1F", "modes.101h.crtc.9=41", "modes.3.crtc.9=4e", "fonts.9x16.4d.2=81",
                    "memory.pllctrl1=DEADBEEF"})
                .status,
            0);
  EXPECT_EQ(Read("a.rom")[0x40], 0xE9);
  EXPECT_EQ(Read("a.rom")[0x41], '\\');
  EXPECT_EQ(Ombrix({"get", "a.rom", "sign-on.text"}).out, "Caf\xE9 \\ <NUL>\n");
  EXPECT_EQ(Ombrix({"set", "a.rom", "-e", "signature.2=\\q"}).status, 3);
  EXPECT_EQ(Ombrix({"set", "a.rom", "-e", "signature.2=\\x00"}).err,
            "ombrix: " + (folder / "a.rom").string() + ": signature.2: a box's text ends at a 00 byte\n");
  const Outcome fields = Ombrix({"fields", "a.rom", "--json"});
  ASSERT_EQ(fields.status, 0);
  EXPECT_NE(fields.out.find("\"text\": \"Caf\u00e9"), std::string::npos);
  TempFolder::WriteBytes(folder / "a.json", BytesOf(fields.out));
  const std::string doc = (folder / "a.json").string();
  ASSERT_EQ(Ombrix({"set", "sample.rom", "--from", doc, "-o", "b.rom"}).status, 0);
  EXPECT_EQ(Ombrix({"fields", "b.rom"}).out, Ombrix({"fields", "a.rom"}).out);
  EXPECT_EQ(Read("b.rom")[0x40], 0xE9);
  EXPECT_EQ(Read("sample.rom"), sample);

  // From standard input, the document of get.
  std::istringstream input(Ombrix({"get", "a.rom", "sign-on.text", "signature.1", "--json"}).out);
  std::streambuf* const keep = std::cin.rdbuf(input.rdbuf());
  const Outcome piped = Ombrix({"set", "sample.rom", "--from", "-"});
  std::cin.rdbuf(keep);
  ASSERT_EQ(piped.status, 0) << piped.err;
  EXPECT_EQ(Ombrix({"get", "sample.rom", "sign-on.text"}).out, "Caf\xE9 \\ <NUL>\n");

  // A character above U+00FF is no byte; a document of another shape is no document; one that gives a field two
  // texts never reads as it says.
  Write("c.rom", sample);
  for (const auto& [text, status] :
       {std::pair<std::string, int>{R"({"fields":[{"name":"signature.1","text":"\u0100"}]})", 2},
        {R"({"fields":[{"name":"modes.101h.param-index","text":"1F"},)"
         R"({"name":"modes.101h.param-index","text":"1D"}]})",
         2},
        {R"({"fields":[{"name":"signature.1","text":1}]})", 3},
        {"[", 3}}) {
    TempFolder::WriteBytes(folder / "c.json", BytesOf(text));
    const Outcome o = Ombrix({"set", "c.rom", "--from", (folder / "c.json").string()});
    EXPECT_EQ(o.status, status) << text << o.err;
  }
  EXPECT_EQ(Read("c.rom"), sample);
}

// -o writes the input's whole file with the changes: a 64 KB chip's image stays 64 KB, whatever OUT held.
TEST_F(CliTest, OutputKeepsTheWholeInputFile) {
  Bytes big = sample;
  for (std::uint32_t i = 0; i < rom::kRomSize; ++i) big.push_back(static_cast<std::uint8_t>(i * 7));
  Write("big.rom", big);
  Write("old.rom", Bytes(rom::kRomSize + 5, 0x11));
  ASSERT_EQ(Ombrix({"font", "export", "sample.rom", "8x16", "a.psf"}).status, 0);
  const std::vector<std::vector<std::string>> commands = {
      {"set", "big.rom", "memory.pllctrl1=1", "-o", "new.rom"},
      {"set", "big.rom", "memory.pllctrl1=1", "-o", "old.rom"},
      {"fix-checksum", "big.rom", "-o", "fixed.rom"},
      {"font", "import", "big.rom", "8x16", "a.psf", "-o", "font.rom"}};
  for (const auto& command : commands) {
    ASSERT_EQ(Ombrix(command).status, 0) << command[0];
    const Bytes out = Read(command.back());
    ASSERT_EQ(out.size(), big.size()) << command[0];
    EXPECT_TRUE(std::equal(out.begin() + rom::kRomSize, out.end(), big.begin() + rom::kRomSize)) << command[0];
    EXPECT_EQ(SumOf(out), 0u) << command[0];
  }
  EXPECT_EQ(Read("big.rom"), big);
}

// A batch of thousands of glyph rows shows each glyph once and applies it once, as a user would who types a
// glyph's rows and presses Apply, instead of finding, showing and applying every row on its own.
TEST_F(CliTest, GlyphRowsOfOneGlyphAreAppliedTogether) {
  std::vector<cli::Assignment> rows;
  for (int code = 0; code < 256; ++code) {
    for (int row = 0; row < 16; ++row)
      rows.push_back({"fonts.8x16." + rom::HexText(code, 2) + "." + std::to_string(row),
                      rom::HexText(static_cast<std::uint32_t>(code ^ row), 2)});
  }
  cli::CFieldCatalog catalog;
  catalog.SetAll(rows);
  // Each load of the page repaints its glyph once: the font shown, then each glyph chosen and applied.
  EXPECT_LE(catalog.editor().controls(CPageSet::kFontImages).batches(), 3 * 256 + 8);
  const std::uint32_t font = rom::LocateFullFont(Kind("8x16")).offset;
  for (int code = 0; code < 256; ++code) {
    for (int row = 0; row < 16; ++row) ASSERT_EQ(rom::RomImage.Byte(font + 16 * code + row), code ^ row);
  }
}

// SeaBIOS's VGA BIOS for QEMU's standard VGA: 4Eh blocks, its fonts at 73C0h (8x16), 83C0h (8x14), 91C0h (8x8).
const char* const kSeaBios = "/usr/share/seabios/vgabios-stdvga.bin";

std::vector<std::tuple<std::uint32_t, int, bool, bool>> Found(const Bytes& bytes) {
  Bytes copy = bytes;
  std::vector<std::tuple<std::uint32_t, int, bool, bool>> found;
  for (const auto& f : rom::fonts::FindFonts(rom::ImageBytes(copy.data(), static_cast<std::uint32_t>(copy.size()))))
    found.emplace_back(f.offset, f.height, f.byShape, f.byTable);
  return found;
}

// The rule of the shape, part by part: each broken alone in SeaBIOS's 8x16 font loses that font and no other.
// Every SeaBIOS VGA ROM that has fonts gives its three and nothing else; this adapter's sample its table's three.
TEST_F(CliTest, FontsAreFoundByTheirShapeInAnyOptionRom) {
  const Bytes seabios = TempFolder::ReadBytes(kSeaBios);
  ASSERT_EQ(seabios.size(), 0x9C00u) << kSeaBios << ": tools/setup.sh installs seabios";
  using F = std::tuple<std::uint32_t, int, bool, bool>;
  EXPECT_EQ(Found(seabios),
            (std::vector<F>{{0x73C0, 16, true, false}, {0x83C0, 14, true, false}, {0x91C0, 8, true, false}}));
  const std::pair<int, int> breaks[] = {{0x00 * 16 + 3, 0x10}, {0x20 * 16 + 15, 0x01}, {0xDB * 16 + 9, 0xFE},
                                        {0xDC * 16 + 0, 0xFF}, {0xDF * 16 + 15, 0xFF}, {0xDC * 16 + 15, 0x7F}};
  for (const auto& [at, value] : breaks) {
    Bytes broken = seabios;
    broken[0x73C0 + at] = static_cast<std::uint8_t>(value);
    EXPECT_EQ(Found(broken), (std::vector<F>{{0x83C0, 14, true, false}, {0x91C0, 8, true, false}})) << at;
  }
  // Halves split at the first or last row are no halves of a block.
  Bytes thin = seabios;
  for (int r = 0; r < 16; ++r) {
    thin[0x73C0 + 0xDC * 16 + r] = r == 15 ? 0xFF : 0x00;
    thin[0x73C0 + 0xDF * 16 + r] = r == 15 ? 0x00 : 0xFF;
  }
  EXPECT_EQ(Found(thin).size(), 2u);
  int roms = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/usr/share/seabios")) {
    const std::string name = entry.path().filename().string();
    if (!name.starts_with("vgabios-")) continue;
    ++roms;
    const auto found = Found(TempFolder::ReadBytes(entry.path()));
    ASSERT_EQ(found.size(), 3u) << name;
    EXPECT_EQ(std::get<1>(found[0]) * 100 + std::get<1>(found[1]) * 10 + std::get<1>(found[2]), 16 * 100 + 140 + 8)
        << name;
  }
  EXPECT_GE(roms, 5);
  // The sample's glyphs lack the shape: a 32 KB image lists its table's fonts whatever their shape.
  std::vector<F> table;
  for (const char* name : {"8x8", "8x14", "8x16"})
    table.emplace_back(rom::LocateFullFont(Kind(name)).offset, Kind(name).height, false, true);
  EXPECT_EQ(Found(sample), table);
  // A table's font with the shape is listed once, found both ways.
  Bytes shaped = sample;
  std::copy(seabios.begin() + 0x73C0, seabios.begin() + 0x83C0, shaped.begin() + std::get<0>(table[2]));
  table[2] = {std::get<0>(table[2]), 16, true, true};
  EXPECT_EQ(Found(shaped), table);
}

// A SeaBIOS image of 39 KB with bytes past its declared length: the 8x8 font past 32 KB goes out and in, the
// checksum is fixed in the last byte of the declared length, and every other byte stays, the ones past it too.
TEST_F(CliTest, FontsOfAnOptionRomOfAnyLengthGoOutAndIn) {
  Bytes seabios = TempFolder::ReadBytes(kSeaBios);
  ASSERT_EQ(seabios.size(), 0x9C00u);
  Bytes image = seabios;
  for (int i = 0; i < 300; ++i) image.push_back(static_cast<std::uint8_t>(i * 5 + 1));
  Write("sea.rom", image);
  Write("short.rom", Bytes(seabios.begin(), seabios.begin() + 20000));
  ASSERT_EQ(Ombrix({"font", "export", "sea.rom", "8x8", "a.f08"}).status, 0);
  EXPECT_EQ(Read("a.f08"), Bytes(seabios.begin() + 0x91C0, seabios.begin() + 0x99C0));
  Bytes mirrored = Read("a.f08");  // every glyph mirrored left to right keeps the shape
  for (auto& row : mirrored) row = static_cast<std::uint8_t>((row * 0x0202020202ULL & 0x010884422010ULL) % 1023);
  Write("m.f08", mirrored);
  ASSERT_EQ(Ombrix({"font", "import", "sea.rom", "8x8", "m.f08"}).err, "");
  Bytes expected = image;
  std::copy(mirrored.begin(), mirrored.end(), expected.begin() + 0x91C0);
  const Bytes written = Read("sea.rom");
  expected[0x9BFF] = written[0x9BFF];
  EXPECT_EQ(written, expected);
  EXPECT_EQ(std::accumulate(written.begin(), written.begin() + 0x9C00, 0u) & 0xFF, 0u);
  EXPECT_NE(std::accumulate(written.begin(), written.end(), 0u) & 0xFF, 0u);

  // Glyphs without the shape are written, with the offset that finds them again; --at elsewhere writes nothing.
  ASSERT_EQ(Ombrix({"font", "export", "sea.rom", "8x16", "s.f16"}).status, 0);
  Bytes flipped = Read("s.f16");
  for (std::size_t g = 0; g < 256; ++g) std::reverse(flipped.begin() + 16 * g, flipped.begin() + 16 * g + 16);
  Write("f.f16", flipped);
  EXPECT_NE(
      Ombrix({"font", "import", "sea.rom", "8x16", "f.f16"}).err.find("export or import it again with --at 73C0h"),
      std::string::npos);
  EXPECT_EQ(Ombrix({"font", "export", "sea.rom", "8x16", "b.f16"}).status, 2);
  ASSERT_EQ(Ombrix({"font", "export", "sea.rom", "8x16", "b.f16", "--at", "73c0h"}).status, 0);
  EXPECT_EQ(Read("b.f16"), flipped);
  const Bytes before = Read("sea.rom");
  EXPECT_NE(
      Ombrix({"font", "import", "sea.rom", "8x16", "f.f16", "--at", "1000"}).err.find("neither the bytes at 1000h"),
      std::string::npos);
  EXPECT_NE(Ombrix({"font", "import", "sea.rom", "8x16", "s.f16", "--at", "9000"}).err.find("fits at 9000h"),
            std::string::npos);
  EXPECT_EQ(Read("sea.rom"), before);
  ASSERT_EQ(Ombrix({"font", "import", "sea.rom", "8x16", "s.f16", "--at", "0x73C0", "-o", "back.rom"}).status, 0);
  EXPECT_EQ(Read("back.rom"), written);

  // Two fonts of one height: --at chooses.
  Bytes two = seabios;
  std::copy(seabios.begin() + 0x73C0, seabios.begin() + 0x83C0, two.begin() + 0x1000);
  Write("two.rom", two);
  EXPECT_NE(Ombrix({"font", "export", "two.rom", "8x16", "t.f16"})
                .err.find("2 fonts of 256 glyphs 16 rows high, at "
                          "1000h and 73C0h: choose one with --at"),
            std::string::npos);
  ASSERT_EQ(Ombrix({"font", "import", "two.rom", "8x16", "f.f16", "--at", "1000", "-o", "two-b.rom"}).status, 0);
  EXPECT_TRUE(std::equal(flipped.begin(), flipped.end(), Read("two-b.rom").begin() + 0x1000));

  const Command cases[] = {
      {{"info", "sea.rom"}, 0, "declared:   39936 bytes (4Eh blocks of 512); the file holds 300 more past them\n", ""},
      {{"info", "sea.rom"}, 0, "at 9BFFh, computed ", ""},
      {{"info", "short.rom"},
       0,
       "valid:      no, only 20000 bytes long; its header declares 39936 (4Eh blocks of 512)",
       ""},
      {{"verify", "short.rom"}, 1, "only 20000 bytes long; its header declares 39936", ""},
      {{"fix-checksum", "short.rom"}, 4, "", "only 20000 bytes long; its header declares 39936 (4Eh blocks of 512)"},
      {{"font", "find", "short.rom"}, 4, "", "only 20000 bytes long; its header declares 39936"},
      {{"font", "find", "sea.rom", "--json"}, 0, "\"offset\": 33728", ""},
      {{"font", "export", "sea.rom", "9x16", "a.json", "--at", "1000"}, 2, "", "--at chooses among the full fonts"},
      {{"set", "sea.rom", "sub-vendor.vendor-id=1234"},
       2,
       "",
       "declares 39936 bytes (4Eh blocks of 512), not the 32 KB"},
  };
  for (const Command& c : cases) Expect(c);
  EXPECT_EQ(Read("short.rom"), Bytes(seabios.begin(), seabios.begin() + 20000));
  EXPECT_EQ(Read("sea.rom"), before);
}
