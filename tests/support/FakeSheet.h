#pragma once
// The main window's logic with its six pages on fake controls: switching tabs
// runs the same deactivation and activation steps as the real sheet.

#include <array>

#include "shell/CPropertySheetCrtl.h"
#include "tests/support/FakeControls.h"
#include "tests/support/ScriptedPrompts.h"
#include "ui/SheetWindow.h"

namespace testing_support {

class FakeSheet : public ui::SheetWindow {
 public:
  FakeSheet();

  // Shows the window: page 0 is created and activated, as at program start.
  void Start();

  int ActivePageIndex() const override { return active_; }
  void SetActivePage(int index) override;
  void End() override { ended_ = true; }

  // A click on the sheet's button (1 Apply, 2 Close) or a menu command.
  void Command(int id) { sheet.OnCommand(id); }
  // The user closes a drop-down list of the active page.
  void CloseUp(int listId) { sheet.Page(active_).OnListCloseUp(listId); }

  FakeControls& controls(int page) { return controls_[static_cast<std::size_t>(page)]; }
  FakeControls& activeControls() { return controls(active_); }
  bool ended() const { return ended_; }

  CPropertySheetCrtl sheet;
  ScriptedPrompts prompts;

 private:
  std::array<FakeControls, CPropertySheetCrtl::kPageCount> controls_;
  int active_ = -1;
  bool ended_ = false;
};

}  // namespace testing_support
