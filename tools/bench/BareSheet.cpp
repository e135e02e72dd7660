// A bare comctl32 property sheet with six empty pages: what any program of this
// shape costs to start, for comparing the editor's start-up with.
// commctrl.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

namespace {

constexpr int kFirstPage = 101;
constexpr int kPageCount = 6;

INT_PTR CALLBACK EmptyPage(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  HPROPSHEETPAGE pages[kPageCount];
  for (int i = 0; i < kPageCount; ++i) {
    PROPSHEETPAGEW page{};
    page.dwSize = sizeof page;
    page.hInstance = instance;
    page.pszTemplate = MAKEINTRESOURCEW(kFirstPage + i);
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
  const HWND sheet = reinterpret_cast<HWND>(PropertySheetW(&header));
  if (!sheet || sheet == reinterpret_cast<HWND>(-1)) return 1;

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
