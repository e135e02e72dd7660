#pragma once
// The ground every page test stands on: a fresh image state, the sheet with its six
// pages on fake controls, and what a user does to the page under test.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "res/resource.h"
#include "rom/RomImage.h"
#include "tests/support/FakeSheet.h"
#include "tests/support/RomBuilder.h"
#include "tests/support/TempFolder.h"

namespace testing_support {

using Bytes = std::vector<std::uint8_t>;

// The 32 KB of RomImage as they stand.
inline Bytes ImageBytes() {
  return Bytes(rom::RomImage.data(), rom::RomImage.data() + rom::kRomSize);
}
// The sum of the first 32 KB of `bytes`, modulo 256: 0 for a valid image.
inline unsigned SumOf(const Bytes& bytes) {
  unsigned sum = 0;
  for (std::size_t i = 0; i < rom::kRomSize && i < bytes.size(); ++i) sum += bytes[i];
  return sum & 0xFF;
}

class PageTest : public ::testing::Test {
 protected:
  explicit PageTest(int page) : page_(page) {}
  void SetUp() override { rom::ResetRomState(); }
  void TearDown() override {
    EXPECT_EQ(sheet ? sheet->prompts.unscripted() : "", "") << "asked without a script";
    EXPECT_TRUE(!sheet || sheet->prompts.Exhausted()) << "a scripted answer was not asked for";
  }

  // A new program run without an image: the start page is shown.
  void Start() {
    sheet = std::make_unique<FakeSheet>();
    sheet->Start();
  }
  // A new program run on `image`, this page shown. What the start page said is
  // dropped unless it is the page under test.
  void Show(const RomBuilder& image) {
    image.Load();
    Start();
    if (page_ == 0) return;
    sheet->prompts.ClearRecords();
    sheet->SetActivePage(page_);
  }
  // `image` takes the place of the loaded one while page `other` is shown, not through
  // Open; then this page is shown again.
  void Reload(const RomBuilder& image, int other) {
    sheet->SetActivePage(other);
    image.Load();
    sheet->SetActivePage(page_);
  }
  void Revisit(int other) {
    sheet->SetActivePage(other);
    sheet->SetActivePage(page_);
  }

  FakeControls& ui() { return sheet->controls(page_); }
  std::string Text(int id) { return ui().GetText(id); }
  void Type(int id, const std::string& text) { ui().Type(id, text); }
  // Chooses a list entry and closes the list, as a mouse user does.
  void Pick(int listId, const std::string& entry) {
    EXPECT_TRUE(ui().Choose(listId, entry)) << "list " << listId << " has no entry \"" << entry << "\"";
    sheet->CloseUp(listId);
  }
  void Apply() { sheet->Command(1); }
  // Apply changes exactly these bytes of the image, to these values; {} for none.
  void ExpectApplyWrites(const std::vector<std::pair<std::uint32_t, std::uint8_t>>& changes) {
    Bytes expected = ImageBytes();
    for (const auto& [at, value] : changes) expected.at(at) = value;
    Apply();
    EXPECT_EQ(ImageBytes(), expected);
  }
  // File > Open choosing `file`; std::nullopt cancels the dialog.
  void Open(const std::optional<std::filesystem::path>& file) {
    sheet->prompts.ChooseOpen(file);
    sheet->Command(ID_FILE_OPEN_ROM);
  }
  std::filesystem::path Write(const RomBuilder& image, const std::string& name) {
    image.WriteFile(folder / name);
    return folder / name;
  }

  std::vector<std::string> Messages() const { return sheet->prompts.texts(); }
  // Exactly one box was shown since the last check: an "Error Message" whose text holds `part`.
  void ExpectError(const std::string& part) {
    const auto& shown = sheet->prompts.messages();
    ASSERT_EQ(shown.size(), 1u) << (shown.empty() ? "no message" : shown.back().text);
    EXPECT_EQ(shown[0].caption, "Error Message");
    EXPECT_NE(shown[0].text.find(part), std::string::npos) << shown[0].text;
    sheet->prompts.ClearRecords();
  }

  TempFolder folder;
  std::unique_ptr<FakeSheet> sheet;

 private:
  int page_;
};

}  // namespace testing_support
