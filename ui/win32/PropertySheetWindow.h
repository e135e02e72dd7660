#pragma once
// A modeless comctl32 property sheet whose pages are ui::PropertyPage objects.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/PageHost.h"
#include "ui/PropertyPage.h"
#include "ui/SheetWindow.h"
#include "ui/win32/DialogControls.h"

namespace ui::win32 {

// Notifications become virtual calls on the pages: PSN_SETACTIVE ->
// OnSetActive, PSN_KILLACTIVE -> OnKillActive, CBN_CLOSEUP -> OnListCloseUp.
// The sheet window is subclassed; a derived class sees its messages first
// through HandleSheetMessage.
class PropertySheetWindow : public ui::SheetWindow {
 public:
  struct Options {
    std::wstring caption;
    // 0 keeps comctl32's own. With a style of its own the sheet is created
    // hidden, so that its owner can finish it (menu, layout) and show it once:
    // shown at once, it would be laid out and painted twice.
    DWORD style = 0;
    DWORD exStyle = 0;  // used only together with style
    HICON icon = nullptr;
    int startPage = 0;
  };

  PropertySheetWindow(ui::PageHost& host, std::vector<ui::PropertyPage*> pages);
  ~PropertySheetWindow() override;
  PropertySheetWindow(const PropertySheetWindow&) = delete;
  PropertySheetWindow& operator=(const PropertySheetWindow&) = delete;

  // Creates the modeless sheet without a parent; nullptr on failure.
  HWND Create(HINSTANCE instance, const Options& options);
  HWND hwnd() const { return hwnd_; }
  HWND PageWindow(int index) const;

  int ActivePageIndex() const override { return active_; }
  void SetActivePage(int index) override;
  void End() override;

  // The sheet's part of the message loop.
  bool PreTranslate(MSG& msg);

 protected:
  // Called once comctl32 has built the sheet (its dialog initialisation).
  virtual void OnSheetInitialized() {}
  // Return true when the message was handled, with its result in `result`.
  virtual bool HandleSheetMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  struct PageBinding;
  void FocusActivePage();
  static INT_PTR CALLBACK PageProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  static int CALLBACK SheetCallback(HWND sheet, UINT message, LPARAM lParam);
  static LRESULT CALLBACK SheetSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR self);

  ui::PageHost& host_;
  std::vector<std::unique_ptr<PageBinding>> bindings_;
  HWND hwnd_ = nullptr;
  int active_ = -1;
  DWORD style_ = 0, exStyle_ = 0;
};

}  // namespace ui::win32
