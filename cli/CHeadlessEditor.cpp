#include "cli/CHeadlessEditor.h"

#include "rom/RomImage.h"

namespace cli {

bool CHeadlessEditor::ImageLoaded() const {
  return rom::romLoaded == 1;
}

void CHeadlessEditor::Apply() {
  if (!ImageLoaded() || ActivePageIndex() < 0) return;
  rom::romModified = 1;
  ui::PropertyPage& page = PageAt(ActivePageIndex());
  page.StoreToImage();
  page.LoadFromImage();
}

std::vector<std::string> CHeadlessEditor::MessagesSince(std::size_t mark) const {
  std::vector<std::string> texts;
  for (const auto& shown : prompts_.Since(mark)) texts.push_back(shown.text);
  return texts;
}

}  // namespace cli
