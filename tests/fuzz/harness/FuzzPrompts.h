#pragma once
// Message boxes and file dialogs answered without a script: every box is
// counted and answered with the cautious choice, every file dialog cancelled.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ui/Prompts.h"

namespace fuzzing {

class FuzzPrompts : public ui::Prompts {
 public:
  struct Shown {
    std::string caption;
    std::string text;
  };

  // OK for an OK box, No for Yes/No, Cancel for Yes/No/Cancel.
  ui::Answer Message(const std::string& text, const std::string& caption, ui::Buttons buttons, ui::Icon icon) override;
  std::optional<std::filesystem::path> OpenFile(const ui::FileDialog& dialog) override;
  std::optional<std::filesystem::path> SaveFile(const ui::FileDialog& dialog) override;

  // A position in the record of boxes, to ask what has been shown since.
  std::size_t Mark() const { return shown_.size(); }
  bool AnySince(std::size_t mark) const { return shown_.size() > mark; }
  // The first box with caption "Error Message" shown since `mark`, or nullptr.
  const Shown* ErrorSince(std::size_t mark) const;
  const Shown* FirstSince(std::size_t mark) const { return AnySince(mark) ? &shown_[mark] : nullptr; }
  int fileDialogs() const { return fileDialogs_; }

 private:
  std::vector<Shown> shown_;
  int fileDialogs_ = 0;
};

}  // namespace fuzzing
