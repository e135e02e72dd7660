// ombrix on the sample image and on damaged ones: exit statuses, what it prints,
// files left byte-identical when it refuses, and the same bytes as the window.
// Whole fonts to and from files, on the sample image and Debian's console fonts.
#include <gtest/gtest.h>
#include <zlib.h>

#include <nlohmann/json.hpp>

#include "cli/Run.h"
#include "rom/FontLayout.h"
#include "rom/RomFile.h"
#include "rom/fonts/FontTransfer.h"
#include "rom/timing/ModeTiming.h"
#include "tests/support/PageTest.h"
#include "tools/SampleRom.h"

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

// A fix-up file whose records have `codes`, each with `rows` rows of the text `row`.
Bytes FixupFile(std::initializer_list<const char*> codes, std::size_t rows, const std::string& row = "81") {
  nlohmann::json records = nlohmann::json::array();
  for (const char* code : codes) records.push_back({{"code", code}, {"rows", std::vector<std::string>(rows, row)}});
  const std::string text = nlohmann::json{{"records", records}}.dump();
  return Bytes(text.begin(), text.end());
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
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out, err;
  };
  const Case cases[] = {
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
      {{"get", "sample.rom", "sub-vendor.vendor-id", "modes.101h.rows"}, 0, "1A5E\n", ""},
      {{"get", "sample.rom", "signature.3.hex", "fonts.8x8.41.7"}, 0, "42\n00\n", ""},
      {{"get", "outside.rom", "sign-on.text"}, 2, "", "sign-on.text: The OEM pointer table"},
      {{"get", "sample.rom", "memory.nothing"}, 3, "", "there is no field memory.nothing"},
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
  for (const Case& c : cases) {
    const Outcome o = Ombrix(c.args);
    const std::string what = c.args[0] + " " + c.args.back();
    EXPECT_EQ(o.status, c.status) << what << "\n" << o.err;
    EXPECT_NE(o.out.find(c.out), std::string::npos) << what << "\n" << o.out.substr(0, 2000);
    EXPECT_TRUE(c.err.empty() ? o.err.empty() : o.err.find(c.err) != std::string::npos) << what << "\n" << o.err;
  }
  EXPECT_EQ(Read("sample.rom"), sample);
  EXPECT_EQ(Read("outside.rom"), outside);
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
      {"9x14", "a.json", Bytes{0x7B, 0x22}, "not valid JSON"},
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
