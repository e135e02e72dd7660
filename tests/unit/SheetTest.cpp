#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "res/resource.h"
#include "rom/RomImage.h"
#include "tests/support/FakeSheet.h"
#include "tests/support/RomBuilder.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using testing_support::FakeSheet;
using testing_support::RomBuilder;
using testing_support::TempFolder;
using ui::Answer;

constexpr int kSignaturePage = 2;
constexpr const char* kFilter = "VGA BIOS ROM Image (*.rom)|*.rom|All Files (*.*)|*.*||";
constexpr const char* kExitQuestion = "Data has been modified.  Save data before exiting?";
constexpr const char* kOpenQuestion = "Current File Data has been modified.  Save data before open another files?";

Bytes Image() {
  return Bytes(rom::RomImage.data(), rom::RomImage.data() + rom::kRomSize);
}

unsigned SumOf(const Bytes& bytes) {
  unsigned sum = 0;
  for (std::size_t i = 0; i < rom::kRomSize && i < bytes.size(); ++i) sum += bytes[i];
  return sum & 0xFF;
}

// The last box shown, exactly as the user saw it.
void ExpectLastMessage(const FakeSheet& sheet, const std::string& text, const std::string& caption,
                       ui::Buttons buttons) {
  ASSERT_FALSE(sheet.prompts.messages().empty());
  const auto& shown = sheet.prompts.messages().back();
  EXPECT_EQ(shown.text, text);
  EXPECT_EQ(shown.caption, caption);
  EXPECT_EQ(shown.buttons, buttons);
  EXPECT_EQ(shown.icon, ui::Icon::kNone);
}

class SheetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rom::ResetRomState();
    sheet.Start();
    a = Rom("a.rom", "FIRST");
    b = Rom("b.rom", "SECOND");
  }

  fs::path Rom(const std::string& name, const std::string& text) {
    RomBuilder().SignatureText(text).WriteFile(folder / name);
    return folder / name;
  }
  // Opens `file` on the ROM Signature page, types `first` into its first box and applies.
  void OpenAndApply(FakeSheet& s, const fs::path& file, const std::string& first = "Z") {
    s.prompts.ChooseOpen(file);
    s.SetActivePage(kSignaturePage);
    s.activeControls().Type(1, first);
    s.Command(1);
    ASSERT_EQ(rom::romModified, 1);
  }
  void Open(const std::optional<fs::path>& file) {
    sheet.prompts.ChooseOpen(file);
    sheet.Command(ID_FILE_OPEN_ROM);
  }
  std::string FirstBox() { return sheet.controls(kSignaturePage).GetText(1); }
  const fs::path& romPath() { return sheet.sheet.romPath(); }

  TempFolder folder;
  FakeSheet sheet;
  fs::path a, b;
};

TEST_F(SheetTest, OpenLoadsTheFileIntoTheActivePageAndKeepsRomModified) {
  sheet.prompts.ChooseOpen(a);
  sheet.SetActivePage(kSignaturePage);  // no image yet: the page runs Open
  ASSERT_EQ(sheet.prompts.openDialogs().size(), 1u);
  const ui::FileDialog& dialog = sheet.prompts.openDialogs()[0];
  EXPECT_EQ(dialog.filter, kFilter);
  EXPECT_EQ(dialog.defaultExtension, "rom");
  EXPECT_EQ(dialog.initialName, fs::path("*.rom"));
  EXPECT_TRUE(dialog.fileMustExist);
  EXPECT_TRUE(dialog.hideReadOnly);
  EXPECT_EQ(Image(), TempFolder::ReadBytes(a));
  EXPECT_EQ(romPath(), a);
  EXPECT_EQ(rom::romLoaded, 1);
  EXPECT_EQ(rom::romModified, 0);
  EXPECT_EQ(FirstBox(), "F");

  sheet.Command(1);
  sheet.prompts.Answer(Answer::kNo);
  Open(b);
  ExpectLastMessage(sheet, kOpenQuestion, "Message Prompt", ui::Buttons::kYesNo);
  EXPECT_EQ(FirstBox(), "S") << "the active page shows the new image";
  EXPECT_EQ(romPath(), b);
  EXPECT_EQ(rom::romModified, 1) << "a file opened after answering No still counts as modified";
  EXPECT_TRUE(sheet.prompts.saveDialogs().empty());
}

