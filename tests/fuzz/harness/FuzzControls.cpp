#include "tests/fuzz/harness/FuzzControls.h"

#include <cctype>
#include <utility>

namespace fuzzing {
namespace {

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

const FuzzControls::State& FuzzControls::state(int id) const {
  static const State kNoControl{};
  const auto it = states_.find(id);
  return it == states_.end() ? kNoControl : it->second;
}

void FuzzControls::ListClear(int id) {
  State& s = states_[id];
  s.items.clear();
  s.selection = -1;
}

std::string FuzzControls::ListItemText(int id, int index) const {
  const State& s = state(id);
  if (index < 0 || index >= static_cast<int>(s.items.size())) return {};
  return s.items[static_cast<std::size_t>(index)];
}

void FuzzControls::ListSelect(int id, int index) {
  State& s = states_[id];
  s.selection = index >= 0 && index < static_cast<int>(s.items.size()) ? index : -1;
}

bool FuzzControls::ListSelectPrefix(int id, const std::string& prefix) {
  State& s = states_[id];
  for (std::size_t i = 0; i < s.items.size(); ++i) {
    if (StartsWithIgnoringCase(s.items[i], prefix)) {
      s.selection = static_cast<int>(i);
      return true;
    }
  }
  return false;
}

void FuzzControls::Type(int id, const std::string& text) {
  State& s = states_[id];
  std::string typed = text.substr(0, text.find('\0'));
  if (s.limit > 0 && typed.size() > static_cast<std::size_t>(s.limit)) typed.resize(static_cast<std::size_t>(s.limit));
  s.text = std::move(typed);
}

}  // namespace fuzzing
