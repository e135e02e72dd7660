// The main window as comctl32 builds it: styles, tabs, buttons, menu, its message boxes and the questions of
// its close paths.
#include "tests/win32/Win32Support.h"
#include "ui/win32/WindowPrompts.h"

namespace win32_tests {
namespace {

using SheetTest = MainWindowTest;

TEST_F(SheetTest, WindowStylesCaptionTabsAndButtons) {
  EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_STYLE) & MainSheetWindow::kStyle, MainSheetWindow::kStyle);
  EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & MainSheetWindow::kExStyle, MainSheetWindow::kExStyle);
  EXPECT_EQ(GetParent(hwnd), nullptr);
  EXPECT_EQ(Text(hwnd), L"Ombrix BIOS Editor");
  // The tabs take their captions from the page templates, in the pages' order.
  const HWND tab = reinterpret_cast<HWND>(SendMessageW(hwnd, PSM_GETTABCONTROL, 0, 0));
  std::wstring tabs;
  for (int i = 0; i < TabCtrl_GetItemCount(tab); ++i) {
    wchar_t text[64] = {};
    TCITEMW item{TCIF_TEXT, 0, 0, text, 64, 0, 0};
    TabCtrl_GetItem(tab, i, &item);
    tabs += text + std::wstring(L"|");
  }
  EXPECT_EQ(tabs, L"Parameter Table|Sub Vendor ID|ROM Signature|Sign-on String|Memory Configuration|Font Images|");
  EXPECT_EQ(TabCtrl_GetCurSel(tab), 0);
  EXPECT_EQ(Text(GetDlgItem(hwnd, IDOK)) + Text(GetDlgItem(hwnd, IDCANCEL)), L"&Apply&Close");
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(hwnd, IDOK)) && IsWindowVisible(GetDlgItem(hwnd, IDCANCEL)));
  // comctl32's own Apply Now and Help buttons are not shown.
  for (int id : {0x3021, IDHELP}) EXPECT_FALSE(IsWindowVisible(GetDlgItem(hwnd, id))) << id;
  EXPECT_NE(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageW(hwnd, WM_QUERYDRAGICON, 0, 0), 0);
  // A keyboard request for the context menu, and a click outside the client area, show none (a menu would block).
  SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(-1, -1));
  RECT r{};
  GetWindowRect(hwnd, &r);
  SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(r.left - 5, r.top - 5));
}

TEST_F(SheetTest, MenuBarHoldsTheFileAndHelpCommandsAndAboutShowsItsBox) {
  const HMENU menu = GetMenu(hwnd);
  ASSERT_EQ(GetMenuItemCount(menu), 2);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 0)), 5);
  const struct {
    int menu, position, id;
    const wchar_t* text;
  } items[] = {{0, 0, ID_FILE_OPEN_ROM, L"&Open...\tCtrl+O"},
               {0, 1, ID_FILE_SAVE_ROM, L"&Save\tCtrl+S"},
               {0, 2, ID_FILE_SAVE_ROM_AS, L"Save &As\tCtrl+A"},
               {0, 4, ID_APP_EXIT, L"E&xit"},
               {1, 0, ID_APP_ABOUT, L"&About Tarvel..."}};
  for (const auto& item : items) {
    wchar_t text[64] = {};
    GetMenuStringW(GetSubMenu(menu, item.menu), static_cast<UINT>(item.position), text, 64, MF_BYPOSITION);
    EXPECT_EQ(static_cast<int>(GetMenuItemID(GetSubMenu(menu, item.menu), item.position)), item.id);
    EXPECT_STREQ(text, item.text);
  }
  guard.handlers.push_back([](const SeenDialog& dialog) {
    EXPECT_EQ(dialog.caption, L"About");
    PostMessageW(dialog.hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  Press(ID_APP_ABOUT);
}

TEST_F(SheetTest, EveryCloseAsksWhileModifiedAndEndsOnlyOnNo) {
  guard.handlers.push_back(PressButton(IDCANCEL));  // the Open offered by the page
  ShowPage(2);
  rom::romModified = 1;
  // The close box, the Exit command and the Close button, each answered: Cancel stays on the first page, a
  // Save As cancelled after Yes stays too, No ends the program.
  const struct {
    UINT message;
    WPARAM wParam;
    int answer;
  } closes[] = {{WM_SYSCOMMAND, SC_CLOSE, IDCANCEL}, {WM_COMMAND, ID_APP_EXIT, IDYES}, {WM_COMMAND, IDCANCEL, IDNO}};
  for (const auto& close : closes) {
    guard.handlers.push_back([&close](const SeenDialog& dialog) {
      EXPECT_EQ(dialog.caption, L"Message Prompt");
      EXPECT_NE(dialog.text.find(L"Data has been modified.  Save data before exiting?"), std::wstring::npos);
      PostMessageW(dialog.hwnd, WM_COMMAND, MAKEWPARAM(close.answer, BN_CLICKED), 0);
    });
    if (close.answer == IDYES) guard.handlers.push_back(PressButton(IDCANCEL));  // the Save As dialog
    SendMessageW(hwnd, close.message, close.wParam, 0);
    PumpPending();
    EXPECT_EQ(IsWindow(hwnd) != FALSE, close.answer != IDNO) << close.wParam;
    if (IsWindow(hwnd)) EXPECT_EQ(TabCtrl_GetCurSel(PropSheet_GetTabControl(hwnd)), 0);
  }
}

TEST_F(SheetTest, AMessageBoxAnswersOkAndItsTextArrivesAsUnicode) {
  guard.handlers.push_back(PressButton(IDOK));
  EXPECT_EQ(window->prompts().Message("The file C:\\Karten\\Gr\xC3\xBC\xC3\x9F.rom is not valid.", "File Error Message",
                                      ui::Buttons::kOk, ui::Icon::kWarning),
            ui::Answer::kOk);
  ASSERT_EQ(guard.seen.size(), 1u);
  EXPECT_EQ(guard.seen[0].caption, L"File Error Message");
  EXPECT_NE(guard.seen[0].text.find(L"Gr\u00FC\u00DF.rom"), std::wstring::npos);
  // The file dialogs' filter: bars become the zero-separated list.
  EXPECT_EQ(ui::win32::FileDialogFilter("VGA BIOS ROM Image (*.rom)|*.rom|All Files (*.*)|*.*||"),
            std::wstring(L"VGA BIOS ROM Image (*.rom)\0*.rom\0All Files (*.*)\0*.*\0\0\0", 55));
}

}  // namespace
}  // namespace win32_tests
