// The sheet's file commands, Apply and Close with scripted answers, on real files.
#include "tests/support/PageTest.h"

namespace {

namespace fs = std::filesystem;
using testing_support::Bytes;
using testing_support::ImageBytes;
using testing_support::PageTest;
using testing_support::RomBuilder;
using testing_support::TempFolder;
using ui::Answer;

constexpr const char* kFilter = "VGA BIOS ROM Image (*.rom)|*.rom|All Files (*.*)|*.*||";
constexpr const char* kExitQuestion = "Data has been modified.  Save data before exiting?";
constexpr const char* kOpenQuestion = "Current File Data has been modified.  Save data before open another files?";

// A file dialog's settings in one line, to compare at a glance.
std::string Settings(const ui::FileDialog& d) {
  return d.filter + " " + d.defaultExtension + " " + ui::PathText(d.initialName) +
         (d.fileMustExist ? " fileMustExist" : "") + (d.pathMustExist ? " pathMustExist" : "") +
         (d.promptOverwrite ? " promptOverwrite" : "") + (d.hideReadOnly ? " hideReadOnly" : "");
}

// Drives the sheet from the ROM Signature page, whose first box holds the first byte of a file.
class SheetTest : public PageTest {
 protected:
  SheetTest() : PageTest(2) {}
  void SetUp() override {
    PageTest::SetUp();
    Start();
    a = Write(RomBuilder().SignatureText("FIRST"), "a.rom");
    b = Write(RomBuilder().SignatureText("SECOND"), "b.rom");
  }
  // A new program run: Open `a` from the ROM Signature page, type `first` into its first box, Apply.
  void OpenAndApply(const std::string& first = "Z") {
    rom::ResetRomState();
    Start();
    sheet->prompts.ChooseOpen(a);
    sheet->SetActivePage(2);
    Type(1, first);
    Apply();
    sheet->prompts.ClearRecords();
  }
  // The last box shown, exactly as the user saw it.
  void ExpectLastMessage(const std::string& text, const std::string& caption, ui::Buttons buttons) {
    ASSERT_FALSE(sheet->prompts.messages().empty());
    const auto& shown = sheet->prompts.messages().back();
    EXPECT_EQ(shown.text, text);
    EXPECT_EQ(shown.caption, caption);
    EXPECT_EQ(shown.buttons, buttons);
    EXPECT_EQ(shown.icon, ui::Icon::kNone);
  }
  std::string FirstBox() { return Text(1); }
  const fs::path& romPath() { return sheet->sheet.romPath(); }

  fs::path a, b;
};

TEST_F(SheetTest, OpenLoadsTheFileIntoTheActivePageAndKeepsRomModified) {
  sheet->prompts.ChooseOpen(a);
  sheet->SetActivePage(2);  // no image yet: the page runs Open
  ASSERT_EQ(sheet->prompts.openDialogs().size(), 1u);
  EXPECT_EQ(Settings(sheet->prompts.openDialogs()[0]), std::string(kFilter) + " rom *.rom fileMustExist hideReadOnly");
  EXPECT_EQ(ImageBytes(), TempFolder::ReadBytes(a));
  EXPECT_EQ(romPath(), a);
  EXPECT_EQ(rom::romLoaded, 1);
  EXPECT_EQ(rom::romModified, 0);
  EXPECT_EQ(FirstBox(), "F");

  Apply();
  sheet->prompts.Answer(Answer::kNo);
  Open(b);
  ExpectLastMessage(kOpenQuestion, "Message Prompt", ui::Buttons::kYesNo);
  EXPECT_EQ(FirstBox(), "S") << "the active page shows the new image";
  EXPECT_EQ(romPath(), b);
  EXPECT_EQ(rom::romModified, 1) << "a file opened after answering No still counts as modified";
  EXPECT_TRUE(sheet->prompts.saveDialogs().empty());
}

TEST_F(SheetTest, RejectedOrCancelledOpenChangesNothingSoSaveKeepsToTheOldFile) {
  OpenAndApply();
  const Bytes image = ImageBytes();
  TempFolder::WriteBytes(folder / "swapped.rom", {0xAA, 0x55, 'X', 'Y'});
  for (const char* name : {"swapped.rom", "missing.rom", ""}) {  // "": the dialog is cancelled
    sheet->prompts.Answer(Answer::kNo);
    if (*name) {
      Open(folder / name);
      ExpectLastMessage("The file " + ui::PathText(folder / name) + " is not a valid Ombrix VGA BIOS ROM image.",
                        "File Error Message", ui::Buttons::kOk);
    } else {
      Open(std::nullopt);
    }
    EXPECT_EQ(ImageBytes(), image) << name;
    EXPECT_EQ(romPath(), a) << name;
    EXPECT_EQ(rom::romLoaded, 1) << name;
    EXPECT_EQ(rom::romModified, 1) << name;
    EXPECT_EQ(FirstBox(), "Z") << name;
  }
  sheet->Command(ID_FILE_SAVE_ROM);
  EXPECT_EQ(TempFolder::ReadBytes(folder / "swapped.rom"), (Bytes{0xAA, 0x55, 'X', 'Y'}));
  EXPECT_EQ(TempFolder::ReadBytes(a)[0x40], 'Z');
  EXPECT_TRUE(sheet->prompts.Exhausted());
}

TEST_F(SheetTest, RejectedOrCancelledOpenWithoutImageLeavesNothingToSaveInto) {
  TempFolder::WriteBytes(folder / "swapped.rom", {0xAA, 0x55});
  Open(folder / "swapped.rom");
  Open(std::nullopt);
  EXPECT_EQ(rom::romLoaded, 0);
  EXPECT_TRUE(romPath().empty());
  sheet->prompts.ChooseSave(std::nullopt);  // with no path, Save asks for one like Save As
  sheet->Command(ID_FILE_SAVE_ROM);
  ASSERT_EQ(sheet->prompts.saveDialogs().size(), 1u);
  EXPECT_TRUE(sheet->prompts.saveDialogs()[0].promptOverwrite);
  EXPECT_EQ(TempFolder::ReadBytes(folder / "swapped.rom"), (Bytes{0xAA, 0x55}));
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"a.rom", "b.rom", "swapped.rom"}));
}

