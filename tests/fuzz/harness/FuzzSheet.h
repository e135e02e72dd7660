#pragma once
// The main window's logic with its six pages on fuzz controls; switching tabs
// runs the same deactivation and activation steps as the real sheet.

#include <array>

#include "shell/CPropertySheetCrtl.h"
#include "tests/fuzz/harness/FuzzControls.h"
#include "tests/fuzz/harness/FuzzPrompts.h"
#include "ui/SheetWindow.h"

namespace fuzzing {

class FuzzSheet : public ui::SheetWindow {
 public:
  FuzzSheet() { sheet.Attach(*this, prompts); }

  int ActivePageIndex() const override { return active_; }
  // Leaving a page whose checks fail keeps it active, as a tab click does.
  void SetActivePage(int index) override;
  void End() override { ended_ = true; }

  void CloseUp(int listId) { sheet.Page(active_).OnListCloseUp(listId); }
  FuzzControls& controls(int page) { return controls_[static_cast<std::size_t>(page)]; }
  bool ended() const { return ended_; }

  CPropertySheetCrtl sheet;
  FuzzPrompts prompts;

 private:
  std::array<FuzzControls, CPropertySheetCrtl::kPageCount> controls_;
  int active_ = -1;
  bool ended_ = false;
};

}  // namespace fuzzing
