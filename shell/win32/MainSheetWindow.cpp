#include "shell/win32/MainSheetWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "res/resource.h"
#include "ui/win32/StartupMark.h"
#include "ui/win32/TextCodec.h"

namespace {

std::vector<ui::PropertyPage*> PagesOf(CPropertySheetCrtl& logic) {
  std::vector<ui::PropertyPage*> pages;
  for (int i = 0; i < CPropertySheetCrtl::kPageCount; ++i) pages.push_back(&logic.Page(i));
  return pages;
}

RECT ChildRect(HWND parent, HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace

MainSheetWindow::MainSheetWindow(CPropertySheetCrtl& logic, HINSTANCE instance)
    : PropertySheetWindow(logic, PagesOf(logic)), logic_(logic), instance_(instance) {
  icon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 32, 32, 0));
}

HWND MainSheetWindow::Create() {
  Options options;
  options.caption = ui::win32::Utf8ToWide(kSheetCaption);
  options.style = kStyle;
  options.exStyle = kExStyle;
  options.icon = icon_;
  options.startPage = 0;
  const HWND sheet = PropertySheetWindow::Create(instance_, options);
  if (!sheet) return nullptr;
  SetMenu(sheet, LoadMenuW(instance_, MAKEINTRESOURCEW(IDR_MAINFRAME)));
  FitAroundPages();
  ui::win32::StartupMark("menu attached, sheet laid out");
  // The sheet was made hidden: it shows once, finished.
  ShowWindow(sheet, SW_SHOW);
  return sheet;
}

void MainSheetWindow::OnSheetInitialized() {
  prompts_.SetOwner(hwnd());
  logic_.Attach(*this, prompts_);
  SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  SetDlgItemTextW(hwnd(), IDOK, L"&Apply");
  SetDlgItemTextW(hwnd(), IDCANCEL, L"&Close");
}

// comctl32 sizes the tab control to the biggest page and gives every page the
// tab's display area. The buttons go below it at the right, and the window is
// sized so that the menu bar, the tabs, the pages and the buttons all fit
// (the menu is attached after comctl32 sized the window); then it is centred.
void MainSheetWindow::FitAroundPages() {
  const HWND sheet = hwnd();
  const HWND tab = GetDlgItem(sheet, IDC_SHEET_TAB);
  if (!tab) return;
  const RECT tabRect = ChildRect(sheet, tab);
  RECT margin{0, 0, 7, 7};
  MapDialogRect(sheet, &margin);
  int x = tabRect.right;
  int bottom = tabRect.bottom;
  for (int id : {IDCANCEL, IDOK}) {
    const HWND button = GetDlgItem(sheet, id);
    if (!button) continue;
    const RECT r = ChildRect(sheet, button);
    x -= r.right - r.left;
    const int top = tabRect.bottom + margin.bottom;
    SetWindowPos(button, nullptr, x, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    x -= margin.right;
    bottom = std::max(bottom, static_cast<int>(top + r.bottom - r.top));
  }
  RECT client{0, 0, tabRect.right + tabRect.left, bottom + margin.bottom};
  AdjustWindowRectEx(&client, static_cast<DWORD>(GetWindowLongPtrW(sheet, GWL_STYLE)), GetMenu(sheet) != nullptr,
                     static_cast<DWORD>(GetWindowLongPtrW(sheet, GWL_EXSTYLE)));
  const int width = client.right - client.left, height = client.bottom - client.top;
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int left = work.left + std::max(0, static_cast<int>((work.right - work.left - width) / 2));
  const int top = work.top + std::max(0, static_cast<int>((work.bottom - work.top - height) / 2));
  SetWindowPos(sheet, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainSheetWindow::ShowContextMenu(LPARAM screenPoint) {
  const POINT point{static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
  RECT client{};
  GetClientRect(hwnd(), &client);
  MapWindowPoints(hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  if (!PtInRect(&client, point)) return;
  const HMENU menu = LoadMenuW(instance_, MAKEINTRESOURCEW(IDR_MAINFRAME));
  if (!menu) return;
  TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, hwnd(), nullptr);
  DestroyMenu(menu);
}

bool MainSheetWindow::HandleSheetMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id == ID_APP_ABOUT) {
        if (showAbout) showAbout(hwnd());
        return true;
      }
      // Buttons 1 and 2 are ours whatever comctl32 would do with them.
      return logic_.OnCommand(id);
    }
    case WM_CLOSE:
      logic_.OnCloseButton();
      return true;
    case WM_CONTEXTMENU:
      ShowContextMenu(lParam);
      return true;
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<LRESULT>(icon_);
      return true;
    case WM_DESTROY:
      PostQuitMessage(0);
      return false;
    default:
      return false;
  }
}