TEST_F(SheetTest, OpenQuestionAnsweredYesSavesFirstAndStopsWhenTheSaveDoesNot) {
  OpenAndApply();
  sheet->prompts.Answer(Answer::kYes);  // Save As cancelled: no open dialog
  sheet->prompts.ChooseSave(std::nullopt);
  sheet->Command(ID_FILE_OPEN_ROM);
  EXPECT_TRUE(sheet->prompts.openDialogs().empty());
  EXPECT_EQ(romPath(), a);
  EXPECT_EQ(rom::romModified, 1);

  const fs::path nowhere = folder / "missing" / "x.rom";  // Save As failed: the message, no open dialog
  sheet->prompts.Answer(Answer::kYes);
  sheet->prompts.ChooseSave(nowhere);
  sheet->Command(ID_FILE_OPEN_ROM);
  ExpectLastMessage("Error On File Save As!", "File Error Message", ui::Buttons::kOk);
  EXPECT_TRUE(sheet->prompts.openDialogs().empty());
  EXPECT_EQ(romPath(), nowhere) << "the path keeps the new name";
  EXPECT_EQ(rom::romModified, 1);

  sheet->prompts.Answer(Answer::kYes);  // Save As done: the open goes on
  sheet->prompts.ChooseSave(folder / "saved.rom");
  Open(b);
  EXPECT_EQ(TempFolder::ReadBytes(folder / "saved.rom").at(0x40), 'Z');
  EXPECT_EQ(romPath(), b);
  EXPECT_EQ(FirstBox(), "S");
  EXPECT_EQ(rom::romModified, 0);
  EXPECT_TRUE(sheet->prompts.Exhausted());
}

