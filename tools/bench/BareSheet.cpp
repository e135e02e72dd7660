// A bare comctl32 property sheet with six pages and no logic at all: what any
// program of this shape costs to start, for comparing the editor's start-up with.
// Built twice: `bare_sheet` with six empty pages, and `bare_sheet_templates`
// (OMBRIX_BARE_TEMPLATES) with the editor's own six page templates, icon and
// menu, which is the floor for a program with these pages. That one records the
// same start-up marks as the editor's traced build, to set the two side by side.
// commctrl.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#ifdef OMBRIX_BARE_TEMPLATES
#include "res/resource.h"
#include "ui/win32/StartupMark.h"
using ui::win32::StartupMark;
#else
namespace {
void StartupMark(const char*) {}
}  // namespace
#endif

namespace {

#ifdef OMBRIX_BARE_TEMPLATES
// In the editor's tab order.
constexpr int kPages[] = {IDD_PARAMETER_TABLE, IDD_SUB_VENDOR_ID, IDD_ROM_SIGNATURE,
                          IDD_SIGN_ON_STRING,  IDD_MEMORY_CONFIG, IDD_FONT_IMAGES};
#else
constexpr int kPages[] = {101, 102, 103, 104, 105, 106};
#endif
constexpr int kPageCount = sizeof kPages / sizeof kPages[0];

INT_PTR CALLBACK EmptyPage(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

#ifdef OMBRIX_BARE_TEMPLATES
// The sheet is created hidden and shown once it has its menu, as the editor
// does: a sheet shown while comctl32 builds it costs more.
int CALLBACK CreateHidden(HWND, UINT message, LPARAM lParam) {
  if (message != PSCB_PRECREATE) return 0;
  auto* words = reinterpret_cast<WORD*>(lParam);
  DWORD& style = words[1] == 0xFFFF ? reinterpret_cast<DWORD*>(lParam)[3] : reinterpret_cast<DLGTEMPLATE*>(lParam)->style;
  style &= ~WS_VISIBLE;
  return 0;
}
#endif

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  StartupMark("WinMain: process and DLLs loaded");
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  StartupMark("common controls registered");
  HPROPSHEETPAGE pages[kPageCount];
  for (int i = 0; i < kPageCount; ++i) {
    PROPSHEETPAGEW page{};
    page.dwSize = sizeof page;
    page.hInstance = instance;
    page.pszTemplate = MAKEINTRESOURCEW(kPages[i]);
    page.pfnDlgProc = EmptyPage;
    pages[i] = CreatePropertySheetPageW(&page);
  }
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_MODELESS | PSH_NOAPPLYNOW;
  header.hInstance = instance;
  header.pszCaption = L"Bare Sheet";
  header.nPages = kPageCount;
  header.phpage = pages;
#ifdef OMBRIX_BARE_TEMPLATES
  header.dwFlags |= PSH_USEHICON | PSH_USECALLBACK;
  header.pfnCallback = CreateHidden;
  header.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 32, 32, 0));
#endif
  StartupMark("resources: icon, six page templates");
  const HWND sheet = reinterpret_cast<HWND>(PropertySheetW(&header));
  StartupMark("sheet complete");
  if (!sheet || sheet == reinterpret_cast<HWND>(-1)) return 1;
#ifdef OMBRIX_BARE_TEMPLATES
  SetMenu(sheet, LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME)));
  StartupMark("menu attached");
  ShowWindow(sheet, SW_SHOW);
#endif

  // A modeless sheet closed by its buttons or WM_CLOSE only drops its pages; the window is ours to destroy.
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!PropSheet_IsDialogMessage(sheet, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (!PropSheet_GetCurrentPageHwnd(sheet)) break;
  }
  DestroyWindow(sheet);
  return 0;
}
