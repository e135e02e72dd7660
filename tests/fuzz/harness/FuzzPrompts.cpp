#include "tests/fuzz/harness/FuzzPrompts.h"

namespace fuzzing {

ui::Answer FuzzPrompts::Message(const std::string& text, const std::string& caption, ui::Buttons buttons,
                                ui::Icon /*icon*/) {
  shown_.push_back({caption, text});
  switch (buttons) {
    case ui::Buttons::kOk: return ui::Answer::kOk;
    case ui::Buttons::kYesNo: return ui::Answer::kNo;
    default: return ui::Answer::kCancel;
  }
}

std::optional<std::filesystem::path> FuzzPrompts::OpenFile(const ui::FileDialog& /*dialog*/) {
  ++fileDialogs_;
  return std::nullopt;
}

std::optional<std::filesystem::path> FuzzPrompts::SaveFile(const ui::FileDialog& /*dialog*/) {
  ++fileDialogs_;
  return std::nullopt;
}

const FuzzPrompts::Shown* FuzzPrompts::ErrorSince(std::size_t mark) const {
  for (std::size_t i = mark; i < shown_.size(); ++i) {
    if (shown_[i].caption == "Error Message") return &shown_[i];
  }
  return nullptr;
}

}  // namespace fuzzing
