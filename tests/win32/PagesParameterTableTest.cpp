// The Parameter Table page in the real window: the extended rows, Apply, and the prompts as real boxes.
#include <windows.h>

#include <array>

#include "tests/win32/PageWindowTest.h"

namespace win32_tests {
namespace {

using testing_support::ExMode;
using testing_support::RomBuilder;

constexpr int kPage = 0;
constexpr int kExRow = 22;  // the first row after the 22 standard ones
constexpr std::uint8_t kModeIndex = 0x20;
constexpr std::uint8_t kParamIndex = 0x1E;  // the mode shares parameter record 30

class PagesParameterTableTest : public PageWindowTest {
 protected:
  // Every byte of parameter record i is i + 7 x (its position), so box 35 names the record shown.
  void OpenWithExtendedMode() {
    for (int i = 0; i < 40; ++i) {
      std::array<std::uint8_t, 64> record{};
      for (int j = 0; j < 64; ++j) record[static_cast<std::size_t>(j)] = static_cast<std::uint8_t>(i + 7 * j);
      builder.ParameterRecord(i, record);
    }
    builder.AddExMode(ExMode{kModeIndex, 0x101, 6, 640, 480, 16});
    builder.ExReg(kModeIndex, 0x2D, 0x11, kParamIndex, 0x1A3C);
    OpenImage(builder, "parameter-table");
  }
  HWND Box(int id) const { return Control(kPage, id); }
  bool Checked(int id) const { return IsDlgButtonChecked(Page(kPage), id) == BST_CHECKED; }
  int ActivePage() const {
    const HWND current = reinterpret_cast<HWND>(SendMessageW(hwnd, PSM_GETCURRENTPAGEHWND, 0, 0));
    for (int i = 0; i < CPropertySheetCrtl::kPageCount; ++i) {
      if (Page(i) == current) return i;
    }
    return -1;
  }
  // The next dialog must be the class library's warning with exactly `text`; OK closes it.
  void ExpectWarning(const std::wstring& text) {
    guard.Expect([text](const SeenDialog& dialog) {
      EXPECT_EQ(dialog.caption, L"Tarvel");
      EXPECT_EQ(dialog.text, text);
      EXPECT_TRUE(ShowsIcon(dialog.hwnd, LoadIconW(nullptr, IDI_WARNING)));
      PostMessageW(dialog.hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
  }
  static bool ShowsIcon(HWND dialog, HICON icon) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0)) == icon) return true;
    }
    return false;
  }

  RomBuilder builder;
};

TEST_F(PagesParameterTableTest, ExtendedRowChosenByCloseUpIsWrittenByApply) {
  OpenWithExtendedMode();
  const HWND list = Box(IDC_MODE_LIST);
  ASSERT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), 23);
  wchar_t row[80] = {};
  SendMessageW(list, CB_GETLBTEXT, kExRow, reinterpret_cast<LPARAM>(row));
  EXPECT_STREQ(row, L"Mode 101h - 640x480 8 BPP graphics (8x16)");

  CloseUpOn(kPage, IDC_MODE_LIST, kExRow);
  EXPECT_EQ(Text(Box(35)), L"1E");  // record 30, through the parameter index
  EXPECT_EQ(Text(Box(IDC_PARAM_REGEN_LENGTH)), L"3A33");
  EXPECT_EQ(Text(Box(IDC_PIXEL_FORMAT)), L"5");
  EXPECT_EQ(Text(Box(IDC_CRTC_1B)), L"11");
  EXPECT_EQ(Text(Box(IDC_PARAM_INDEX)), L"1E");
  EXPECT_EQ(Text(Box(IDC_CLOCK_WORD)), L"1A3C");
  EXPECT_TRUE(Checked(IDC_NATIVE_MODE));
  EXPECT_FALSE(Checked(IDC_INTERLACE));
  EXPECT_TRUE(Checked(IDC_NATIVE_DOUBLE_SCAN));

  const std::vector<std::uint8_t> before = ImageBytes();
  Put(Box(36), L"c3");
  Put(Box(IDC_PARAM_REGEN_LENGTH), L"BEEF");
  Put(Box(IDC_CRTC_1B), L"7e");
  CheckDlgButton(Page(kPage), IDC_INTERLACE, BST_CHECKED);
  Press(IDOK);

  std::vector<std::uint8_t> expected = before;
  const std::uint32_t record = builder.parameterRecordOffset(kParamIndex);
  expected[record + 1] = 0xC3;
  expected[record + 3] = 0xEF;
  expected[record + 4] = 0xBE;
  expected[builder.exRegOffset(kModeIndex)] = 0x2F;
  expected[builder.exRegOffset(kModeIndex) + 1] = 0x7E;
  const std::vector<std::uint8_t> after = ImageBytes();
  for (std::uint32_t i = 0; i < rom::kRomSize; ++i) ASSERT_EQ(after[i], expected[i]) << "byte " << std::hex << i;
  EXPECT_EQ(rom::romModified, 1);
  // Apply reloads the page from the image.
  EXPECT_EQ(Text(Box(36)), L"C3");
  EXPECT_EQ(Text(Box(IDC_CRTC_1B)), L"7E");
  EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), kExRow);
}

