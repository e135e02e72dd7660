#pragma once
// Message boxes and file dialogs answered from a script, every one recorded.

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ui/Prompts.h"

namespace testing_support {

class ScriptedPrompts : public ui::Prompts {
 public:
  struct Shown {
    std::string text;
    std::string caption;
    ui::Buttons buttons;
    ui::Icon icon;
  };

  // The answers to the next questions, in order. A box with only OK needs none;
  // a question without a scripted answer fails the test.
  void Answer(ui::Answer answer) { answers_.push_back(answer); }
  // The next open dialog chooses `path`; std::nullopt cancels it.
  void ChooseOpen(std::optional<std::filesystem::path> path) { opens_.push_back(std::move(path)); }
  void ChooseSave(std::optional<std::filesystem::path> path) { saves_.push_back(std::move(path)); }

  ui::Answer Message(const std::string& text, const std::string& caption, ui::Buttons buttons, ui::Icon icon) override;
  std::optional<std::filesystem::path> OpenFile(const ui::FileDialog& dialog) override;
  std::optional<std::filesystem::path> SaveFile(const ui::FileDialog& dialog) override;

  const std::vector<Shown>& messages() const { return messages_; }
  const std::vector<ui::FileDialog>& openDialogs() const { return openDialogs_; }
  const std::vector<ui::FileDialog>& saveDialogs() const { return saveDialogs_; }
  // Texts of the boxes shown so far.
  std::vector<std::string> texts() const;
  void ClearRecords();
  // Every scripted answer was used.
  bool Exhausted() const { return answers_.empty() && opens_.empty() && saves_.empty(); }

 private:
  std::deque<ui::Answer> answers_;
  std::deque<std::optional<std::filesystem::path>> opens_, saves_;
  std::vector<Shown> messages_;
  std::vector<ui::FileDialog> openDialogs_, saveDialogs_;
};

}  // namespace testing_support
