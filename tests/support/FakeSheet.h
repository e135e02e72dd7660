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
  FakeSheet() { sheet.Attach(*this, prompts); }

  // Shows the window: page 0 is created and activated, as at program start.
  void Start() {
    active_ = -1;
    SetActivePage(0);
  }

  int ActivePageIndex() const override { return active_; }
  // Leaving a page whose checks fail keeps it active, as a tab click does.
  void SetActivePage(int index) override {
    if (index == active_) return;
    if (active_ >= 0 && !sheet.Page(active_).OnKillActive()) return;
    active_ = index;
    ui::PropertyPage& page = sheet.Page(index);
    if (!page.IsCreated()) page.Create(controls(index), sheet);
    page.OnSetActive();
  }
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
