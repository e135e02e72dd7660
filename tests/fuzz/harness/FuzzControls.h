#pragma once
// A page's controls as plain state, driven by fuzz input instead of a user.

#include <map>
#include <string>
#include <vector>

#include "ui/Controls.h"

namespace fuzzing {

class FuzzControls : public ui::Controls {
 public:
  std::string GetText(int id) const override { return state(id).text; }
  void SetText(int id, const std::string& text) override { states_[id].text = text; }
  void SetTextLimit(int id, int limit) override { states_[id].limit = limit; }
  void Show(int id, bool visible) override { states_[id].visible = visible; }
  bool IsVisible(int id) const override { return state(id).visible; }
  bool IsChecked(int id) const override { return state(id).checked; }
  void SetChecked(int id, bool checked) override { states_[id].checked = checked; }
  void Focus(int /*id*/) override {}
  void ListClear(int id) override;
  void ListAppend(int id, const std::string& text) override { states_[id].items.push_back(text); }
  int ListCount(int id) const override { return static_cast<int>(state(id).items.size()); }
  std::string ListItemText(int id, int index) const override;
  int ListSelection(int id) const override { return state(id).selection; }
  void ListSelect(int id, int index) override;
  bool ListSelectPrefix(int id, const std::string& prefix) override;

  // The text of a box without a copy, for checks that run for every box of every row.
  const std::string& TextOf(int id) const { return state(id).text; }
  // Typing as an edit box takes it: the text ends at a 0x00 byte and is cut at the box's limit.
  void Type(int id, const std::string& text);

 private:
  struct State {
    std::string text;
    int limit = 0;
    bool visible = true;
    bool checked = false;
    std::vector<std::string> items;
    int selection = -1;
  };
  const State& state(int id) const;

  std::map<int, State> states_;
};

}  // namespace fuzzing
