// One drive of each page in the real window: what a user sees in real controls after an Open,
// what typing, keys and close-ups do there, and what Apply writes.
#include "tests/support/RomBuilder.h"
#include "tests/win32/Win32Support.h"
#include "ui/win32/DialogControls.h"

namespace win32_tests {
namespace {

constexpr std::uint8_t kModeIndex = 0x20;
constexpr std::uint8_t kParamIndex = 0x1E;  // the extended mode shares parameter record 30

class PagesTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    std::array<std::uint8_t, 64> record{};
    for (int j = 0; j < 64; ++j) record[static_cast<std::size_t>(j)] = static_cast<std::uint8_t>(kParamIndex + 7 * j);
    b.ParameterRecord(kParamIndex, record).AddExMode({kModeIndex, 0x101, 6, 640, 480, 16});
    b.ExReg(kModeIndex, 0x2D, 0x11, kParamIndex, 0x1A3C).SubsystemIds(0x1A5E, 0x0101);
    b.SignatureText("ABCDEFGHIJKLMNOP").SignOn("Hello");
    b.MemoryConfig({0x01A00041, 0x00000C00, 0x00001000, 0x0C17A9E9, 0x41, 0x49E, 0x3A0D, 0x4A23, 0x37});
    b.Glyph(8, 0x41, {0x81, 0xFF, 0x00, 0x18, 0x3C, 0x66, 0x42, 0x01});
    const auto path = FreshFolder("pages") / "pages.rom";
    b.FixChecksum().WriteFile(path);
    Open(path);
  }
  std::wstring TextOf(int page, int id) const { return Text(Control(page, id)); }
  // Types `keys` one character at a time at the end of the box's text.
  static void TypeAtEnd(HWND box, const std::wstring& keys) {
    SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(GetWindowTextLengthW(box)), GetWindowTextLengthW(box));
    for (const wchar_t key : keys) SendMessageW(box, WM_CHAR, key, 1);
    PumpPending();
  }
  // Apply changes exactly these bytes of the image, to these values.
  void ExpectApplyWrites(const std::vector<std::pair<std::uint32_t, std::uint8_t>>& changes) {
    std::vector<std::uint8_t> expected(rom::RomImage.data(), rom::RomImage.data() + rom::kRomSize);
    for (const auto& [at, value] : changes) expected.at(at) = value;
    Press(IDOK);
    EXPECT_TRUE(expected == std::vector<std::uint8_t>(rom::RomImage.data(), rom::RomImage.data() + rom::kRomSize));
  }
  // Font Images grid row r as nine characters, '#' for a visible cell.
  std::string GridRow(int r) const {
    std::string cells;
    for (int c = 0; c < 9; ++c) cells += IsWindowVisible(Control(5, IDC_GRID_CELL_FIRST + 9 * r + c)) ? '#' : '.';
    return cells;
  }

  testing_support::RomBuilder b;
};

TEST_F(PagesTest, ParameterTableExtendedRowIsShownAndWrittenByApply) {
  const HWND list = Control(0, IDC_MODE_LIST);
  ASSERT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), 23);
  CloseUpOn(0, IDC_MODE_LIST, 22);
  EXPECT_EQ(TextOf(0, 35) + TextOf(0, IDC_PARAM_REGEN_LENGTH) + TextOf(0, IDC_PIXEL_FORMAT) + TextOf(0, IDC_CRTC_1B) +
                TextOf(0, IDC_PARAM_INDEX) + TextOf(0, IDC_CLOCK_WORD),
            L"1E3A335111E1A3C");
  SetWindowTextW(Control(0, 36), L"c3");
  SetWindowTextW(Control(0, IDC_PARAM_REGEN_LENGTH), L"");
  TypeAtEnd(Control(0, IDC_PARAM_REGEN_LENGTH), L"BEEF1");  // the box stops at its limit
  SetWindowTextW(Control(0, IDC_CRTC_1B), L"7e");
  CheckDlgButton(Page(0), IDC_INTERLACE, BST_CHECKED);
  const std::uint32_t record = b.parameterRecordOffset(kParamIndex), exReg = b.exRegOffset(kModeIndex);
  ExpectApplyWrites({{record + 1, 0xC3}, {record + 3, 0xEF}, {record + 4, 0xBE}, {exReg, 0x2F}, {exReg + 1, 0x7E}});
  EXPECT_EQ(TextOf(0, 36), L"C3");
  EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), 22);
}

