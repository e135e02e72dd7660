#include "shell/CPropertySheetCrtl.h"

#include "res/resource.h"
#include "rom/RomFile.h"
#include "rom/RomImage.h"

namespace {
constexpr const char* kRomFilter = "VGA BIOS ROM Image (*.rom)|*.rom|All Files (*.*)|*.*||";
constexpr const char* kPromptCaption = "Message Prompt";
constexpr const char* kFileErrorCaption = "File Error Message";
}  // namespace

CPropertySheetCrtl::CPropertySheetCrtl() = default;

void CPropertySheetCrtl::Attach(ui::SheetWindow& window, ui::Prompts& prompts) {
  window_ = &window;
  prompts_ = &prompts;
}

bool CPropertySheetCrtl::ImageLoaded() const { return rom::romLoaded == 1; }

ui::PropertyPage* CPropertySheetCrtl::ActivePage() {
  const int index = window_->ActivePageIndex();
  if (index < 0 || index >= kPageCount) return nullptr;
  ui::PropertyPage& page = Page(index);
  return page.IsCreated() ? &page : nullptr;
}

bool CPropertySheetCrtl::OnCommand(int id) {
  switch (id) {
    case 1: OnApplyButton(); return true;
    case 2:
    case ID_APP_EXIT: OnCloseButton(); return true;
    case ID_FILE_OPEN_ROM: OnOpenRom(); return true;
    case ID_FILE_SAVE_ROM: OnSaveRom(); return true;
    case ID_FILE_SAVE_ROM_AS: OnSaveRomAs(); return true;
    default: return false;
  }
}

ui::Answer CPropertySheetCrtl::Ask(const std::string& text, ui::Buttons buttons) {
  return prompts_->Message(text, kPromptCaption, buttons, ui::Icon::kNone);
}

void CPropertySheetCrtl::FileError(const std::string& text) {
  prompts_->Message(text, kFileErrorCaption, ui::Buttons::kOk, ui::Icon::kNone);
}

ui::FileDialog CPropertySheetCrtl::RomFileDialog() const {
  ui::FileDialog dialog;
  dialog.filter = kRomFilter;
  dialog.defaultExtension = "rom";
  dialog.hideReadOnly = true;
  return dialog;
}

void CPropertySheetCrtl::OnApplyButton() {
  if (!ImageLoaded()) {
    OnOpenRom();
    // Without an image there is nothing to write into.
    if (!ImageLoaded()) return;
  }
  rom::romModified = 1;
  if (ui::PropertyPage* page = ActivePage()) {
    page->StoreToImage();
    page->LoadFromImage();
  }
}

void CPropertySheetCrtl::OnCloseButton() {
  if (rom::romModified == 1) {
    switch (Ask("Data has been modified.  Save data before exiting?", ui::Buttons::kYesNoCancel)) {
      case ui::Answer::kYes:
        if (OnSaveRomAs()) break;
        window_->SetActivePage(0);
        return;
      case ui::Answer::kNo:
        break;
      default:
        window_->SetActivePage(0);
        return;
    }
  }
  window_->End();
}

void CPropertySheetCrtl::OnOpenRom() {
  ui::FileDialog dialog = RomFileDialog();
  dialog.initialName = "*.rom";
  dialog.fileMustExist = true;
  if (rom::romModified == 1 &&
      Ask("Current File Data has been modified.  Save data before open another files?", ui::Buttons::kYesNo) ==
          ui::Answer::kYes &&
      !OnSaveRomAs()) {
    return;
  }
  const std::optional<std::filesystem::path> chosen = prompts_->OpenFile(dialog);
  if (!chosen) return;
  if (!rom::LoadRomFile(*chosen)) {
    FileError("The file " + ui::PathText(*chosen) + " is not a valid Ombrix VGA BIOS ROM image.");
    return;
  }
  romPath_ = *chosen;
  if (ui::PropertyPage* page = ActivePage()) page->OnImageOpened();
}

bool CPropertySheetCrtl::SaveTo(const std::filesystem::path& path, const char* failure) {
  if (rom::WriteRomFile(path)) return true;
  FileError(failure);
  return false;
}

bool CPropertySheetCrtl::OnSaveRom() {
  if (romPath_.empty()) return OnSaveRomAs();
  return SaveTo(romPath_, "Error On File Save!");
}

bool CPropertySheetCrtl::OnSaveRomAs() {
  ui::FileDialog dialog = RomFileDialog();
  dialog.initialName = romPath_;
  dialog.promptOverwrite = true;
  dialog.pathMustExist = true;
  const std::optional<std::filesystem::path> chosen = prompts_->SaveFile(dialog);
  if (!chosen) return false;
  romPath_ = *chosen;
  return SaveTo(romPath_, "Error On File Save As!");
}
