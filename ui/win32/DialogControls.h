#pragma once
// ui::Controls over the child windows of a real dialog.

#include <windows.h>

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
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }
  bool IsSingleLine(HWND control) const;
  // Inside an update the screen is frozen: remember what to repaint at its end.
  void Touched(HWND control);

  HWND dialog_;
  int updateDepth_ = 0;
  std::vector<RECT> dirty_;
};

}  // namespace ui::win32
