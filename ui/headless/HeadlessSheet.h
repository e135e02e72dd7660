#pragma once
// A property sheet without a window: its pages on in-memory controls, and tab
// switches that run the same deactivation and activation steps as a real sheet.

#include <vector>

#include "ui/PageHost.h"
#include "ui/PropertyPage.h"
#include "ui/SheetWindow.h"
#include "ui/headless/HeadlessControls.h"

namespace ui {

class HeadlessSheet : public SheetWindow {
 public:
  explicit HeadlessSheet(int pageCount) : controls_(static_cast<std::size_t>(pageCount)) {}

  // Shows the sheet: page 0 is created and activated, as at program start.
  void Start();

  int ActivePageIndex() const override { return active_; }
  // Leaving a page whose checks fail keeps it active, as a tab click does.
  void SetActivePage(int index) override;
  void End() override { ended_ = true; }

  // The user closes a drop-down list of the active page.
  void CloseUp(int listId);
  // Entry `row` chosen in a list of the active page, and the list closed.
  void Pick(int listId, int row);

  HeadlessControls& controls(int page) { return controls_.at(static_cast<std::size_t>(page)); }
  HeadlessControls& activeControls() { return controls(active_); }
  bool ended() const { return ended_; }

 protected:
  virtual PropertyPage& PageAt(int index) = 0;
  virtual PageHost& Host() = 0;

 private:
  std::vector<HeadlessControls> controls_;
  int active_ = -1;
  bool ended_ = false;
};

}  // namespace ui
