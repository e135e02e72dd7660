#include "ui/headless/HeadlessSheet.h"

namespace ui {

void HeadlessSheet::Start() {
  active_ = -1;
  SetActivePage(0);
}

void HeadlessSheet::SetActivePage(int index) {
  if (index == active_) return;
  if (active_ >= 0 && !PageAt(active_).OnKillActive()) return;
  active_ = index;
  PropertyPage& page = PageAt(index);
  if (!page.IsCreated()) page.Create(controls(index), Host());
  page.OnSetActive();
}

void HeadlessSheet::CloseUp(int listId) { PageAt(active_).OnListCloseUp(listId); }

void HeadlessSheet::Pick(int listId, int row) {
  activeControls().ListSelect(listId, row);
  CloseUp(listId);
}

}  // namespace ui