TEST_F(PagesTest, SubVendorIdCloseUpReloadsTheBoxAndApplyWritesTheShownId) {
  ShowPage(1);
  EXPECT_EQ(TextOf(1, IDC_ID_VALUE), L"1A5E");
  CloseUpOn(1, IDC_ID_KIND, 1);
  EXPECT_EQ(TextOf(1, IDC_ID_VALUE), L"0101");
  SetWindowTextW(Control(1, IDC_ID_VALUE), L"beef");
  ExpectApplyWrites({{0x7FFA, 0xEF}, {0x7FFB, 0xBE}});
  EXPECT_EQ(TextOf(1, IDC_ID_VALUE), L"BEEF");
}

TEST_F(PagesTest, RomSignatureBoxesReachTheImageAndEveryByteComesBackFromARealBox) {
  ShowPage(2);
  EXPECT_EQ(TextOf(2, 1) + TextOf(2, 18), L"A42");
  SetWindowTextW(Control(2, 1), L"z");
  SetWindowTextW(Control(2, 18), L"7f");
  ExpectApplyWrites({{0x40, 'z'}, {0x41, 0x7F}});
  EXPECT_EQ(TextOf(2, 1) + TextOf(2, 17), L"Z7A");
  ui::win32::DialogControls controls(Page(2));
  std::string all;
  for (int c = 1; c <= 0xFF; ++c) {
    const std::string text(1, static_cast<char>(c));
    controls.SetText(1, text);
    ASSERT_EQ(controls.GetText(1), text) << "byte " << c;
    if (c != '\r' && c != '\n') all += text;
  }
  // The multi-line box draws them all at once, as the sign-on text would.
  ShowPage(3);
  ui::win32::DialogControls signOn(Page(3));
  signOn.SetText(IDC_SIGN_ON_TEXT, all);
  EXPECT_EQ(signOn.GetText(IDC_SIGN_ON_TEXT), all);
}

TEST_F(PagesTest, SignOnEnterMakesALineBreakStoredAsCrLf) {
  ShowPage(3);
  const HWND box = Control(3, IDC_SIGN_ON_TEXT);
  TypeAtEnd(box, L"\rWorld!");
  SetFocus(box);
  // Enter through the program's own message path: the sheet's dialog navigation sees it before the box does.
  PostMessageW(box, WM_KEYDOWN, VK_RETURN, 1);
  PostMessageW(box, WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC0000001));
  for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {
    if (window->PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  TypeAtEnd(box, L"2026");
  // Without ES_AUTOVSCROLL and ES_WANTRETURN the box refuses a second line, and Enter goes to the dialog.
  ASSERT_EQ(Text(box), L"Hello\r\nWorld!\r\n2026") << "Enter made no line break in the box";
  EXPECT_EQ(rom::romModified, 0);  // Enter pressed no button
  Press(IDOK);
  const std::uint32_t s = b.layout().signOn;
  EXPECT_EQ(std::string(rom::RomImage.data() + s + 2, rom::RomImage.data() + s + 2 + rom::RomImage.Word(s)),
            "Hello\r\nWorld!\r\n2026");
}

TEST_F(PagesTest, MemoryConfigurationBoxesWriteTheirFourBytes) {
  ShowPage(4);
  const auto box = [this](int i) { return Control(4, IDC_MEMORY_REG_FIRST + i); };
  EXPECT_EQ(Text(box(0)) + Text(box(3)), L"01A000410C17A9E9");
  SetWindowTextW(box(3), L"");
  TypeAtEnd(box(3), L"deadbeef0");  // the box stops at eight characters
  const std::uint32_t reg3 = b.layout().memoryConfig + 12;
  ExpectApplyWrites({{reg3, 0xEF}, {reg3 + 1, 0xBE}, {reg3 + 2, 0xAD}, {reg3 + 3, 0xDE}});
  EXPECT_EQ(Text(box(3)), L"DEADBEEF");
}

TEST_F(PagesTest, FontImagesCloseUpsShowTheGlyphInRealCellsAndATypedRowIsWritten) {
  ShowPage(5);
  CloseUpOn(5, IDC_FONT_LIST, 0);  // Font 8x8
  CloseUpOn(5, IDC_CHAR_LIST_FULL, 0x41);
  EXPECT_EQ(GridRow(0) + GridRow(1) + GridRow(2) + GridRow(7) + GridRow(8),
            "#......#.########.................#..........");
  EXPECT_EQ(TextOf(5, IDC_GLYPH_ROW_FIRST) + TextOf(5, IDC_GLYPH_ROW_FIRST + 7), L"8101");
  SetWindowTextW(Control(5, IDC_GLYPH_ROW_FIRST + 3), L"");
  TypeAtEnd(Control(5, IDC_GLYPH_ROW_FIRST + 3), L"7e0");
  ExpectApplyWrites({{b.fontOffset(8) + 0x41 * 8 + 3, 0x7E}});
  EXPECT_EQ(GridRow(3), ".######..");
}

}  // namespace
}  // namespace win32_tests
