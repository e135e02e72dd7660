// The main window as comctl32 builds it: styles, tabs, buttons, menu, commands and questions.
#include <windows.h>

#include <commctrl.h>

#include "res/resource.h"
#include "rom/RomImage.h"
#include "tests/support/RomBuilder.h"
#include "tests/win32/Win32Support.h"

namespace win32_tests {
namespace {

class SheetTest : public MainWindowTest {
 protected:
  bool Alive() const { return IsWindow(hwnd) != FALSE; }
  int ActivePage() const {
    const HWND current = reinterpret_cast<HWND>(SendMessageW(hwnd, PSM_GETCURRENTPAGEHWND, 0, 0));
    for (int i = 0; i < CPropertySheetCrtl::kPageCount; ++i) {
      if (Page(i) == current) return i;
    }
    return -1;
  }
  void ExpectQuestion(const std::wstring& text, int answer) {
    guard.Expect([this, text, answer](const SeenDialog& dialog) {
      EXPECT_EQ(dialog.caption, L"Message Prompt");
      EXPECT_NE(dialog.text.find(text), std::wstring::npos);
      PostMessageW(dialog.hwnd, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
    });
  }
  // Presses a key with Ctrl held, through the program's accelerator table.
  bool CtrlKey(char key) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
    HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    MSG msg{hwnd, WM_KEYDOWN, static_cast<WPARAM>(key), 0, 0, {0, 0}};
    const bool translated = TranslateAcceleratorW(hwnd, table, &msg) != 0;
    state[VK_CONTROL] = 0;
    SetKeyboardState(state);
    PumpPending();
    return translated;
  }
  static constexpr const wchar_t* kExitQuestion = L"Data has been modified.  Save data before exiting?";
};

TEST_F(SheetTest, WindowStylesCaptionTabsAndButtons) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
  EXPECT_EQ(style & MainSheetWindow::kStyle, MainSheetWindow::kStyle);
  EXPECT_EQ(exStyle & MainSheetWindow::kExStyle, MainSheetWindow::kExStyle);
  EXPECT_EQ(GetParent(hwnd), nullptr);
  EXPECT_EQ(Text(hwnd), L"Ombrix BIOS Editor");

  const HWND tab = reinterpret_cast<HWND>(SendMessageW(hwnd, PSM_GETTABCONTROL, 0, 0));
  ASSERT_EQ(TabCtrl_GetItemCount(tab), 6);
  const wchar_t* captions[] = {L"Parameter Table", L"Sub Vendor ID", L"ROM Signature",
                               L"Sign-on String",  L"Memory Configuration", L"Font Images"};
  for (int i = 0; i < 6; ++i) {
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    TabCtrl_GetItem(tab, i, &item);
    EXPECT_STREQ(text, captions[i]);
  }
  EXPECT_EQ(ActivePage(), 0);
  EXPECT_EQ(Text(GetDlgItem(hwnd, IDOK)), L"&Apply");
  EXPECT_EQ(Text(GetDlgItem(hwnd, IDCANCEL)), L"&Close");
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(hwnd, IDOK)));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(hwnd, IDCANCEL)));
  // comctl32's own Apply Now and Help buttons are not shown.
  for (int id : {0x3021, IDHELP}) {
    const HWND button = GetDlgItem(hwnd, id);
    EXPECT_TRUE(button == nullptr || !IsWindowVisible(button)) << id;
  }
  EXPECT_NE(reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0)), nullptr);
  EXPECT_NE(SendMessageW(hwnd, WM_QUERYDRAGICON, 0, 0), 0);
}

TEST_F(SheetTest, MenuBarHoldsTheFileAndHelpCommands) {
  const HMENU menu = GetMenu(hwnd);
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 2);
  const HMENU file = GetSubMenu(menu, 0);
  const int ids[] = {ID_FILE_OPEN_ROM, ID_FILE_SAVE_ROM, ID_FILE_SAVE_ROM_AS, 0, ID_APP_EXIT};
  const wchar_t* texts[] = {L"&Open...\tCtrl+O", L"&Save\tCtrl+S", L"Save &As\tCtrl+A", L"", L"E&xit"};
  ASSERT_EQ(GetMenuItemCount(file), 5);
  for (int i = 0; i < 5; ++i) {
    wchar_t text[64] = {};
    GetMenuStringW(file, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    EXPECT_EQ(static_cast<int>(GetMenuItemID(file, i)), ids[i]);
    EXPECT_STREQ(text, texts[i]);
  }
  wchar_t about[64] = {};
  GetMenuStringW(GetSubMenu(menu, 1), 0, about, 64, MF_BYPOSITION);
  EXPECT_STREQ(about, L"&About Tarvel...");
  EXPECT_EQ(GetMenuItemID(GetSubMenu(menu, 1), 0), static_cast<UINT>(ID_APP_ABOUT));
}

