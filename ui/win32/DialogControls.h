#pragma once
// ui::Controls over the child windows of a real dialog.

#include <windows.h>

#include <utility>
#include <vector>

#include "ui/Controls.h"

namespace ui::win32 {

class DialogControls final : public ui::Controls {
 public:
  explicit DialogControls(HWND dialog) : dialog_(dialog) {}

  HWND dialog() const { return dialog_; }

  std::string GetText(int id) const override;
  void SetText(int id, const std::string& text) override;
  void SetTextLimit(int id, int limit) override;
  void Show(int id, bool visible) override;
  bool IsVisible(int id) const override;
  bool IsChecked(int id) const override;
  void SetChecked(int id, bool checked) override;
  void Focus(int id) override;
  void ListClear(int id) override;
  void ListAppend(int id, const std::string& text) override;
  int ListCount(int id) const override;
  std::string ListItemText(int id, int index) const override;
  int ListSelection(int id) const override;
  void ListSelect(int id, int index) override;
  bool ListSelectPrefix(int id, const std::string& prefix) override;
  void BeginUpdate() override;
  void EndUpdate() override;

 private:
  // The control of `id`, found once: looking a control up costs Windows (and
  // Wine a call to its server) more than anything a page does with it.
  HWND Item(int id) const;
  bool IsSingleLine(HWND control) const;
  LRESULT Send(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  void ApplyShows();

  struct PendingShow {
    HWND control;
    bool visible;
  };

  HWND dialog_;
  mutable std::vector<std::pair<int, HWND>> items_;
  int updateDepth_ = 0;
  std::vector<PendingShow> pending_;
};

}  // namespace ui::win32
