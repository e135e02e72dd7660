#pragma once
// Controls kept in a map from id to state: the pages without any window, for
// the command line, and for the tests and the fuzz harness.

#include <map>
#include <string>
#include <vector>

#include "ui/Controls.h"

namespace ui {

class HeadlessControls : public Controls {
 public:
  struct State {
    std::string text;
    int limit = 0;
    bool visible = true;
    bool checked = false;
    std::vector<std::string> items;
    int selection = -1;
  };

  std::string GetText(int id) const override;
  void SetText(int id, const std::string& text) override { states_[id].text = text; }
  void SetTextLimit(int id, int limit) override { states_[id].limit = limit; }
  void Show(int id, bool visible) override;
  bool IsVisible(int id) const override;
  bool IsChecked(int id) const override;
  void SetChecked(int id, bool checked) override { states_[id].checked = checked; }
  void Focus(int id) override { focus_ = id; }
  void ListClear(int id) override;
  void ListAppend(int id, const std::string& text) override { states_[id].items.push_back(text); }
  int ListCount(int id) const override;
  std::string ListItemText(int id, int index) const override;
  int ListSelection(int id) const override;
  void ListSelect(int id, int index) override;
  bool ListSelectPrefix(int id, const std::string& prefix) override;
  void BeginUpdate() override {
    if (updateDepth_++ == 0) ++batches_;
  }
  void EndUpdate() override { --updateDepth_; }

  // What a user does, as a real edit box takes it: the text ends at a 0x00 byte
  // and is cut at the box's limit.
  void Type(int id, const std::string& text);
  // Selects the entry whose text is `text`; false when the list has none.
  [[nodiscard]] bool Choose(int id, const std::string& text);
  // The text of a box without a copy, for checks that run for every box of every row.
  const std::string& TextOf(int id) const { return state(id).text; }
  int focus() const { return focus_; }
  int updateDepth() const { return updateDepth_; }
  // Outermost BeginUpdate/EndUpdate pairs begun so far (the repaints a window would
  // make), and Show calls made outside any.
  int batches() const { return batches_; }
  int unbatchedShows() const { return unbatchedShows_; }
  int shows() const { return shows_; }
  const State& state(int id) const;

 private:
  std::map<int, State> states_;
  int focus_ = 0;
  int updateDepth_ = 0;
  int batches_ = 0;
  int unbatchedShows_ = 0;
  int shows_ = 0;
};

}  // namespace ui
