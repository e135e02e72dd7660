// The Sign-on String, Sub Vendor ID and Memory Configuration pages in the real window.
#include <windows.h>

#include <array>
#include <string>

#include "tests/win32/PageWindowTest.h"

namespace win32_tests {
namespace {

using testing_support::RomBuilder;

constexpr int kSubVendorPage = 1;
constexpr int kSignOnPage = 3;
constexpr int kMemoryPage = 4;

class PagesIdentityTest : public PageWindowTest {
 protected:
  void Open() {
    builder.SignOn("Hello").SubsystemIds(0x1A5E, 0x0101);
    builder.MemoryConfig(
        {0x01A00041, 0x00000C00, 0x00001000, 0x0C17A9E9, 0x00000041, 0x0000049E, 0x00003A0D, 0x00004A23, 0x00000037});
    OpenImage(builder, "identity");
  }
  std::uint32_t Dword(std::uint32_t offset) const {
    return static_cast<std::uint32_t>(rom::RomImage.Word(offset)) |
           static_cast<std::uint32_t>(rom::RomImage.Word(offset + 2)) << 16;
  }

  RomBuilder builder;
};

TEST_F(PagesIdentityTest, SignOnTextWithATypedLineBreakIsStoredAsCrLf) {
  Open();
  ShowPage(kSignOnPage);
  const HWND box = Control(kSignOnPage, IDC_SIGN_ON_TEXT);
  const HWND size = Control(kSignOnPage, IDC_SIGN_ON_SIZE);
  EXPECT_EQ(Text(box), L"Hello");
  EXPECT_EQ(Text(size), L"Size of String = 5");

  TypeAtEnd(box, L"\rWorld!");
  SetFocus(box);
  PressKey(box, VK_RETURN);
  TypeAtEnd(box, L"2026");
  // Without ES_AUTOVSCROLL and ES_WANTRETURN on box 239 the box refuses a second line,
  // and Enter goes to the dialog instead of the box.
  ASSERT_EQ(Text(box), L"Hello\r\nWorld!\r\n2026") << "Enter made no line break in the box";
  EXPECT_EQ(SendMessageW(box, EM_GETLINECOUNT, 0, 0), 3);
  EXPECT_EQ(rom::romModified, 0);  // Enter pressed no button
  Press(IDOK);

  const std::string stored = "Hello\r\nWorld!\r\n2026";
  EXPECT_EQ(rom::RomImage.Word(builder.layout().signOn), stored.size());
  for (std::size_t i = 0; i < stored.size(); ++i) {
    EXPECT_EQ(rom::RomImage.Byte(builder.layout().signOn + 2 + static_cast<std::uint32_t>(i)),
              static_cast<std::uint8_t>(stored[i]))
        << "byte " << i;
  }
  EXPECT_EQ(Text(size), L"Size of String = 19");
  // The reload shows the stored line breaks as their marker.
  EXPECT_EQ(Text(box), L"Hello<NEWLINE>World!<NEWLINE>2026");
}

TEST_F(PagesIdentityTest, SignOnMarkerIsALineBreakAndApplyWithoutEditsWritesTheSameBytes) {
  Open();
  ShowPage(kSignOnPage);
  const HWND box = Control(kSignOnPage, IDC_SIGN_ON_TEXT);
  const HWND size = Control(kSignOnPage, IDC_SIGN_ON_SIZE);
  Put(box, L"A<NEWLINE>B");
  Press(IDOK);
  EXPECT_EQ(rom::RomImage.Word(builder.layout().signOn), 4);
  EXPECT_EQ(rom::RomImage.Byte(builder.layout().signOn + 3), '\r');
  EXPECT_EQ(rom::RomImage.Byte(builder.layout().signOn + 4), '\n');
  EXPECT_EQ(Text(size), L"Size of String = 4");
  const std::vector<std::uint8_t> before = ImageBytes();
  Press(IDOK);
  EXPECT_TRUE(ImageBytes() == before);
}

TEST_F(PagesIdentityTest, SubVendorListCloseUpReloadsTheBox) {
  Open();
  ShowPage(kSubVendorPage);
  const HWND box = Control(kSubVendorPage, IDC_ID_VALUE);
  const HWND list = Control(kSubVendorPage, IDC_ID_KIND);
  ASSERT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(Text(box), L"1A5E");
  EXPECT_EQ(SendMessageW(box, EM_GETLIMITTEXT, 0, 0), 4);

  // A close-up on the same entry drops the edit.
  Put(box, L"BEEF");
  CloseUpOn(kSubVendorPage, IDC_ID_KIND, 0);
  EXPECT_EQ(Text(box), L"1A5E");
  CloseUpOn(kSubVendorPage, IDC_ID_KIND, 1);
  EXPECT_EQ(Text(box), L"0101");

  // Turned back with the keyboard, the list closed: Apply writes the ID the box was loaded from.
  Put(box, L"beef");
  SendMessageW(list, CB_SETCURSEL, 0, 0);
  Press(IDOK);
  EXPECT_EQ(rom::RomImage.Word(0x7FFA), 0xBEEF);
  EXPECT_EQ(rom::RomImage.Word(0x7FF8), 0x1A5E);
  EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(Text(box), L"BEEF");
}

TEST_F(PagesIdentityTest, MemoryConfigurationBoxesWriteTheirFourBytes) {
  Open();
  ShowPage(kMemoryPage);
  const auto box = [this](int i) { return Control(kMemoryPage, IDC_MEMORY_REG_FIRST + i); };
  EXPECT_EQ(Text(box(0)), L"01A00041");
  EXPECT_EQ(Text(box(3)), L"0C17A9E9");
  EXPECT_EQ(Text(box(8)), L"00000037");
  for (int i = 0; i < 9; ++i) EXPECT_EQ(SendMessageW(box(i), EM_GETLIMITTEXT, 0, 0), 8) << i;

  const std::vector<std::uint8_t> before = ImageBytes();
  Put(box(3), L"");
  TypeAtEnd(box(3), L"deadbeef0");
  Put(box(5), L"1F");
  Press(IDOK);

  const std::uint32_t reg3 = builder.layout().memoryConfig + 12;
  const std::uint32_t reg5 = builder.layout().memoryConfig + 20;
  std::vector<std::uint8_t> expected = before;
  expected[reg3] = 0xEF;
  expected[reg3 + 1] = 0xBE;
  expected[reg3 + 2] = 0xAD;
  expected[reg3 + 3] = 0xDE;
  expected[reg5] = 0x1F;
  expected[reg5 + 1] = 0x00;
  expected[reg5 + 2] = 0x00;
  expected[reg5 + 3] = 0x00;
  EXPECT_TRUE(ImageBytes() == expected);
  EXPECT_EQ(Dword(reg3), 0xDEADBEEFu);
  EXPECT_EQ(Text(box(3)), L"DEADBEEF");
  EXPECT_EQ(Text(box(5)), L"0000001F");
}

}  // namespace
}  // namespace win32_tests