TEST_F(SheetTest, ApplyWithoutImageOffersOpenAndACancelChangesNothing) {
  guard.Expect(ModalGuard::PressButton(IDCANCEL));
  Press(IDOK);
  ASSERT_EQ(guard.seen().size(), 1u);
  EXPECT_TRUE(guard.seen()[0].hasFileNameBox);
  EXPECT_EQ(rom::romModified, 0);
  EXPECT_EQ(rom::romLoaded, 0);
  EXPECT_TRUE(Alive());
}

TEST_F(SheetTest, OpenLoadsTheChosenFileIntoTheActivePage) {
  const auto folder = FreshFolder("sheet-open");
  testing_support::RomBuilder builder;
  std::array<std::uint8_t, 64> record{};
  record[0] = 0x28;
  builder.ParameterRecord(0, record).FixChecksum().WriteFile(folder / "card.rom");
  guard.Expect(ModalGuard::ChooseFile((folder / "card.rom").wstring()));
  Press(ID_FILE_OPEN_ROM);
  EXPECT_EQ(rom::romLoaded, 1);
  EXPECT_EQ(logic->romPath(), folder / "card.rom");
  EXPECT_EQ(Text(Control(0, 35)), L"28");
}

TEST_F(SheetTest, CloseButtonAsksWhileModifiedAndNoEndsTheProgram) {
  rom::romModified = 1;
  ExpectQuestion(kExitQuestion, IDNO);
  Press(IDCANCEL);
  EXPECT_FALSE(Alive());
}

TEST_F(SheetTest, CloseBoxAndExitAskTooAndCancelStaysOnTheFirstPage) {
  guard.Expect(ModalGuard::PressButton(IDCANCEL));  // the Open offered by the page
  ShowPage(2);
  rom::romModified = 1;
  ExpectQuestion(kExitQuestion, IDCANCEL);
  SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  PumpPending();
  EXPECT_TRUE(Alive());
  EXPECT_EQ(ActivePage(), 0);
  ExpectQuestion(kExitQuestion, IDCANCEL);
  Press(ID_APP_EXIT);
  EXPECT_TRUE(Alive());
  rom::romModified = 0;
  SendMessageW(hwnd, WM_CLOSE, 0, 0);
  PumpPending();
  EXPECT_FALSE(Alive());
}

TEST_F(SheetTest, AcceleratorsRunOpenSaveAndSaveAs) {
  for (char key : {'O', 'S', 'A'}) {
    guard.Expect(ModalGuard::PressButton(IDCANCEL));
    EXPECT_TRUE(CtrlKey(key)) << key;
  }
  ASSERT_EQ(guard.seen().size(), 3u);
  for (const SeenDialog& dialog : guard.seen()) EXPECT_TRUE(dialog.hasFileNameBox);
}

TEST_F(SheetTest, AboutBoxShowsAndChangesNothing) {
  guard.Expect([](const SeenDialog& dialog) {
    EXPECT_EQ(dialog.caption, L"About");
    EXPECT_NE(dialog.text.find(L"Tarvel Version 1.0"), std::wstring::npos);
    PostMessageW(dialog.hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  Press(ID_APP_ABOUT);
  EXPECT_EQ(guard.seen().size(), 1u);
  EXPECT_TRUE(Alive());
  EXPECT_EQ(rom::romModified, 0);
}

TEST_F(SheetTest, KeyboardContextMenuRequestShowsNothing) {
  // A menu would block here until the test times out.
  SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(-1, -1));
  RECT r{};
  GetWindowRect(hwnd, &r);
  SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(r.left - 5, r.top - 5));
  EXPECT_TRUE(Alive());
}

}  // namespace
}  // namespace win32_tests
