#include "tests/support/FakeSheet.h"

namespace testing_support {

FakeSheet::FakeSheet() { sheet.Attach(*this, prompts); }

void FakeSheet::Start() {
  active_ = -1;
  SetActivePage(0);
}

void FakeSheet::SetActivePage(int index) {
  if (index == active_) return;
  if (active_ >= 0 && !sheet.Page(active_).OnKillActive()) return;
  active_ = index;
  ui::PropertyPage& page = sheet.Page(index);
  if (!page.IsCreated()) page.Create(controls(index), sheet);
  page.OnSetActive();
}

}  // namespace testing_support
