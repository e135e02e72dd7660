#pragma once
// The main window: the comctl32 sheet with the editor's styles, menu, icon and
// buttons, routing every command to CPropertySheetCrtl.

#include <windows.h>

#include <functional>

#include "shell/CPropertySheetCrtl.h"
#include "ui/win32/PropertySheetWindow.h"
#include "ui/win32/WindowPrompts.h"

class MainSheetWindow final : public ui::win32::PropertySheetWindow {
 public:
  static constexpr DWORD kStyle = 0x90C92080;
  static constexpr DWORD kExStyle = 0x00000181;

  MainSheetWindow(CPropertySheetCrtl& logic, HINSTANCE instance);

  // Creates the window with its menu; nullptr on failure.
  HWND Create();
  // Shows the About box; set by the application.
  std::function<void(HWND owner)> showAbout;

  CPropertySheetCrtl& logic() { return logic_; }
  ui::win32::WindowPrompts& prompts() { return prompts_; }

 protected:
  void OnSheetInitialized() override;
  bool HandleSheetMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void FitAroundPages();
  void ShowContextMenu(LPARAM screenPoint);

  CPropertySheetCrtl& logic_;
  HINSTANCE instance_;
  HICON icon_ = nullptr;
  ui::win32::WindowPrompts prompts_;
};
