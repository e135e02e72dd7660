#pragma once
// What the sheet's logic needs of the sheet's window.

namespace ui {

class SheetWindow {
 public:
  virtual ~SheetWindow() = default;
  virtual int ActivePageIndex() const = 0;
  // Makes page `index` the active page, as a click on its tab would.
  virtual void SetActivePage(int index) = 0;
  // Destroys the window, which ends the program.
  virtual void End() = 0;
};

}  // namespace ui