TEST_F(SheetTest, SaveAndSaveAsWriteOrReportAndKeepRomModified) {
  OpenAndApply();
  sheet->Command(ID_FILE_SAVE_ROM);
  EXPECT_TRUE(sheet->prompts.saveDialogs().empty()) << "Save with a path asks for none";
  EXPECT_EQ(TempFolder::ReadBytes(a), ImageBytes());
  EXPECT_EQ(rom::romModified, 0);

  fs::permissions(a, fs::perms::owner_read);
  Type(1, "Y");
  Apply();
  const Bytes before = TempFolder::ReadBytes(a);
  sheet->Command(ID_FILE_SAVE_ROM);
  ExpectLastMessage("Error On File Save!", "File Error Message", ui::Buttons::kOk);
  EXPECT_EQ(TempFolder::ReadBytes(a), before);
  EXPECT_EQ(rom::romModified, 1);

  sheet->prompts.ChooseSave(std::nullopt);
  sheet->Command(ID_FILE_SAVE_ROM_AS);
  EXPECT_EQ(romPath(), a);
  EXPECT_EQ(rom::romModified, 1);
  ASSERT_EQ(sheet->prompts.saveDialogs().size(), 1u);
  EXPECT_EQ(Settings(sheet->prompts.saveDialogs()[0]),
            std::string(kFilter) + " rom " + ui::PathText(a) + " pathMustExist promptOverwrite hideReadOnly");

  sheet->prompts.ChooseSave(folder / "c.rom");
  sheet->Command(ID_FILE_SAVE_ROM_AS);
  EXPECT_EQ(romPath(), folder / "c.rom");
  EXPECT_EQ(TempFolder::ReadBytes(folder / "c.rom")[0x40], 'Y');
  EXPECT_EQ(rom::romModified, 0);
  EXPECT_EQ(rom::romLoaded, 1);
  EXPECT_EQ(sheet->prompts.messages().size(), 1u);
}

TEST_F(SheetTest, CloseWithoutChangesEndsAtOnce) {
  for (const int command : {2, ID_APP_EXIT}) {
    Start();
    sheet->Command(command);
    EXPECT_TRUE(sheet->ended()) << command;
    EXPECT_TRUE(Messages().empty()) << command;
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
      OpenAndApply();
      sheet->prompts.Answer(c.answer);
      if (c.answer == Answer::kYes) {
        sheet->prompts.ChooseSave(c.saveAs ? std::optional<fs::path>(folder / *c.saveAs) : std::nullopt);
      }
      sheet->Command(command);
      ASSERT_FALSE(sheet->prompts.messages().empty()) << label;
      EXPECT_EQ(sheet->prompts.messages()[0].text, kExitQuestion) << label;
      EXPECT_EQ(sheet->prompts.messages()[0].caption, "Message Prompt") << label;
      EXPECT_EQ(sheet->prompts.messages()[0].buttons, ui::Buttons::kYesNoCancel) << label;
      EXPECT_EQ(sheet->ended(), c.ends) << label;
      EXPECT_TRUE(c.ends || sheet->ActivePageIndex() == 0) << label << ": a kept window shows page 0";
      EXPECT_TRUE(c.saveAs != "saved.rom" || TempFolder::ReadBytes(folder / "saved.rom")[0x40] == 'Z') << label;
      EXPECT_TRUE(sheet->prompts.Exhausted()) << label;
      EXPECT_NE(TempFolder::ReadBytes(a)[0x40], 'Z') << label << ": only Save As may write";
    }
  }
}

TEST_F(SheetTest, ApplyStoresOnlyTheActivePage) {
  OpenAndApply("F");
  sheet->SetActivePage(3);
  sheet->activeControls().Type(IDC_SIGN_ON_TEXT, "NOT APPLIED");
  sheet->SetActivePage(2);
  Type(2, "q");
  Apply();
  Bytes expected = TempFolder::ReadBytes(a);
  expected[0x41] = 'q';
  EXPECT_EQ(ImageBytes(), expected);
  EXPECT_EQ(Text(2), "Q") << "the page reloads after Apply";
  EXPECT_EQ(rom::romModified, 1);
}

TEST_F(SheetTest, ApplyWithoutImageStoresNothingUnlessItsOpenLoadsOne) {
  sheet->prompts.ChooseOpen(std::nullopt);
  sheet->SetActivePage(2);
  Type(1, "Z");
  TempFolder::WriteBytes(folder / "swapped.rom", {0xAA, 0x55});
  for (const std::optional<fs::path>& choice :
       {std::optional<fs::path>(), std::optional<fs::path>(folder / "swapped.rom")}) {
    sheet->prompts.ChooseOpen(choice);
    Apply();
    EXPECT_EQ(rom::romModified, 0);
    EXPECT_EQ(rom::romLoaded, 0);
    EXPECT_EQ(ImageBytes(), Bytes(rom::kRomSize, 0));
  }
  EXPECT_EQ(sheet->prompts.openDialogs().size(), 3u);

  sheet->prompts.ChooseOpen(a);
  Apply();
  EXPECT_EQ(rom::romModified, 1);
  EXPECT_EQ(romPath(), a);
  EXPECT_EQ(ImageBytes(), TempFolder::ReadBytes(a)) << "the Open reloaded the page before the store";
  EXPECT_EQ(FirstBox(), "F");
}

}  // namespace
