// The program's entry point.
#include <windows.h>

#include "app/CRomEditorApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  CRomEditorApp app(instance);
  if (!app.InitInstance()) return 1;
  return app.Run();
}
