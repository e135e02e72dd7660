// The sample image the tool writes, walked with the editor's own checked lookups.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "rom/RomImage.h"
#include "rom/RomLayout.h"
#include "tests/support/PageTest.h"
#include "tools/SampleRom.h"

namespace {

using rom::OemEntry;
using rom::RomImage;

std::uint32_t Word(std::uint32_t at) {
  return rom::ReadWordLE(at, at + 1);
}
const std::uint8_t* At(std::uint32_t offset) {
  return RomImage.data() + offset;
}

// Where the chain leads; the test fails unless the structure lies wholly inside the image.
std::uint32_t Reach(const rom::Located& located) {
  EXPECT_TRUE(located) << located.error;
  return located.offset;
}

class SampleRomTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rom::ResetRomState();
    sample_rom::BuildSampleRom(sample_rom::SampleFonts{}).Load();
  }
};

TEST_F(SampleRomTest, IsAValidOptionRomWithChecksumZero) {
  EXPECT_EQ(Word(0), 0xAA55u);
  EXPECT_EQ(RomImage.Byte(2), 0x40) << "64 blocks of 512 bytes";
  EXPECT_EQ(testing_support::SumOf(testing_support::ImageBytes()), 0u);
  const std::uint32_t pci = Reach(rom::FollowPointer(0x18, "PCI data structure", 0x18));
  EXPECT_EQ(std::string(At(pci), At(pci + 4)), "PCIR");
}

TEST_F(SampleRomTest, EveryStructureIsReachableTheSignOnHoldsCrLfAndTheModeListEnds) {
  Reach(rom::FollowOemEntry(OemEntry::kMemoryConfig, "memory configuration", 36));
  const std::uint32_t s = Reach(rom::FollowOemEntry(OemEntry::kSignOn, "sign-on record", 2));
  ASSERT_TRUE(rom::Within("sign-on text", s + 2, Word(s)) && Word(s) <= 120);
  const std::string text(At(s + 2), At(s + 2 + Word(s)));
  EXPECT_EQ(text, sample_rom::kSignOnText);
  EXPECT_NE(text.find("\r\n"), std::string::npos);

  const std::uint32_t save = Reach(rom::FollowOemEntry(OemEntry::kSavePointerTable, "save pointer table", 0x1C));
  const auto records = static_cast<std::uint32_t>(sample_rom::SampleParameterRecords().size());
  const std::uint32_t table = Reach(rom::FollowPointer(save, "parameter table", 64 * records));
  const std::uint32_t secondary = Reach(rom::FollowPointer(save + 0x10, "secondary save pointer table", 0x1A));
  const std::uint32_t info = Reach(rom::FollowPointer(secondary + 0x16, "extended mode header", 6));
  std::uint32_t p = Reach(rom::FollowPointer(info + 4, "extended mode list", 15 * 14)) + 15 * 14;
  for (const sample_rom::ExtendedMode& mode : sample_rom::SampleExtendedModes()) {
    ASSERT_TRUE(rom::Within("mode record", p, 14));
    EXPECT_EQ(Word(p + 2), mode.mode.modeNumber);
    const std::uint32_t exReg = Reach(rom::Within("ExRegRecord", Word(info) + 5u * RomImage.Byte(p + 1), 5));
    EXPECT_NE(RomImage.Byte(exReg + 2), 0) << "byte 2 names the mode's own parameter record";
    Reach(rom::Within("parameter record", table + 64u * RomImage.Byte(exReg + 2), 64));
    p += 14;
  }
  ASSERT_TRUE(rom::Within("mode list end", p, 1));
  EXPECT_EQ(RomImage.Byte(p), 0xFF);
}

TEST_F(SampleRomTest, LettersAreLitAndFixupsCopyTheirGlyphs) {
  struct Font {
    OemEntry entry, fixups;  // no fix-ups for the 8x8 font
    std::uint32_t height;
  };
  for (const Font& f :
       {Font{OemEntry::kFont8x8, OemEntry::kFont8x8, 8}, Font{OemEntry::kFont8x14, OemEntry::kFixup9x14, 14},
        Font{OemEntry::kFont8x16, OemEntry::kFixup9x16, 16}}) {
    const std::uint32_t font = Reach(rom::FollowOemEntry(f.entry, "font", 256 * f.height));
    for (std::uint32_t code = 'A'; code <= 'Z'; ++code)
      EXPECT_TRUE(std::any_of(At(font + code * f.height), At(font + (code + 1) * f.height), [](auto b) { return b; }))
          << "8x" << f.height << " " << char(code);
    if (f.height == 8) continue;
    std::uint32_t p = Reach(rom::FollowOemEntry(f.fixups, "fix-up table", 1));
    for (const std::uint8_t code : sample_rom::kFixupCodes) {
      ASSERT_TRUE(rom::Within("fix-up record", p, f.height + 2)) << "with the end byte after it";
      EXPECT_EQ(RomImage.Byte(p), code);
      EXPECT_TRUE(std::equal(At(p + 1), At(p + 1 + f.height), At(font + code * f.height))) << "fix-up " << int(code);
      p += f.height + 1;
    }
    EXPECT_EQ(RomImage.Byte(p), 0x00) << "the fix-up table ends";
  }
}

}  // namespace
