// The sheet's file commands, Apply and Close with scripted answers, on real files.
#include "tests/support/PageTest.h"

namespace {

namespace fs = std::filesystem;
using namespace testing_support;
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
    EXPECT_EQ(shown.text + "|" + shown.caption, text + "|" + caption);
    EXPECT_EQ(shown.buttons, buttons);
    EXPECT_EQ(shown.icon, ui::Icon::kNone);
  }
  // Where the sheet stands: the file (inside the folder), romLoaded and romModified, the first box.
  std::string State() {
    return sheet->sheet.romPath().lexically_relative(folder / "").generic_string() + " " +
           std::to_string(rom::romLoaded) + std::to_string(rom::romModified) + " " + Text(1);
  }
  Bytes Read(const std::string& name) { return TempFolder::ReadBytes(folder / name); }

  fs::path a, b;
};

TEST_F(SheetTest, RejectedOrCancelledOpenChangesNothingSoSaveKeepsToTheOldFile) {
  OpenAndApply();
  const Bytes image = ImageBytes();
  TempFolder::WriteBytes(folder / "swapped.rom", {0xAA, 0x55, 'X', 'Y'});
  for (const char* name : {"swapped.rom", "missing.rom", ""}) {  // "": the dialog is cancelled
    sheet->prompts.Answer(Answer::kNo);
    Open(*name ? std::optional<fs::path>(folder / name) : std::nullopt);
    if (*name)
      ExpectLastMessage("The file " + ui::PathText(folder / name) + " is not a valid Ombrix VGA BIOS ROM image.",
                        "File Error Message", ui::Buttons::kOk);
    EXPECT_EQ(ImageBytes(), image) << name;
    EXPECT_EQ(State(), "a.rom 11 Z") << name;
  }
  sheet->Command(ID_FILE_SAVE_ROM);
  EXPECT_EQ(Read("swapped.rom"), (Bytes{0xAA, 0x55, 'X', 'Y'}));
  EXPECT_EQ(TempFolder::ReadBytes(a)[0x40], 'Z');

  // Without an image there is nothing to save into: Save asks for a path like Save As.
  rom::ResetRomState();
  Start();
  Open(folder / "swapped.rom");
  Open(std::nullopt);
  EXPECT_EQ(State(), " 00 ");
  sheet->prompts.ChooseSave(std::nullopt);
  sheet->Command(ID_FILE_SAVE_ROM);
  ASSERT_EQ(sheet->prompts.saveDialogs().size(), 1u);
  EXPECT_TRUE(sheet->prompts.saveDialogs()[0].promptOverwrite);
  EXPECT_EQ(Read("swapped.rom"), (Bytes{0xAA, 0x55, 'X', 'Y'}));
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"a.rom", "b.rom", "swapped.rom"}));
}

TEST_F(SheetTest, OpenQuestionAnsweredYesSavesFirstAndStopsWhenTheSaveDoesNot) {
  OpenAndApply();
  const struct {
    std::optional<std::string> saveAs;
    const char* message;  // "" for none
    std::string state;
  } cases[] = {{std::nullopt, "", "a.rom 11 Z"},                                   // Save As cancelled: no open dialog
               {"missing/x.rom", "Error On File Save As!", "missing/x.rom 11 Z"},  // the path keeps the new name
               {"saved.rom", "", "b.rom 10 S"}};                                   // saved: the open goes on
  for (const auto& c : cases) {
    sheet->prompts.Answer(Answer::kYes);
    sheet->prompts.ChooseSave(c.saveAs ? std::optional<fs::path>(folder / *c.saveAs) : std::nullopt);
    if (c.saveAs == "saved.rom") sheet->prompts.ChooseOpen(b);
    sheet->Command(ID_FILE_OPEN_ROM);
    if (*c.message) ExpectLastMessage(c.message, "File Error Message", ui::Buttons::kOk);
    EXPECT_EQ(sheet->prompts.openDialogs().size(), c.saveAs == "saved.rom" ? 1u : 0u);
    EXPECT_EQ(State(), c.state);
  }
  EXPECT_EQ(Read("saved.rom").at(0x40), 'Z');
}

TEST_F(SheetTest, SaveAndSaveAsWriteOrReportAndKeepRomModified) {
  OpenAndApply();
  sheet->Command(ID_FILE_SAVE_ROM);
  EXPECT_TRUE(sheet->prompts.saveDialogs().empty()) << "Save with a path asks for none";
  EXPECT_EQ(TempFolder::ReadBytes(a), ImageBytes());
  EXPECT_EQ(State(), "a.rom 10 Z");

  Type(1, "Y");
  Apply();
  fs::permissions(a, fs::perms::owner_read);  // a failed save: one message, the file as it was, the edit unsaved
  sheet->Command(ID_FILE_SAVE_ROM);
  ExpectLastMessage("Error On File Save!", "File Error Message", ui::Buttons::kOk);
  EXPECT_EQ(Read("a.rom")[0x40], 'Z');
  sheet->prompts.ChooseSave(std::nullopt);
  sheet->Command(ID_FILE_SAVE_ROM_AS);
  EXPECT_EQ(State(), "a.rom 11 Y");
  ASSERT_EQ(sheet->prompts.saveDialogs().size(), 1u);
  EXPECT_EQ(Settings(sheet->prompts.saveDialogs()[0]),
            std::string(kFilter) + " rom " + ui::PathText(a) + " pathMustExist promptOverwrite hideReadOnly");

  sheet->prompts.ChooseSave(folder / "c.rom");
  sheet->Command(ID_FILE_SAVE_ROM_AS);
  EXPECT_EQ(State(), "c.rom 10 Y");
  EXPECT_EQ(Read("c.rom")[0x40], 'Y');
  EXPECT_EQ(Messages().size(), 1u);
}