TEST_F(SheetTest, RejectedOpenChangesNothingSoSaveKeepsToTheOldFile) {
  OpenAndApply(sheet, a);
  const Bytes image = Image();
  TempFolder::WriteBytes(folder / "empty.rom", {});
  TempFolder::WriteBytes(folder / "one.rom", {0x55});
  TempFolder::WriteBytes(folder / "swapped.rom", {0xAA, 0x55, 'X', 'Y'});
  for (const char* name : {"empty.rom", "one.rom", "swapped.rom", "missing.rom"}) {
    sheet.prompts.Answer(Answer::kNo);
    Open(folder / name);
    ExpectLastMessage(sheet, "The file " + ui::PathText(folder / name) + " is not a valid Ombrix VGA BIOS ROM image.",
                      "File Error Message", ui::Buttons::kOk);
    EXPECT_EQ(Image(), image) << name;
    EXPECT_EQ(romPath(), a) << name;
    EXPECT_EQ(rom::romLoaded, 1) << name;
    EXPECT_EQ(rom::romModified, 1) << name;
    EXPECT_EQ(FirstBox(), "Z") << name;
  }
  sheet.Command(ID_FILE_SAVE_ROM);
  EXPECT_EQ(TempFolder::ReadBytes(folder / "swapped.rom"), (Bytes{0xAA, 0x55, 'X', 'Y'}));
  EXPECT_EQ(TempFolder::ReadBytes(a)[0x40], 'Z');
  EXPECT_TRUE(sheet.prompts.Exhausted());
}

TEST_F(SheetTest, RejectedOrCancelledOpenWithoutImageLeavesNothingToSaveInto) {
  TempFolder::WriteBytes(folder / "swapped.rom", {0xAA, 0x55});
  Open(folder / "swapped.rom");
  Open(std::nullopt);
  EXPECT_EQ(rom::romLoaded, 0);
  EXPECT_TRUE(romPath().empty());
  // With no path, Save asks for one like Save As.
  sheet.prompts.ChooseSave(std::nullopt);
  sheet.Command(ID_FILE_SAVE_ROM);
  ASSERT_EQ(sheet.prompts.saveDialogs().size(), 1u);
  EXPECT_TRUE(sheet.prompts.saveDialogs()[0].promptOverwrite);
  EXPECT_EQ(TempFolder::ReadBytes(folder / "swapped.rom"), (Bytes{0xAA, 0x55}));
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"a.rom", "b.rom", "swapped.rom"}));
}

TEST_F(SheetTest, CancelledOpenDialogKeepsTheImageLoaded) {
  Open(a);
  Open(std::nullopt);
  EXPECT_EQ(rom::romLoaded, 1);
  EXPECT_EQ(romPath(), a);
  EXPECT_EQ(Image(), TempFolder::ReadBytes(a));
  EXPECT_EQ(sheet.prompts.openDialogs().size(), 2u);
}