TEST_F(PagesParameterTableTest, PixelFormatOutOfRangeShowsTheWarningAndWritesNothing) {
  OpenWithExtendedMode();
  CloseUpOn(kPage, IDC_MODE_LIST, kExRow);
  const std::vector<std::uint8_t> before = ImageBytes();
  const std::size_t dialogsBefore = guard.seen().size();

  Put(Box(IDC_PIXEL_FORMAT), L"9");
  Put(Box(35), L"FF");
  ExpectWarning(L"Please enter an integer between 0 and 7.");
  Press(IDOK);
  EXPECT_EQ(guard.seen().size(), dialogsBefore + 1);  // one box, none from the reload
  EXPECT_TRUE(ImageBytes() == before);
  EXPECT_EQ(Text(Box(IDC_PIXEL_FORMAT)), L"5");
  EXPECT_EQ(Text(Box(35)), L"1E");

  // Leaving the page with a failed check keeps it.
  Put(Box(IDC_PIXEL_FORMAT), L"8");
  ExpectWarning(L"Please enter an integer between 0 and 7.");
  ShowPage(1);
  EXPECT_EQ(ActivePage(), kPage);
  Put(Box(IDC_PIXEL_FORMAT), L"x");
  ExpectWarning(L"Please enter an integer.");
  ShowPage(1);
  EXPECT_EQ(ActivePage(), kPage);
  EXPECT_TRUE(ImageBytes() == before);
}

TEST_F(PagesParameterTableTest, RealBoxesTakeTwoOrFourCharacters) {
  OpenWithExtendedMode();
  CloseUpOn(kPage, IDC_MODE_LIST, kExRow);
  for (int id = IDC_PARAM_FIRST; id <= IDC_PARAM_LAST; ++id) {
    EXPECT_EQ(SendMessageW(Box(id), EM_GETLIMITTEXT, 0, 0), id == IDC_PARAM_REGEN_LENGTH ? 4 : 2) << id;
  }
  EXPECT_EQ(SendMessageW(Box(IDC_PARAM_INDEX), EM_GETLIMITTEXT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(Box(IDC_CLOCK_WORD), EM_GETLIMITTEXT, 0, 0), 4);
  EXPECT_EQ(SendMessageW(Box(IDC_CRTC_1B), EM_GETLIMITTEXT, 0, 0), 2);

  // Typing stops at the limit.
  Put(Box(40), L"");
  TypeAtEnd(Box(40), L"abc");
  EXPECT_EQ(Text(Box(40)), L"ab");
  Put(Box(IDC_CLOCK_WORD), L"");
  TypeAtEnd(Box(IDC_CLOCK_WORD), L"12345");
  EXPECT_EQ(Text(Box(IDC_CLOCK_WORD)), L"1234");
  Press(IDOK);
  EXPECT_EQ(rom::RomImage.Byte(builder.parameterRecordOffset(kParamIndex) + 6), 0xAB);
  EXPECT_EQ(rom::RomImage.Word(builder.exRegOffset(kModeIndex) + 3), 0x1234);
}

}  // namespace
}  // namespace win32_tests
