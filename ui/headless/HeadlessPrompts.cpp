#include "ui/headless/HeadlessPrompts.h"

namespace ui {

Answer HeadlessPrompts::Message(const std::string& text, const std::string& caption, Buttons buttons, Icon) {
  shown_.push_back({text, caption});
  switch (buttons) {
    case Buttons::kOk: return Answer::kOk;
    case Buttons::kYesNo: return Answer::kNo;
    default: return Answer::kCancel;
  }
}

std::vector<HeadlessPrompts::Shown> HeadlessPrompts::Since(std::size_t mark) const {
  if (mark >= shown_.size()) return {};
  return {shown_.begin() + static_cast<std::ptrdiff_t>(mark), shown_.end()};
}

}  // namespace ui
