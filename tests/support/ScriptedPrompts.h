#pragma once
// Message boxes and file dialogs answered from a script, every one recorded. A question or
// dialog without a scripted answer gets the cautious one (OK, No, Cancel; the dialog cancelled)
// and is noted in unscripted(): the fuzz harness counts on that, a unit test fails on it.

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
    std::string text, caption;
    ui::Buttons buttons;
    ui::Icon icon;
  };
  using Path = std::optional<std::filesystem::path>;

  // The answers to the next questions and dialogs, in order; std::nullopt cancels a dialog.
  void Answer(ui::Answer answer) { answers_.push_back(answer); }
  void ChooseOpen(Path path) { opens_.push_back(std::move(path)); }
  void ChooseSave(Path path) { saves_.push_back(std::move(path)); }

  ui::Answer Message(const std::string& text, const std::string& caption, ui::Buttons buttons, ui::Icon icon) override {
    messages_.push_back({text, caption, buttons, icon});
    if (buttons == ui::Buttons::kOk) return ui::Answer::kOk;
    if (answers_.empty()) {
      unscripted_ += "question \"" + text + "\"; ";
      return buttons == ui::Buttons::kYesNo ? ui::Answer::kNo : ui::Answer::kCancel;
    }
    const ui::Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  Path OpenFile(const ui::FileDialog& dialog) override { return Next(openDialogs_, dialog, opens_, "open dialog"); }
  Path SaveFile(const ui::FileDialog& dialog) override { return Next(saveDialogs_, dialog, saves_, "save dialog"); }

  const std::vector<Shown>& messages() const { return messages_; }
  const std::vector<ui::FileDialog>& openDialogs() const { return openDialogs_; }
  const std::vector<ui::FileDialog>& saveDialogs() const { return saveDialogs_; }
  int fileDialogs() const { return static_cast<int>(openDialogs_.size() + saveDialogs_.size()); }
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const Shown& shown : messages_) out.push_back(shown.text);
    return out;
  }
  void ClearRecords() {
    messages_.clear();
    openDialogs_.clear();
    saveDialogs_.clear();
  }
  // Every scripted answer was used.
  bool Exhausted() const { return answers_.empty() && opens_.empty() && saves_.empty(); }
  const std::string& unscripted() const { return unscripted_; }

  // A position in the record of boxes, to ask what has been shown since.
  std::size_t Mark() const { return messages_.size(); }
  bool AnySince(std::size_t mark) const { return messages_.size() > mark; }
  const Shown* FirstSince(std::size_t mark) const { return AnySince(mark) ? &messages_[mark] : nullptr; }
  // The first box with caption "Error Message" shown since `mark`, or nullptr.
  const Shown* ErrorSince(std::size_t mark) const {
    for (std::size_t i = mark; i < messages_.size(); ++i)
      if (messages_[i].caption == "Error Message") return &messages_[i];
    return nullptr;
  }

 private:
  Path Next(std::vector<ui::FileDialog>& seen, const ui::FileDialog& dialog, std::deque<Path>& script,
            const char* what) {
    seen.push_back(dialog);
    if (script.empty()) {
      unscripted_ += std::string(what) + "; ";
      return std::nullopt;
    }
    Path chosen = script.front();
    script.pop_front();
    return chosen;
  }

  std::deque<ui::Answer> answers_;
  std::deque<Path> opens_, saves_;
  std::vector<Shown> messages_;
  std::vector<ui::FileDialog> openDialogs_, saveDialogs_;
  std::string unscripted_;
};

}  // namespace testing_support
