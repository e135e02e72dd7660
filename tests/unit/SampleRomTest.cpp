#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "rom/RomImage.h"
#include "rom/RomLayout.h"
#include "tools/SampleRom.h"

namespace {

using rom::FollowOemEntry;
using rom::FollowPointer;
using rom::Located;
using rom::OemEntry;
using rom::RomImage;

constexpr std::uint32_t kExModeRecordSize = 14;
constexpr std::uint32_t kSkippedExModeBytes = 15 * kExModeRecordSize;
const std::filesystem::path kConsoleFonts = "/usr/share/consolefonts";

std::uint32_t Word(std::uint32_t offset) {
  return rom::ReadWordLE(offset, offset + 1);
}

bool AllZero(const std::vector<std::uint8_t>& rows) {
  return std::all_of(rows.begin(), rows.end(), [](std::uint8_t b) { return b == 0; });
}

// Loads the sample into RomImage and walks it with the editor's own checked chain.
class SampleRomTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rom::ResetRomState();
    sample_rom::BuildSampleRom(sample_rom::SampleFonts{}).Load();
  }

  // Follows a pointer and insists that the structure lies inside the image.
  static std::uint32_t Reach(std::uint32_t pointer, const std::string& what, std::uint32_t length) {
    const Located located = FollowPointer(pointer, what, length);
    EXPECT_TRUE(located) << located.error;
    return located.offset;
  }
  static std::uint32_t Reach(OemEntry entry, const std::string& what, std::uint32_t length) {
    const Located located = FollowOemEntry(entry, what, length);
    EXPECT_TRUE(located) << located.error;
    return located.offset;
  }

  static std::uint32_t SaveTable() { return Reach(OemEntry::kSavePointerTable, "save pointer table", 0x1C); }
  static std::uint32_t ExModeInfo() {
    const std::uint32_t secondary = Reach(SaveTable() + 0x10, "secondary save pointer table", 0x1A);
    return Reach(secondary + 0x16, "extended mode header", 6);
  }
  // The fix-up records of a table, read up to its 0x00 code, each checked to lie inside the image.
  static std::vector<std::pair<std::uint8_t, std::vector<std::uint8_t>>> FixupRecords(OemEntry entry, int height) {
    std::vector<std::pair<std::uint8_t, std::vector<std::uint8_t>>> records;
    std::uint32_t p = Reach(entry, "fix-up table", 1);
    while (rom::Within("fix-up code", p, 1) && RomImage.Byte(p) != 0x00) {
      EXPECT_TRUE(rom::Within("fix-up record", p, static_cast<std::uint32_t>(height) + 1));
      std::vector<std::uint8_t> rows;
      for (int r = 0; r < height; ++r) rows.push_back(RomImage.Byte(p + 1 + static_cast<std::uint32_t>(r)));
      records.emplace_back(RomImage.Byte(p), rows);
      p += static_cast<std::uint32_t>(height) + 1;
    }
    EXPECT_TRUE(rom::Within("fix-up end", p, 1)) << "the table ends inside the image";
    return records;
  }
};

TEST_F(SampleRomTest, IsAValidOptionRomWithItsFixedFields) {
  EXPECT_EQ(RomImage.Byte(0), 0x55);
  EXPECT_EQ(RomImage.Byte(1), 0xAA);
  EXPECT_EQ(RomImage.Byte(2), 0x40) << "64 blocks of 512 bytes";
  unsigned sum = 0;
  for (std::uint32_t i = 0; i < rom::kRomSize; ++i) sum += RomImage.Byte(i);
  EXPECT_EQ(sum % 256, 0u);
  const std::uint32_t pci = Word(0x18);
  ASSERT_TRUE(rom::Within("PCI data structure", pci, 0x18));
  EXPECT_EQ(std::string({char(RomImage.Byte(pci)), char(RomImage.Byte(pci + 1)), char(RomImage.Byte(pci + 2)),
                         char(RomImage.Byte(pci + 3))}),
            "PCIR");
  std::string signature;
  for (std::uint32_t i = 0; i < 16; ++i) signature += static_cast<char>(RomImage.Byte(rom::kSignatureTextOffset + i));
  EXPECT_EQ(signature, sample_rom::kSignatureText);
  EXPECT_EQ(Word(rom::kSubsystemVendorIdOffset), sample_rom::kSubsystemVendorId);
  EXPECT_EQ(Word(rom::kSubsystemDeviceIdOffset), sample_rom::kSubsystemDeviceId);
}

