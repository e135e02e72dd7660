#pragma once
// ui::Prompts as real message boxes and common file dialogs, owned by one window.

#include <windows.h>

#include "ui/Prompts.h"

namespace ui::win32 {

class WindowPrompts final : public ui::Prompts {
 public:
  explicit WindowPrompts(HWND owner = nullptr) : owner_(owner) {}
  void SetOwner(HWND owner) { owner_ = owner; }

  ui::Answer Message(const std::string& text, const std::string& caption, ui::Buttons buttons, ui::Icon icon) override;
  std::optional<std::filesystem::path> OpenFile(const ui::FileDialog& dialog) override;
  std::optional<std::filesystem::path> SaveFile(const ui::FileDialog& dialog) override;

 private:
  std::optional<std::filesystem::path> RunFileDialog(const ui::FileDialog& dialog, bool save);

  HWND owner_;
};

// "Text|*.x|All|*.*||" as the double-zero-terminated list that the file dialogs take.
std::wstring FileDialogFilter(const std::string& filter);

}  // namespace ui::win32
