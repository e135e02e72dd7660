// The Memory Configuration page through the sheet's logic on fake controls.
#include "tests/support/PageTest.h"

namespace {

using testing_support::RomBuilder;

class MemoryConfigTest : public testing_support::PageTest {
 protected:
  MemoryConfigTest() : PageTest(4) {}
  std::string Box(int index) { return Text(IDC_MEMORY_REG_FIRST + index); }
};

TEST_F(MemoryConfigTest, ShowsEightDigitsAndStoresHexTextOrZero) {
  RomBuilder image;
  image.MemoryConfig({0x12345678, 1, 9, 9, 9, 9, 9, 0xABCDEF00, 0xFFFFFFFF});
  Show(image);
  EXPECT_EQ(Box(0) + " " + Box(1) + " " + Box(7) + " " + Box(8), "12345678 00000001 ABCDEF00 FFFFFFFF");
  EXPECT_EQ(ui().state(IDC_MEMORY_REG_FIRST + 8).limit, 8);
  Type(IDC_MEMORY_REG_FIRST, "22222222");
  Revisit(3);  // the edit is dropped
  EXPECT_EQ(Box(0), "12345678");
  ExpectApplyWrites({});

  const char* typed[] = {"1F", "FFFFFFFF", "", "12Z", "abcdef01"};  // into boxes 2 to 6
  const std::uint32_t stored[] = {0x12345678, 1, 0x1F, 0xFFFFFFFF, 0, 0, 0xABCDEF01, 0xABCDEF00, 0xFFFFFFFF};
  for (int i = 0; i < 5; ++i) Type(IDC_MEMORY_REG_FIRST + 2 + i, typed[i]);
  Apply();
  for (std::uint32_t i = 0; i < 9; ++i) {
    const std::uint32_t r = image.layout().memoryConfig + 4 * i;
    EXPECT_EQ(rom::RomImage.Word(r) | static_cast<std::uint32_t>(rom::RomImage.Word(r + 2)) << 16, stored[i]) << i;
  }
  EXPECT_EQ(Box(2), "0000001F");
}

TEST_F(MemoryConfigTest, RecordPastTheImageIsRefusedAsAWhole) {
  testing_support::RomLayout nearEnd;
  nearEnd.memoryConfig = 0x7FE0;  // 36 bytes would end at 0x8004
  Show(RomBuilder().MemoryConfig({0x11111111, 0, 0, 0, 0, 0, 0, 0, 0}));
  Reload(RomBuilder(nearEnd), 3);  // nothing of the last image stays on show
  ExpectError("memory configuration record at offset 7FE0h");
  EXPECT_EQ(Box(0), "");
  Type(IDC_MEMORY_REG_FIRST, "12345678");
  ExpectApplyWrites({});
  ExpectError("7FE0h");  // one message per Apply
  EXPECT_EQ(Box(0), "12345678");
}

}  // namespace