TEST_F(SampleRomTest, StructuresDoNotOverlapEachOtherOrTheFixedFields) {
  const testing_support::RomLayout l = sample_rom::SampleLayout();
  const std::uint32_t records = static_cast<std::uint32_t>(sample_rom::SampleParameterRecords().size());
  const std::uint32_t exModes = static_cast<std::uint32_t>(sample_rom::SampleExtendedModes().size());
  std::uint32_t maxModeIndex = 0;
  for (const auto& e : sample_rom::SampleExtendedModes())
    maxModeIndex = std::max<std::uint32_t>(maxModeIndex, e.mode.modeIndex);
  const std::uint32_t fixups = static_cast<std::uint32_t>(sample_rom::kFixupCodes.size());
  const std::vector<std::pair<std::string, std::pair<std::uint32_t, std::uint32_t>>> spans = {
      {"header", {0x0000, 0x05}},
      {"PCI pointer", {0x0018, 2}},
      {"IBM mark", {0x001E, 3}},
      {"signature and OEM pointer word", {0x0040, 0x12}},
      {"PCI data", {Word(0x18), 0x18}},
      {"entry", {0x0080, 1}},
      {"OEM pointer table", {l.oemTable, 0x10}},
      {"memory configuration", {l.memoryConfig, 36}},
      {"save pointer table", {l.savePointerTable, 0x1C}},
      {"secondary save pointer table", {l.secondarySaveTable, 0x1A}},
      {"extended mode header", {l.exModeInfo, 6}},
      {"extended register table", {l.exRegTable, 5 * (maxModeIndex + 1)}},
      {"extended mode list", {l.exModeList, kSkippedExModeBytes + kExModeRecordSize * exModes + 1}},
      {"parameter table", {l.parameterTable, 64 * records}},
      {"8x8 font", {l.font8x8, 8 * 256}},
      {"8x14 font", {l.font8x14, 14 * 256}},
      {"8x16 font", {l.font8x16, 16 * 256}},
      {"9x14 fix-ups", {l.fixup9x14, 15 * fixups + 1}},
      {"9x16 fix-ups", {l.fixup9x16, 17 * fixups + 1}},
      {"sign-on record", {l.signOn, 2 + static_cast<std::uint32_t>(std::strlen(sample_rom::kSignOnText))}},
      {"subsystem IDs and checksum", {0x7FF8, 8}},
  };
  for (std::size_t i = 0; i < spans.size(); ++i) {
    const auto& [name, span] = spans[i];
    EXPECT_TRUE(rom::Within(name, span.first, span.second)) << name;
    for (std::size_t j = i + 1; j < spans.size(); ++j) {
      const auto& [other, o] = spans[j];
      const bool disjoint = span.first + span.second <= o.first || o.first + o.second <= span.first;
      EXPECT_TRUE(disjoint) << name << " overlaps " << other;
    }
  }
}

TEST_F(SampleRomTest, SignOnRecordHoldsALineBreak) {
  const std::uint32_t s = Reach(OemEntry::kSignOn, "sign-on record", 2);
  const std::uint32_t length = Word(s);
  ASSERT_TRUE(rom::Within("sign-on text", s + 2, length));
  EXPECT_LE(length, 120u);
  std::string text;
  for (std::uint32_t i = 0; i < length; ++i) text += static_cast<char>(RomImage.Byte(s + 2 + i));
  EXPECT_EQ(text, sample_rom::kSignOnText);
  EXPECT_NE(text.find("\r\n"), std::string::npos);
}

TEST_F(SampleRomTest, MemoryConfigurationHoldsNineValues) {
  const std::uint32_t r = Reach(OemEntry::kMemoryConfig, "memory configuration", 36);
  std::set<std::uint32_t> values;
  for (std::uint32_t i = 0; i < 9; ++i) values.insert(Word(r + 4 * i) | Word(r + 4 * i + 2) << 16);
  EXPECT_EQ(values.size(), 9u) << "nine distinct register values";
}

