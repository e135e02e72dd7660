#pragma once
// The editor without a window: the six pages of the window on headless controls,
// driven the way a user drives them, on the image loaded into RomImage.

#include <cstddef>
#include <string>
#include <vector>

#include "pages/PageSet.h"
#include "ui/PageHost.h"
#include "ui/headless/HeadlessPrompts.h"
#include "ui/headless/HeadlessSheet.h"

namespace cli {

class CHeadlessEditor : public ui::HeadlessSheet, public ui::PageHost {
 public:
  CHeadlessEditor() : ui::HeadlessSheet(CPageSet::kPageCount) {}

  // The sheet's "&Apply" on the active page: the page writes its boxes into the
  // image and shows what it wrote.
  void Apply();

  // The messages the pages have shown since `mark` (a Mark() taken before).
  std::size_t Mark() const { return prompts_.Mark(); }
  std::vector<std::string> MessagesSince(std::size_t mark) const;

  CPageSet& pages() { return pages_; }

  // ui::PageHost. The image is loaded before any page is shown; there is no
  // Open command without a window.
  bool ImageLoaded() const override;
  void OpenImage() override {}
  ui::Prompts& prompts() override { return prompts_; }

 protected:
  ui::PropertyPage& PageAt(int index) override { return pages_.Page(index); }
  ui::PageHost& Host() override { return *this; }

 private:
  CPageSet pages_;
  ui::HeadlessPrompts prompts_;
};

}  // namespace cli
