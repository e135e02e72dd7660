// The Memory Configuration page through the sheet's logic on fake controls.
#include "tests/support/PageTest.h"

namespace {

using testing_support::ImageBytes;
using testing_support::PageTest;
using testing_support::RomBuilder;
using testing_support::RomLayout;

class MemoryConfigTest : public PageTest {
 protected:
  MemoryConfigTest() : PageTest(4) {}
  std::string Box(int index) { return Text(IDC_MEMORY_REG_FIRST + index); }
  static std::uint32_t Stored(const RomBuilder& image, int index) {
    const std::uint32_t r = image.layout().memoryConfig + 4u * static_cast<std::uint32_t>(index);
    return rom::RomImage.Word(r) | (static_cast<std::uint32_t>(rom::RomImage.Word(r + 2)) << 16);
  }
};

TEST_F(MemoryConfigTest, ShowsEightDigitsAndStoresHexTextOrZero) {
  RomBuilder image;
  image.MemoryConfig({0x12345678, 1, 9, 9, 9, 9, 9, 0xABCDEF00, 0xFFFFFFFF});
  Show(image);
  EXPECT_EQ(Box(0) + " " + Box(1) + " " + Box(7) + " " + Box(8), "12345678 00000001 ABCDEF00 FFFFFFFF");
  EXPECT_EQ(ui().state(IDC_MEMORY_REG_FIRST + 8).limit, 8);
  ExpectApplyWrites({});

  const struct {
    const char* typed;
    std::uint32_t stored;
  } cases[] = {{"1F", 0x1F}, {"FFFFFFFF", 0xFFFFFFFF}, {"", 0}, {"12Z", 0}, {"abcdef01", 0xABCDEF01}};
  for (int i = 0; i < 5; ++i) Type(IDC_MEMORY_REG_FIRST + 2 + i, cases[i].typed);
  Apply();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Stored(image, 2 + i), cases[i].stored) << cases[i].typed;
  EXPECT_EQ(Box(2), "0000001F");
  EXPECT_EQ(Stored(image, 0), 0x12345678u);
  EXPECT_EQ(Stored(image, 7), 0xABCDEF00u);
}

TEST_F(MemoryConfigTest, EditsAreDroppedWhenThePageIsShownAgain) {
  RomBuilder image;
  image.MemoryConfig({0x11111111, 0, 0, 0, 0, 0, 0, 0, 0});
  Show(image);
  Type(IDC_MEMORY_REG_FIRST, "22222222");
  Revisit(3);
  EXPECT_EQ(Box(0), "11111111");
  EXPECT_EQ(ImageBytes(), image.bytes());
}

TEST_F(MemoryConfigTest, RecordPastTheImageIsRefusedAsAWhole) {
  RomLayout nearEnd;
  nearEnd.memoryConfig = 0x7FE0;  // 36 bytes would end at 0x8004
  RomBuilder image(nearEnd), good;
  good.MemoryConfig({0x11111111, 0, 0, 0, 0, 0, 0, 0, 0});
  Show(good);
  Reload(image, 3);  // nothing of the last image stays on show
  ExpectError("memory configuration record at offset 7FE0h");
  EXPECT_EQ(Box(0), "");
  Type(IDC_MEMORY_REG_FIRST, "12345678");
  ExpectApplyWrites({});
  ExpectError("7FE0h");  // one message per Apply
  EXPECT_EQ(Box(0), "12345678");
}

}  // namespace