TEST_F(SampleRomTest, FullFontsAndFixupsShowLetters) {
  struct Font {
    OemEntry entry;
    int height;
  };
  for (const Font& font : {Font{OemEntry::kFont8x8, 8}, Font{OemEntry::kFont8x14, 14}, Font{OemEntry::kFont8x16, 16}}) {
    const std::uint32_t f = Reach(font.entry, "font", 256u * static_cast<std::uint32_t>(font.height));
    std::set<std::vector<std::uint8_t>> letters;
    for (int code = 'A'; code <= 'Z'; ++code) {
      std::vector<std::uint8_t> rows;
      for (int r = 0; r < font.height; ++r)
        rows.push_back(RomImage.Byte(f + static_cast<std::uint32_t>(code * font.height + r)));
      EXPECT_FALSE(AllZero(rows)) << "8x" << font.height << " glyph " << char(code);
      letters.insert(rows);
    }
    EXPECT_EQ(letters.size(), 26u) << "every capital of the 8x" << font.height << " font looks different";
  }
  for (const Font& table : {Font{OemEntry::kFixup9x14, 14}, Font{OemEntry::kFixup9x16, 16}}) {
    const auto records = FixupRecords(table.entry, table.height);
    ASSERT_EQ(records.size(), sample_rom::kFixupCodes.size());
    const std::uint32_t full = Reach(table.height == 14 ? OemEntry::kFont8x14 : OemEntry::kFont8x16, "font", 1);
    for (std::size_t k = 0; k < records.size(); ++k) {
      EXPECT_EQ(records[k].first, sample_rom::kFixupCodes[k]);
      std::vector<std::uint8_t> glyph;
      for (int r = 0; r < table.height; ++r)
        glyph.push_back(RomImage.Byte(full + static_cast<std::uint32_t>(records[k].first * table.height + r)));
      EXPECT_EQ(records[k].second, glyph) << "fix-up " << int(records[k].first) << " copies its glyph";
    }
    EXPECT_FALSE(AllZero(records[1].second)) << "4Dh (M) is lit";
  }
}

TEST_F(SampleRomTest, ExtendedModesEndWithFFAndLeadToTheirRecords) {
  const std::uint32_t table = Reach(SaveTable(), "parameter table", 64 * sample_rom::kStandardRecordCount);
  const std::uint32_t info = ExModeInfo();
  const std::uint32_t exRegs = Reach(info, "extended register table", 5 * sample_rom::kStandardRecordCount);
  const std::uint32_t list = Reach(info + 4, "extended mode list", kSkippedExModeBytes + 1);
  for (std::uint32_t k = 0; k < 15; ++k) EXPECT_NE(RomImage.Byte(list + kExModeRecordSize * k), 0xFF) << k;

  const auto& expected = sample_rom::SampleExtendedModes();
  std::uint32_t p = list + kSkippedExModeBytes;
  std::size_t count = 0;
  for (; rom::Within("mode record", p, 1) && RomImage.Byte(p) != 0xFF; p += kExModeRecordSize, ++count) {
    ASSERT_TRUE(rom::Within("mode record", p, kExModeRecordSize));
    ASSERT_LT(count, expected.size());
    const std::uint8_t modeIndex = RomImage.Byte(p + 1);
    EXPECT_GT(modeIndex, 28) << "adapter modes use indexes past the VGA's";
    ASSERT_TRUE(rom::Within("ExRegRecord", exRegs + 5u * modeIndex, 5));
    const std::uint8_t recordIndex = RomImage.Byte(exRegs + 5u * modeIndex + 2);
    EXPECT_NE(recordIndex, 0) << "byte 2 names the parameter record";
    const std::uint32_t record = table + 64u * recordIndex;
    ASSERT_TRUE(rom::Within("parameter record", record, 64));
    const std::uint32_t width = Word(p + 7), height = Word(p + 9);
    EXPECT_EQ(Word(p + 2), expected[count].mode.modeNumber);
    EXPECT_EQ(RomImage.Byte(record) * 8u, width) << "columns of mode " << std::hex << Word(p + 2);
    // CRTC 1h: horizontal display end in characters; 12h with overflow bits 7h.1 and 7h.6: last line.
    const std::uint32_t crtc = record + 0x0A;
    EXPECT_EQ((RomImage.Byte(crtc + 0x01) + 1u) * 8u, width);
    const std::uint8_t overflow = RomImage.Byte(crtc + 0x07);
    const std::uint32_t lastLine =
        RomImage.Byte(crtc + 0x12) | ((overflow >> 1) & 1u) << 8 | ((overflow >> 6) & 1u) << 9;
    EXPECT_EQ(lastLine + 1, height) << "mode " << std::hex << Word(p + 2);
  }
  EXPECT_EQ(count, expected.size());
  ASSERT_TRUE(rom::Within("list end", p, 1));
  EXPECT_EQ(RomImage.Byte(p), 0xFF);
}

TEST(SampleParameterRecords, AdapterTimingsEncodeLikeTheVgaOwn640x480) {
  // The adapter's 640x480 record and VGA mode 12h share their vertical timing, so the
  // registers computed for the one must equal the VGA's values for the other.
  const auto records = sample_rom::SampleParameterRecords();
  const auto& vga12 = records[27];
  const auto& adapter101 = records[30];
  for (int reg : {0x00, 0x01, 0x06, 0x07, 0x09, 0x10, 0x11, 0x12, 0x15})
    EXPECT_EQ(adapter101[0x0A + reg], vga12[0x0A + reg]) << "CRTC " << std::hex << reg;
  for (int unused : {8, 9, 10, 11, 12, 15, 16})
    EXPECT_TRUE(std::all_of(records[unused].begin(), records[unused].end(), [](auto b) { return b == 0; }));
}

