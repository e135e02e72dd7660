#pragma once
// The main window's logic with its six pages on the headless sheet. The prompts
// are the unit tests' scripted ones or the fuzz harness's cautious ones.

#include "shell/CPropertySheetCrtl.h"
#include "tests/support/FakeControls.h"
#include "tests/support/ScriptedPrompts.h"
#include "ui/headless/HeadlessSheet.h"

namespace testing_support {

template <class PromptsT>
class BasicFakeSheet : public ui::HeadlessSheet {
 public:
  BasicFakeSheet() : ui::HeadlessSheet(CPropertySheetCrtl::kPageCount) { sheet.Attach(*this, prompts); }

  // A click on the sheet's button (1 Apply, 2 Close) or a menu command.
  void Command(int id) { sheet.OnCommand(id); }

  CPropertySheetCrtl sheet;
  PromptsT prompts;

 protected:
  ui::PropertyPage& PageAt(int index) override { return sheet.Page(index); }
  ui::PageHost& Host() override { return sheet; }
};

using FakeSheet = BasicFakeSheet<ScriptedPrompts>;

}  // namespace testing_support
