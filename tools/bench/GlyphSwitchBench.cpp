// Times the glyph switch of the Font Images page: the program's own sheet and
// pages, built as the program builds them, in this process; each close-up of
// the character list is sent as the list sends it and timed until the message
// queue is empty and no window is left to paint, as the program's own message
// loop would leave it. (From another process the moment the program has
// painted cannot be seen under Wine without painting for it.)
//
// Usage: glyph_switch_bench IMAGE.rom [SWITCHES]
#include <windows.h>
// After windows.h, whose types it needs.
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "res/resource.h"
#include "rom/RomFile.h"
#include "shell/CPropertySheetCrtl.h"
#include "shell/win32/MainSheetWindow.h"
#include "tools/bench/Median.h"

namespace {

constexpr int kFontImagesPage = 5;
constexpr int kFont8x16 = 2;
constexpr int kFirstCode = 0x21;  // printable characters: glyphs with many pixels

double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / frequency;
}

// The message loop until nothing is left: PeekMessage hands out WM_PAINT last.
void RunUntilIdle(MainSheetWindow& window) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (window.PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void CloseUpOn(MainSheetWindow& window, int listId, int entry) {
  const HWND page = window.PageWindow(kFontImagesPage);
  const HWND list = GetDlgItem(page, listId);
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
  SendMessageW(page, WM_COMMAND, MAKEWPARAM(listId, CBN_CLOSEUP), reinterpret_cast<LPARAM>(list));
  RunUntilIdle(window);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fwprintf(stderr, L"usage: glyph_switch_bench IMAGE.rom [SWITCHES]\n");
    return 2;
  }
  const int switches = std::clamp(argc > 2 ? _wtoi(argv[2]) : 64, 1, 256 - kFirstCode);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  CPropertySheetCrtl logic;
  MainSheetWindow window(logic, GetModuleHandleW(nullptr));
  const HWND sheet = window.Create();
  if (!sheet || !rom::LoadRomFile(argv[1])) {
    std::fwprintf(stderr, L"cannot show the sheet or load %ls\n", argv[1]);
    return 1;
  }
  RunUntilIdle(window);
  SendMessageW(sheet, PSM_SETCURSEL, kFontImagesPage, 0);
  RunUntilIdle(window);
  CloseUpOn(window, IDC_FONT_LIST, kFont8x16);
  CloseUpOn(window, IDC_CHAR_LIST_FULL, 0);

  std::vector<double> times;
  for (int i = 0; i < switches; ++i) {
    const double start = Now();
    CloseUpOn(window, IDC_CHAR_LIST_FULL, kFirstCode + i);
    times.push_back(Now() - start);
  }
  std::wprintf(L"glyph switch: median %6.1f ms (min %6.1f, max %6.1f) over %d close-ups of the 8x16 font\n",
               Median(times), *std::min_element(times.begin(), times.end()),
               *std::max_element(times.begin(), times.end()), switches);
  DestroyWindow(sheet);
  return 0;
}