std::vector<std::uint8_t> Psf1(int height, std::uint8_t fill) {
  std::vector<std::uint8_t> bytes = {0x36, 0x04, 0x00, static_cast<std::uint8_t>(height)};
  bytes.resize(4 + 256u * static_cast<std::uint32_t>(height), fill);
  return bytes;
}

TEST(ConsoleFont, ParsesPsf1AndRefusesWhatItCannotUse) {
  std::string error;
  std::vector<std::uint8_t> bytes = Psf1(14, 0x00);
  bytes[4 + 0x41 * 14] = 0x18;
  bytes.push_back(0x99);  // a 512-glyph font or a Unicode table may follow; only 256 glyphs count
  const auto font = sample_rom::ParsePsf1(bytes, 14, error);
  ASSERT_TRUE(font) << error;
  EXPECT_EQ(font->rows.size(), 256u * 14u);
  EXPECT_EQ(font->Glyph(0x41)[0], 0x18);

  EXPECT_FALSE(sample_rom::ParsePsf1(Psf1(16, 0), 14, error)) << "glyphs of another height";
  EXPECT_NE(error.find("16 rows"), std::string::npos) << error;
  std::vector<std::uint8_t> shortFont = Psf1(8, 0);
  shortFont.pop_back();
  EXPECT_FALSE(sample_rom::ParsePsf1(shortFont, 8, error)) << "one byte short";
  std::vector<std::uint8_t> psf2 = Psf1(8, 0);
  psf2[0] = 0x72;
  EXPECT_FALSE(sample_rom::ParsePsf1(psf2, 8, error));
  EXPECT_FALSE(sample_rom::ParsePsf1({0x36, 0x04}, 8, error)) << "header cut short";
}

TEST(ConsoleFont, ReadsPlainFilesAndKeepsBuiltInLettersWhenFontsAreMissing) {
  const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "ombrix_fonts";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::vector<std::string> notes;
  sample_rom::SampleFonts missing = sample_rom::LoadSampleFonts(dir, notes);
  EXPECT_EQ(notes.size(), 3u);
  EXPECT_EQ(missing.font8x16.rows, sample_rom::BuiltInFont(16).rows);

  const std::vector<std::uint8_t> bytes = Psf1(8, 0x5A);
  std::ofstream(dir / "cp850-8x8.psf", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  notes.clear();
  const sample_rom::SampleFonts fonts = sample_rom::LoadSampleFonts(dir, notes);
  EXPECT_EQ(notes.size(), 2u) << "only the 8x14 and 8x16 fonts are missing";
  EXPECT_EQ(fonts.font8x8.rows, std::vector<std::uint8_t>(256 * 8, 0x5A));
  std::filesystem::remove_all(dir);
}

TEST(ConsoleFont, BuiltInFontHasADistinctGlyphPerLetterAndDigit) {
  for (int height : {8, 14, 16}) {
    const sample_rom::FontGlyphs font = sample_rom::BuiltInFont(height);
    std::set<std::vector<std::uint8_t>> glyphs;
    for (char c : std::string("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ")) {
      EXPECT_FALSE(AllZero(font.Glyph(c))) << c;
      glyphs.insert(font.Glyph(c));
      EXPECT_EQ(font.Glyph(c), font.Glyph(std::tolower(c))) << "small letters borrow the capitals";
    }
    EXPECT_EQ(glyphs.size(), 36u) << height;
    EXPECT_TRUE(AllZero(font.Glyph(0x1D)));
  }
}

TEST(ConsoleFont, ReadsTheInstalledConsoleFonts) {
  if (!sample_rom::CanReadCompressedFonts() || !std::filesystem::exists(kConsoleFonts / "cp850-8x16.psf.gz"))
    GTEST_SKIP() << "needs zlib and Debian's kbd console fonts";
  std::vector<std::string> notes;
  const sample_rom::SampleFonts fonts = sample_rom::LoadSampleFonts(kConsoleFonts, notes);
  EXPECT_TRUE(notes.empty()) << notes.front();
  EXPECT_NE(fonts.font8x16.rows, sample_rom::BuiltInFont(16).rows);
  EXPECT_FALSE(AllZero(fonts.font8x14.Glyph('A')));
  // The VGA-style capital A: a point on top, two legs below.
  EXPECT_EQ(fonts.font8x16.Glyph('A')[2], 0x10);
  EXPECT_EQ(fonts.font8x16.Glyph('A')[7], 0xFE);
}

}  // namespace
