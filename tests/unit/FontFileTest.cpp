// Whole fonts of the image to and from files, on the sample image and Debian's console fonts.
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>

#include "rom/FontLayout.h"
#include "rom/fonts/FontTransfer.h"
#include "tests/support/PageTest.h"
#include "tools/SampleRom.h"

namespace {

using testing_support::Bytes;
using testing_support::ImageBytes;
using testing_support::TempFolder;

const rom::FontKind& Kind(const std::string& name) {
  return *rom::FindFontKind(name);
}

// `bytes` as a gzip file, as Debian ships its console fonts.
Bytes Gzip(const Bytes& bytes) {
  TempFolder folder;
  gzFile file = gzopen((folder / "f.gz").string().c_str(), "wb");
  gzwrite(file, bytes.data(), static_cast<unsigned>(bytes.size()));
  gzclose(file);
  return TempFolder::ReadBytes(folder / "f.gz");
}

// The n-th little-endian word of 32 bits.
void SetDword(Bytes& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

class FontFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rom::ResetRomState();
    sample_rom::BuildSampleRom(sample_rom::SampleFonts{}).Load();
  }
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
    std::vector<std::uint32_t> rows;
    std::string error;
    if (kind.fixup) {
      rom::LocateFixupRecords(kind, rows, error);
      for (std::uint32_t& record : rows) ++record;
    } else {
      rows.push_back(rom::LocateFullFont(kind).offset);
    }
    const std::uint32_t length = kind.fixup ? kind.height : 256u * kind.height;
    for (std::uint32_t first : rows) {
      for (std::uint32_t i = 0; i < length; ++i) rom::RomImage.SetByte(first + i, 0xA5);
    }
  }
};

TEST_F(FontFileTest, EveryFormatRoundTripsByteForByte) {
  const Bytes original = ImageBytes();
  struct Case {
    const char* font;
    const char* name;
    bool gzip;
  };
  for (const Case& c : {Case{"8x8", "a.f08", false}, Case{"8x14", "a.F14", false}, Case{"8x16", "a.f16", false},
                        Case{"8x8", "a.psf", false}, Case{"8x14", "a.psf2", false}, Case{"8x16", "a.psf.gz", true},
                        Case{"9x14", "a.json", false}, Case{"9x16", "a.json", false}}) {
    const Bytes file = Export(c.font, c.gzip ? "a.psf" : c.name);
    Wipe(Kind(c.font));
    ASSERT_NE(ImageBytes(), original);
    std::string note, error;
    EXPECT_TRUE(rom::fonts::ImportFont(Kind(c.font), c.name, c.gzip ? Gzip(file) : file, note, error)) << error;
    EXPECT_EQ(note, "");
    EXPECT_EQ(ImageBytes(), original) << c.font << " " << c.name;
  }
}
// A fix-up file whose records have `codes`, each with `rows` rows of the text `row`.
Bytes FixupFile(std::initializer_list<const char*> codes, int rows, const std::string& row = "81") {
  std::string text = "{\"records\": [";
  for (const char* code : codes) {
    text += std::string(text.back() == '[' ? "" : ",") + "{\"code\": \"" + code + "\", \"rows\": [";
    for (int i = 0; i < rows; ++i) text += (i ? ",\"" : "\"") + row + "\"";
    text += "]}";
  }
  text += "]}";
  return Bytes(text.begin(), text.end());
}

