// The Sub Vendor ID page through the sheet's logic on fake controls.
#include "tests/support/PageTest.h"

namespace {

using testing_support::RomBuilder;

class SubVendorIdTest : public testing_support::PageTest {
 protected:
  SubVendorIdTest() : PageTest(1) {}
  std::string Box() { return Text(IDC_ID_VALUE); }
};

TEST_F(SubVendorIdTest, ListChoosesTheIdAndApplyStoresTheBoxAsHexOrZero) {
  Show(RomBuilder().SubsystemIds(0x121A, 0xBEEF));
  EXPECT_EQ(Box(), "121A");
  EXPECT_EQ(ui().state(IDC_ID_VALUE).limit, 4);
  Pick(IDC_ID_KIND, "Device ID");
  EXPECT_EQ(Box(), "BEEF");
  Type(IDC_ID_VALUE, "7777");
  sheet->CloseUp(IDC_ID_KIND);  // the same entry: still a refresh that drops the edit
  EXPECT_EQ(Box(), "BEEF");
  Pick(IDC_ID_KIND, "Vendor ID");
  Type(IDC_ID_VALUE, "7777");
  Revisit(4);
  EXPECT_EQ(Box(), "121A");
  ExpectApplyWrites({});

  const struct {
    const char *kind, *typed;
    std::uint32_t at;
    std::uint16_t stored;
    const char* shown;
  } cases[] = {{"Vendor ID", "12", 0x7FF8, 0x0012, "0012"},
               {"Device ID", "ab9f", 0x7FFA, 0xAB9F, "AB9F"},
               {"Device ID", "12G4", 0x7FFA, 0x0000, "0000"},
               {"Device ID", "", 0x7FFA, 0x0000, "0000"}};
  for (const auto& c : cases) {
    Pick(IDC_ID_KIND, c.kind);
    Type(IDC_ID_VALUE, c.typed);
    Apply();
    EXPECT_EQ(rom::RomImage.Word(c.at), c.stored) << c.typed;
    EXPECT_EQ(Box(), c.shown) << c.typed;
  }
  EXPECT_EQ(rom::RomImage.Word(0x7FF8), 0x0012);
}

TEST_F(SubVendorIdTest, KeyboardChangeOfTheClosedListStillWritesTheShownId) {
  Show(RomBuilder().SubsystemIds(0x121A, 0xBEEF));
  ASSERT_TRUE(ui().Choose(IDC_ID_KIND, "Device ID"));  // no close-up: the box still holds the vendor ID
  Type(IDC_ID_VALUE, "ABCD");
  ExpectApplyWrites({{0x7FF8, 0xCD}, {0x7FF9, 0xAB}});
  EXPECT_EQ(ui().ListItemText(IDC_ID_KIND, ui().ListSelection(IDC_ID_KIND)), "Vendor ID")
      << "the page shows the ID that was written";
}

}  // namespace
