#include "ui/headless/HeadlessControls.h"

#include <cctype>
#include <utility>

namespace ui {
namespace {
const HeadlessControls::State kNoControl{};

bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix) {
  if (prefix.size() > text.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i]))) {
      return false;
    }
  }
  return true;
}
}  // namespace

const HeadlessControls::State& HeadlessControls::state(int id) const {
  const auto it = states_.find(id);
  return it == states_.end() ? kNoControl : it->second;
}

std::string HeadlessControls::GetText(int id) const { return state(id).text; }
bool HeadlessControls::IsVisible(int id) const { return state(id).visible; }
bool HeadlessControls::IsChecked(int id) const { return state(id).checked; }
int HeadlessControls::ListCount(int id) const { return static_cast<int>(state(id).items.size()); }
int HeadlessControls::ListSelection(int id) const { return state(id).selection; }

void HeadlessControls::Show(int id, bool visible) {
  states_[id].visible = visible;
  ++shows_;
  if (updateDepth_ == 0) ++unbatchedShows_;
}

void HeadlessControls::ListClear(int id) {
  states_[id].items.clear();
  states_[id].selection = -1;
}

std::string HeadlessControls::ListItemText(int id, int index) const {
  const State& s = state(id);
  if (index < 0 || index >= static_cast<int>(s.items.size())) return {};
  return s.items[static_cast<std::size_t>(index)];
}

void HeadlessControls::ListSelect(int id, int index) {
  State& s = states_[id];
  s.selection = (index >= 0 && index < static_cast<int>(s.items.size())) ? index : -1;
}

bool HeadlessControls::ListSelectPrefix(int id, const std::string& prefix) {
  State& s = states_[id];
  for (std::size_t i = 0; i < s.items.size(); ++i) {
    if (StartsWithIgnoringCase(s.items[i], prefix)) {
      s.selection = static_cast<int>(i);
      return true;
    }
  }
  return false;
}

void HeadlessControls::Type(int id, const std::string& text) {
  State& s = states_[id];
  std::string typed = text.substr(0, text.find('\0'));
  if (s.limit > 0 && typed.size() > static_cast<std::size_t>(s.limit)) typed.resize(static_cast<std::size_t>(s.limit));
  s.text = std::move(typed);
}

bool HeadlessControls::Choose(int id, const std::string& text) {
  State& s = states_[id];
  for (std::size_t i = 0; i < s.items.size(); ++i) {
    if (s.items[i] == text) {
      s.selection = static_cast<int>(i);
      return true;
    }
  }
  return false;
}

}  // namespace ui