// File > Save of an image opened through a link writes the file it leads to and keeps the link; once the file has
// gone, the link leads nowhere: the save says so and makes no file, and the edit stays unsaved.
TEST_F(SheetTest, SaveThroughALinkWritesTheFileItLeadsToOrNothing) {
  fs::create_symlink("a.rom", folder / "current.rom");
  rom::ResetRomState();
  Start();
  sheet->prompts.ChooseOpen(folder / "current.rom");
  sheet->SetActivePage(2);
  Type(1, "L");
  Apply();
  sheet->Command(ID_FILE_SAVE_ROM);
  EXPECT_EQ(Read("a.rom")[0x40], 'L');
  EXPECT_EQ(State(), "current.rom 10 L");

  fs::rename(a, folder / "moved.rom");
  const std::vector<std::string> tree = folder.Tree();
  Type(1, "M");
  Apply();
  sheet->Command(ID_FILE_SAVE_ROM);
  ExpectLastMessage("Error On File Save!", "File Error Message", ui::Buttons::kOk);
  EXPECT_EQ(folder.Tree(), tree);
  EXPECT_EQ(State(), "current.rom 11 M");
}

TEST_F(SheetTest, CloseEndsAtOnceWithoutChangesElseAsksAndEndsOnlyAfterNoOrASave) {
  struct Case {
    bool edited;
    Answer answer;
    std::optional<std::string> saveAs;  // the Save As dialog's choice after Yes
    bool ends;
  };
  const Case cases[] = {{false, Answer::kNo, std::nullopt, true},     {true, Answer::kNo, std::nullopt, true},
                        {true, Answer::kCancel, std::nullopt, false}, {true, Answer::kYes, "saved.rom", true},
                        {true, Answer::kYes, std::nullopt, false},    {true, Answer::kYes, "missing/x.rom", false}};
  for (const int command : {2, ID_APP_EXIT}) {
    for (const Case& c : cases) {
      const std::string label = std::to_string(command) + "/" + std::to_string(c.edited) + "/" +
                                std::to_string(static_cast<int>(c.answer)) + "/" + c.saveAs.value_or("cancel");
      if (c.edited) {
        OpenAndApply();
        sheet->prompts.Answer(c.answer);
        if (c.answer == Answer::kYes)
          sheet->prompts.ChooseSave(c.saveAs ? std::optional<fs::path>(folder / *c.saveAs) : std::nullopt);
      } else {
        rom::ResetRomState();
        Start();
      }
      sheet->Command(command);
      EXPECT_EQ(sheet->ended(), c.ends) << label;
      EXPECT_TRUE(sheet->prompts.Exhausted()) << label;
      if (!c.edited) {
        EXPECT_TRUE(Messages().empty()) << label;
        continue;
      }
      ASSERT_FALSE(sheet->prompts.messages().empty()) << label;
      EXPECT_EQ(sheet->prompts.messages()[0].text + "|" + sheet->prompts.messages()[0].caption,
                std::string(kExitQuestion) + "|Message Prompt")
          << label;
      EXPECT_EQ(sheet->prompts.messages()[0].buttons, ui::Buttons::kYesNoCancel) << label;
      EXPECT_TRUE(c.ends || sheet->ActivePageIndex() == 0) << label << ": a kept window shows page 0";
      EXPECT_TRUE(c.saveAs != "saved.rom" || Read("saved.rom")[0x40] == 'Z') << label;
      EXPECT_NE(TempFolder::ReadBytes(a)[0x40], 'Z') << label << ": only Save As may write";
    }
  }
}

TEST_F(SheetTest, ApplyWithoutImageStoresOnlyOnceItsOpenLoadsOneThenOnlyTheActivePage) {
  sheet->prompts.ChooseOpen(std::nullopt);
  sheet->SetActivePage(2);  // no image yet: the page runs Open
  ASSERT_EQ(sheet->prompts.openDialogs().size(), 1u);
  EXPECT_EQ(Settings(sheet->prompts.openDialogs()[0]), std::string(kFilter) + " rom *.rom fileMustExist hideReadOnly");
  Type(1, "Z");
  TempFolder::WriteBytes(folder / "swapped.rom", {0xAA, 0x55});
  for (const std::optional<fs::path>& choice :
       {std::optional<fs::path>(), std::optional<fs::path>(folder / "swapped.rom")}) {
    sheet->prompts.ChooseOpen(choice);
    Apply();
    EXPECT_EQ(State(), " 00 Z");
    EXPECT_EQ(ImageBytes(), Bytes(rom::kRomSize, 0));
  }
  EXPECT_EQ(sheet->prompts.openDialogs().size(), 3u);
  sheet->prompts.ChooseOpen(a);
  Apply();
  EXPECT_EQ(State(), "a.rom 11 F") << "the Open reloaded the page before the store";
  EXPECT_EQ(ImageBytes(), TempFolder::ReadBytes(a));

  sheet->SetActivePage(3);
  sheet->activeControls().Type(IDC_SIGN_ON_TEXT, "NOT APPLIED");
  sheet->SetActivePage(2);
  Type(2, "q");
  Apply();
  Bytes expected = TempFolder::ReadBytes(a);
  expected[0x41] = 'q';
  EXPECT_EQ(ImageBytes(), expected);
  EXPECT_EQ(Text(2), "Q") << "the page reloads after Apply";

  sheet->prompts.Answer(Answer::kNo);  // an Open keeps romModified as it stands
  Open(b);
  ExpectLastMessage(kOpenQuestion, "Message Prompt", ui::Buttons::kYesNo);
  EXPECT_EQ(State(), "b.rom 11 S") << "the active page shows the new image, still counted as modified after No";
  EXPECT_TRUE(sheet->prompts.saveDialogs().empty());
}

}  // namespace