TEST_F(FontFileTest, FilesThatDoNotFitAreRefusedWithTheReasonAndWriteNothing) {
  const Bytes psf1 = Export("8x16", "a.psf");
  const Bytes psf2 = Export("8x16", "a.psf2");
  auto psf2With = [&](std::size_t at, std::uint32_t value) {
    Bytes bytes = psf2;
    SetDword(bytes, at, value);
    return bytes;
  };
  const Bytes gz = Gzip(psf1);
  struct Case {
    const char* font;
    const char* name;
    Bytes bytes;
    const char* problem;
  };
  const Case cases[] = {
      {"8x16", "a.psf", Bytes(psf1.begin(), psf1.end() - 1), "ends after 4099 bytes"},
      {"8x16", "a.psf", Export("8x14", "a.psf"), "14 rows high"},
      {"8x16", "a.psf", Bytes(psf1.begin(), psf1.begin() + 3), "header is cut short"},
      {"8x16", "a.psf2", Bytes(psf2.begin(), psf2.begin() + 31), "header is cut short"},
      {"8x16", "a.psf2", psf2With(28, 9), "9 pixels wide"},
      {"8x16", "a.psf2", psf2With(20, 15), "15 bytes per glyph"},
      {"8x16", "a.psf2", psf2With(16, 257), "promises 257 glyphs"},
      {"8x16", "a.psf2", psf2With(8, 40), "ends after 4128 bytes"},
      {"8x16", "a.psf2", psf2With(8, 16), "less than 32"},
      {"8x16", "a.psf2", psf2With(16, 100), "holds 100 glyphs"},
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

TEST_F(FontFileTest, Psf2WithUnicodeTableAndMoreGlyphsGivesItsFirst256AndSaysSo) {
  const Bytes original = ImageBytes();
  Bytes psf2 = Export("8x16", "a.psf2");
  SetDword(psf2, 12, 1);    // has a Unicode table
  SetDword(psf2, 16, 300);  // 300 glyphs
  psf2.insert(psf2.end(), 44 * 16 + 6, 0xFF);
  Wipe(Kind("8x16"));
  std::string note, error;
  EXPECT_TRUE(rom::fonts::ImportFont(Kind("8x16"), "a.psf2", psf2, note, error)) << error;
  EXPECT_EQ(note, "the file holds 300 glyphs; the first 256 were taken");
  EXPECT_EQ(ImageBytes(), original);
}

TEST_F(FontFileTest, FixupImportChangesOnlyTheRowsOfTheNamedRecord) {
  Bytes expected = ImageBytes();
  std::vector<std::uint32_t> records;
  std::string note, error;
  ASSERT_TRUE(rom::LocateFixupRecords(Kind("9x14"), records, error));
  const std::uint32_t record = records[1];  // code 4Dh, the second record
  ASSERT_EQ(rom::RomImage.Byte(record), 0x4D);
  for (std::uint32_t i = 1; i <= 14; ++i) expected[record + i] = 0x0F;
  EXPECT_TRUE(rom::fonts::ImportFont(Kind("9x14"), "a.json", FixupFile({"4d"}, 14, "f"), note, error)) << error;
  EXPECT_EQ(ImageBytes(), expected);
}

TEST_F(FontFileTest, FontsOutsideTheImageAreRefused) {
  const std::uint32_t oem = rom::OemPointerTable().offset;
  rom::RomImage.SetWord(oem + 0x08, 0x7800);  // 8x16 font: 4096 bytes do not fit
  rom::RomImage.SetWord(oem + 0x0C, 0x7FF0);  // 9x16 fix-up table: its first record does not fit
  rom::RomImage.SetByte(0x7FF0, 0x4D);
  Bytes out;
  std::string error;
  EXPECT_FALSE(rom::fonts::ExportFont(Kind("8x16"), "a.f16", out, error));
  EXPECT_NE(error.find("reaches past the end"), std::string::npos) << error;
  EXPECT_FALSE(rom::fonts::ExportFont(Kind("9x16"), "a.json", out, error));
  ExpectRefused("8x16", "a.f16", Bytes(4096, 0), "reaches past the end");
  ExpectRefused("9x16", "a.json", FixupFile({}, 16), "reaches past the end");
}

// Debian's console fonts: the first 256 glyphs land in the image exactly as the file holds them.
TEST_F(FontFileTest, ConsoleFontsImportExactly) {
  const std::filesystem::path folder = "/usr/share/consolefonts";
  if (!std::filesystem::exists(folder / "cp850-8x8.psf.gz")) GTEST_SKIP() << "no console fonts installed";
  struct Case {
    const char* file;
    const char* font;
    const char* note;
  };
  for (const Case& c : {Case{"cp850-8x8.psf.gz", "8x8", ""}, Case{"cp850-8x14.psf.gz", "8x14", ""},
                        Case{"cp850-8x16.psf.gz", "8x16", ""}, Case{"default8x16.psf.gz", "8x16", ""},
                        Case{"LatArCyrHeb-16.psf.gz", "8x16", "holds 512 glyphs; the first 256"}}) {
    const Bytes file = TempFolder::ReadBytes(folder / c.file);
    Bytes plain(64 * 1024);  // unpacked here with zlib's own reader
    gzFile gz = gzopen((folder / c.file).c_str(), "rb");
    ASSERT_GT(gzread(gz, plain.data(), static_cast<unsigned>(plain.size())), 0) << c.file;
    gzclose(gz);
    std::string note, error;
    ASSERT_TRUE(rom::fonts::ImportFont(Kind(c.font), c.file, file, note, error)) << c.file << ": " << error;
    EXPECT_NE(note.find(c.note), std::string::npos) << note;
    const std::uint32_t size256 = 256u * Kind(c.font).height;
    EXPECT_TRUE(std::equal(plain.begin() + 4, plain.begin() + 4 + size256,  // past the 4-byte header
                           rom::RomImage.data() + rom::LocateFullFont(Kind(c.font)).offset))
        << c.file;
  }
  ExpectRefused("8x16", "lat1-12.psf.gz", TempFolder::ReadBytes(folder / "lat1-12.psf.gz"), "12 rows high");
}

}  // namespace
