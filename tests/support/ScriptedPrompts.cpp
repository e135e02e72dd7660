#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>

namespace testing_support {

ui::Answer ScriptedPrompts::Message(const std::string& text, const std::string& caption, ui::Buttons buttons,
                                    ui::Icon icon) {
  messages_.push_back({text, caption, buttons, icon});
  if (buttons == ui::Buttons::kOk) return ui::Answer::kOk;
  if (answers_.empty()) {
    ADD_FAILURE() << "unexpected question: " << text;
    return ui::Answer::kCancel;
  }
  const ui::Answer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::optional<std::filesystem::path> ScriptedPrompts::OpenFile(const ui::FileDialog& dialog) {
  openDialogs_.push_back(dialog);
  if (opens_.empty()) {
    ADD_FAILURE() << "unexpected open dialog";
    return std::nullopt;
  }
  auto chosen = opens_.front();
  opens_.pop_front();
  return chosen;
}

std::optional<std::filesystem::path> ScriptedPrompts::SaveFile(const ui::FileDialog& dialog) {
  saveDialogs_.push_back(dialog);
  if (saves_.empty()) {
    ADD_FAILURE() << "unexpected save dialog";
    return std::nullopt;
  }
  auto chosen = saves_.front();
  saves_.pop_front();
  return chosen;
}

std::vector<std::string> ScriptedPrompts::texts() const {
  std::vector<std::string> out;
  for (const Shown& shown : messages_) out.push_back(shown.text);
  return out;
}

void ScriptedPrompts::ClearRecords() {
  messages_.clear();
  openDialogs_.clear();
  saveDialogs_.clear();
}

}  // namespace testing_support
