#pragma once
// Message boxes without a screen: each one is recorded and answered with the
// cautious choice; a file dialog is cancelled, as nobody is there to choose.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ui/Prompts.h"

namespace ui {

class HeadlessPrompts : public Prompts {
 public:
  struct Shown {
    std::string text;
    std::string caption;
  };

  // OK for an OK box, No for Yes/No, Cancel for Yes/No/Cancel.
  Answer Message(const std::string& text, const std::string& caption, Buttons buttons, Icon icon) override;
  std::optional<std::filesystem::path> OpenFile(const FileDialog&) override { return std::nullopt; }
  std::optional<std::filesystem::path> SaveFile(const FileDialog&) override { return std::nullopt; }

  // A position in the record, to ask what has been shown since.
  std::size_t Mark() const { return shown_.size(); }
  std::vector<Shown> Since(std::size_t mark) const;

 private:
  std::vector<Shown> shown_;
};

}  // namespace ui
