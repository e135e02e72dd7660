#pragma once
// The main window's logic with its six pages on the headless sheet: switching
// tabs runs the same deactivation and activation steps as the real sheet.

#include "shell/CPropertySheetCrtl.h"
#include "tests/support/FakeControls.h"
#include "tests/support/ScriptedPrompts.h"
#include "ui/headless/HeadlessSheet.h"

namespace testing_support {

class FakeSheet : public ui::HeadlessSheet {
 public:
  FakeSheet() : ui::HeadlessSheet(CPropertySheetCrtl::kPageCount) { sheet.Attach(*this, prompts); }

  // A click on the sheet's button (1 Apply, 2 Close) or a menu command.
  void Command(int id) { sheet.OnCommand(id); }

  CPropertySheetCrtl sheet;
  ScriptedPrompts prompts;

 protected:
  ui::PropertyPage& PageAt(int index) override { return sheet.Page(index); }
  ui::PageHost& Host() override { return sheet; }
};

}  // namespace testing_support
