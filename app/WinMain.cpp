// The program's entry point.
#include <windows.h>

#include "app/CRomEditorApp.h"
#include "ui/win32/StartupMark.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  ui::win32::StartupMark("WinMain: process and DLLs loaded");
  CRomEditorApp app(instance);
  if (!app.InitInstance()) return 1;
  return app.Run();
}
