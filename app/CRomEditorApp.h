#pragma once
// The application: creates the main window and runs the message loop until it is destroyed.

#include <windows.h>

#include <memory>

#include "shell/CPropertySheetCrtl.h"
#include "shell/win32/MainSheetWindow.h"

class CRomEditorApp {
 public:
  explicit CRomEditorApp(HINSTANCE instance) : instance_(instance) {}

  // Creates the main window; false only if Windows could not create it.
  bool InitInstance();
  // The message loop; returns the exit code.
  int Run();

  MainSheetWindow* mainWindow() { return window_.get(); }

 private:
  HINSTANCE instance_;
  std::unique_ptr<CPropertySheetCrtl> sheet_;
  std::unique_ptr<MainSheetWindow> window_;
  HACCEL accelerators_ = nullptr;
};