TEST_F(SheetTest, OpenQuestionAnsweredYesSavesFirstAndStopsWhenTheSaveDoesNot) {
  OpenAndApply(sheet, a);
  // Save As cancelled: no open dialog.
  sheet.prompts.Answer(Answer::kYes);
  sheet.prompts.ChooseSave(std::nullopt);
  sheet.Command(ID_FILE_OPEN_ROM);
  EXPECT_EQ(sheet.prompts.openDialogs().size(), 1u);
  EXPECT_EQ(romPath(), a);
  EXPECT_EQ(rom::romModified, 1);

  // Save As failed: the message, then no open dialog; the path keeps the new name.
  const fs::path nowhere = folder / "missing" / "x.rom";
  sheet.prompts.Answer(Answer::kYes);
  sheet.prompts.ChooseSave(nowhere);
  sheet.Command(ID_FILE_OPEN_ROM);
  ExpectLastMessage(sheet, "Error On File Save As!", "File Error Message", ui::Buttons::kOk);
  EXPECT_EQ(sheet.prompts.openDialogs().size(), 1u);
  EXPECT_EQ(romPath(), nowhere);
  EXPECT_EQ(rom::romModified, 1);

  // Save As done: the open goes on.
  sheet.prompts.Answer(Answer::kYes);
  sheet.prompts.ChooseSave(folder / "saved.rom");
  Open(b);
  const Bytes saved = TempFolder::ReadBytes(folder / "saved.rom");
  ASSERT_EQ(saved.size(), rom::kRomSize);
  EXPECT_EQ(saved[0x40], 'Z');
  EXPECT_EQ(SumOf(saved), 0u);
  EXPECT_EQ(romPath(), b);
  EXPECT_EQ(FirstBox(), "S");
  EXPECT_EQ(rom::romModified, 0);
  EXPECT_TRUE(sheet.prompts.Exhausted());
}

TEST_F(SheetTest, SaveAndSaveAsWriteOrReportAndKeepRomModified) {
  OpenAndApply(sheet, a);
  sheet.Command(ID_FILE_SAVE_ROM);
  EXPECT_TRUE(sheet.prompts.saveDialogs().empty()) << "Save with a path asks for none";
  EXPECT_EQ(TempFolder::ReadBytes(a), Image());
  EXPECT_EQ(SumOf(Image()), 0u);
  EXPECT_EQ(rom::romModified, 0);

  fs::permissions(a, fs::perms::owner_read);
  sheet.activeControls().Type(1, "Y");
  sheet.Command(1);
  const Bytes before = TempFolder::ReadBytes(a);
  sheet.Command(ID_FILE_SAVE_ROM);
  ExpectLastMessage(sheet, "Error On File Save!", "File Error Message", ui::Buttons::kOk);
  EXPECT_EQ(TempFolder::ReadBytes(a), before);
  EXPECT_EQ(rom::romModified, 1);

  sheet.prompts.ChooseSave(std::nullopt);
  sheet.Command(ID_FILE_SAVE_ROM_AS);
  EXPECT_EQ(romPath(), a);
  EXPECT_EQ(rom::romModified, 1);
  ASSERT_EQ(sheet.prompts.saveDialogs().size(), 1u);
  const ui::FileDialog& dialog = sheet.prompts.saveDialogs()[0];
  EXPECT_EQ(dialog.filter, kFilter);
  EXPECT_EQ(dialog.defaultExtension, "rom");
  EXPECT_EQ(dialog.initialName, a);
  EXPECT_TRUE(dialog.promptOverwrite);
  EXPECT_TRUE(dialog.pathMustExist);
  EXPECT_TRUE(dialog.hideReadOnly);

  sheet.prompts.ChooseSave(folder / "c.rom");
  sheet.Command(ID_FILE_SAVE_ROM_AS);
  EXPECT_EQ(romPath(), folder / "c.rom");
  EXPECT_EQ(TempFolder::ReadBytes(folder / "c.rom")[0x40], 'Y');
  EXPECT_EQ(rom::romModified, 0);
  EXPECT_EQ(rom::romLoaded, 1);
  EXPECT_EQ(sheet.prompts.messages().size(), 1u);
}

TEST_F(SheetTest, CloseWithoutChangesEndsAtOnce) {
  for (const int command : {2, ID_APP_EXIT}) {
    FakeSheet other;
    other.Start();
    other.Command(command);
    EXPECT_TRUE(other.ended()) << command;
    EXPECT_TRUE(other.prompts.messages().empty()) << command;
  }
}

