#include "app/CRomEditorApp.h"

#include <commctrl.h>

#include "app/CAboutDlg.h"
#include "res/resource.h"
#include "ui/win32/StartupMark.h"

bool CRomEditorApp::InitInstance() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  ui::win32::StartupMark("common controls registered");
  sheet_ = std::make_unique<CPropertySheetCrtl>();
  window_ = std::make_unique<MainSheetWindow>(*sheet_, instance_);
  const HINSTANCE instance = instance_;
  window_->showAbout = [instance](HWND owner) { CAboutDlg::Run(instance, owner); };
  if (!window_->Create()) return false;
  accelerators_ = LoadAcceleratorsW(instance_, MAKEINTRESOURCEW(IDR_MAINFRAME));
  ui::win32::StartupMark("window shown, accelerators loaded");
  return true;
}

int CRomEditorApp::Run() {
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    const HWND sheet = window_->hwnd();
    if (sheet && accelerators_ && TranslateAcceleratorW(sheet, accelerators_, &msg)) continue;
    if (window_->PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
