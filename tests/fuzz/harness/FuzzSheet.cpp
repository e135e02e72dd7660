#include "tests/fuzz/harness/FuzzSheet.h"

namespace fuzzing {

void FuzzSheet::SetActivePage(int index) {
  if (index == active_) return;
  if (active_ >= 0 && !sheet.Page(active_).OnKillActive()) return;
  active_ = index;
  ui::PropertyPage& page = sheet.Page(index);
  if (!page.IsCreated()) page.Create(controls(index), sheet);
  page.OnSetActive();
}

}  // namespace fuzzing
