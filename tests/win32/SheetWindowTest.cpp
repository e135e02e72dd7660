// The main window as comctl32 builds it: styles, tabs, buttons, menu, commands and questions.
#include <windows.h>

#include <commctrl.h>

#include "res/resource.h"
#include "rom/RomImage.h"
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
  EXPECT_EQ(Text(GetDlgItem(hwnd, IDOK)) + Text(GetDlgItem(hwnd, IDCANCEL)), L"&Apply&Close");
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(hwnd, IDOK)) && IsWindowVisible(GetDlgItem(hwnd, IDCANCEL)));
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
  const struct {
    int menu, position, id;
    const wchar_t* text;
  } items[] = {{0, 0, ID_FILE_OPEN_ROM, L"&Open...\tCtrl+O"}, {0, 1, ID_FILE_SAVE_ROM, L"&Save\tCtrl+S"},
               {0, 2, ID_FILE_SAVE_ROM_AS, L"Save &As\tCtrl+A"}, {0, 4, ID_APP_EXIT, L"E&xit"},
               {1, 0, ID_APP_ABOUT, L"&About Tarvel..."}};
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 0)), 5);
  for (const auto& item : items) {
    wchar_t text[64] = {};
    GetMenuStringW(GetSubMenu(menu, item.menu), static_cast<UINT>(item.position), text, 64, MF_BYPOSITION);
    EXPECT_EQ(static_cast<int>(GetMenuItemID(GetSubMenu(menu, item.menu), item.position)), item.id);
    EXPECT_STREQ(text, item.text);
  }
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
