#pragma once
// Message boxes and the common file dialogs.

#include <filesystem>
#include <optional>
#include <string>

namespace ui {

enum class Buttons { kOk, kYesNo, kYesNoCancel };
enum class Answer { kOk, kYes, kNo, kCancel };
enum class Icon { kNone, kWarning };

struct FileDialog {
  std::string filter;            // "Text|*.x|All|*.*||" as the class library writes it
  std::string defaultExtension;  // without the dot
  std::filesystem::path initialName;
  bool fileMustExist = false;
  bool pathMustExist = false;
  bool promptOverwrite = false;
  bool hideReadOnly = true;
};

// Texts are UTF-8. Boxes are owned by the main window.
class Prompts {
 public:
  virtual ~Prompts() = default;
  virtual Answer Message(const std::string& text, const std::string& caption, Buttons buttons, Icon icon) = 0;
  virtual std::optional<std::filesystem::path> OpenFile(const FileDialog& dialog) = 0;
  virtual std::optional<std::filesystem::path> SaveFile(const FileDialog& dialog) = 0;
};

// A path as UTF-8 text, for messages.
inline std::string PathText(const std::filesystem::path& path) {
  const auto text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace ui