TEST_F(SheetTest, EveryCloseAsksAndEndsOnlyAfterNoOrASave) {
  struct Case {
    Answer answer;
    std::optional<std::string> saveAs;  // the Save As dialog's choice after Yes
    bool ends;
  };
  const Case cases[] = {{Answer::kNo, std::nullopt, true},
                        {Answer::kCancel, std::nullopt, false},
                        {Answer::kYes, "saved.rom", true},
                        {Answer::kYes, std::nullopt, false},
                        {Answer::kYes, "missing/x.rom", false}};
  for (const int command : {2, ID_APP_EXIT}) {
    for (const Case& c : cases) {
      const std::string label = std::to_string(command) + "/" + std::to_string(static_cast<int>(c.answer)) + "/" +
                                c.saveAs.value_or("cancel");
      rom::ResetRomState();
      FakeSheet other;
      other.Start();
      OpenAndApply(other, a);
      other.prompts.ClearRecords();
      other.prompts.Answer(c.answer);
      if (c.answer == Answer::kYes) {
        other.prompts.ChooseSave(c.saveAs ? std::optional<fs::path>(folder / *c.saveAs) : std::nullopt);
      }
      other.Command(command);
      ASSERT_FALSE(other.prompts.messages().empty()) << label;
      EXPECT_EQ(other.prompts.messages()[0].text, kExitQuestion) << label;
      EXPECT_EQ(other.prompts.messages()[0].caption, "Message Prompt") << label;
      EXPECT_EQ(other.prompts.messages()[0].buttons, ui::Buttons::kYesNoCancel) << label;
      EXPECT_EQ(other.ended(), c.ends) << label;
      if (!c.ends) {
        EXPECT_EQ(other.ActivePageIndex(), 0) << label;
      }
      if (c.saveAs == "saved.rom") {
        EXPECT_EQ(TempFolder::ReadBytes(folder / "saved.rom")[0x40], 'Z') << label;
      }
      EXPECT_TRUE(other.prompts.Exhausted()) << label;
      EXPECT_NE(TempFolder::ReadBytes(a)[0x40], 'Z') << label << ": only Save As may write";
    }
  }
}

TEST_F(SheetTest, ApplyStoresOnlyTheActivePage) {
  OpenAndApply(sheet, a, "F");
  sheet.SetActivePage(3);
  sheet.activeControls().Type(IDC_SIGN_ON_TEXT, "NOT APPLIED");
  sheet.SetActivePage(kSignaturePage);
  sheet.activeControls().Type(2, "q");
  sheet.Command(1);
  Bytes expected = TempFolder::ReadBytes(a);
  expected[0x41] = 'q';
  EXPECT_EQ(Image(), expected);
  EXPECT_EQ(sheet.activeControls().GetText(2), "Q") << "the page reloads after Apply";
  EXPECT_EQ(rom::romModified, 1);
}

TEST_F(SheetTest, ApplyWithoutImageStoresNothingUnlessItsOpenLoadsOne) {
  sheet.prompts.ChooseOpen(std::nullopt);
  sheet.SetActivePage(kSignaturePage);
  sheet.activeControls().Type(1, "Z");
  TempFolder::WriteBytes(folder / "swapped.rom", {0xAA, 0x55});
  for (const std::optional<fs::path>& choice :
       {std::optional<fs::path>(), std::optional<fs::path>(folder / "swapped.rom")}) {
    sheet.prompts.ChooseOpen(choice);
    sheet.Command(1);
    EXPECT_EQ(rom::romModified, 0);
    EXPECT_EQ(rom::romLoaded, 0);
    EXPECT_EQ(Image(), Bytes(rom::kRomSize, 0));
  }
  EXPECT_EQ(sheet.prompts.openDialogs().size(), 3u);

  sheet.prompts.ChooseOpen(a);
  sheet.Command(1);
  EXPECT_EQ(rom::romModified, 1);
  EXPECT_EQ(romPath(), a);
  EXPECT_EQ(Image(), TempFolder::ReadBytes(a)) << "the Open reloaded the page before the store";
  EXPECT_EQ(FirstBox(), "F");
}

}  // namespace
