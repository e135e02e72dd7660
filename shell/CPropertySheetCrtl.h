#pragma once
// The main window's logic: the six pages, the current file and every file command.

#include <filesystem>
#include <string>

#include "pages/PageSet.h"
#include "ui/PageHost.h"
#include "ui/Prompts.h"
#include "ui/PropertyPage.h"
#include "ui/SheetWindow.h"

inline constexpr const char* kSheetCaption = "Ombrix BIOS Editor";

class CPropertySheetCrtl : public ui::PageHost {
 public:
  static constexpr int kPageCount = CPageSet::kPageCount;

  CPropertySheetCrtl();

  // The page of tab `index` (0 Parameter Table .. 5 Font Images).
  ui::PropertyPage& Page(int index) { return m_pages.Page(index); }

  // Connects the logic to its window and its message boxes.
  void Attach(ui::SheetWindow& window, ui::Prompts& prompts);

  // A menu command or button; false when the id is not the sheet's.
  bool OnCommand(int id);

  void OnApplyButton();
  // Every way of closing the window ends here: the "&Close" button, the close
  // box, the system menu, Alt+F4 and File > Exit.
  void OnCloseButton();
  void OnOpenRom();
  bool OnSaveRom();
  bool OnSaveRomAs();

  const std::filesystem::path& romPath() const { return romPath_; }

  // ui::PageHost
  bool ImageLoaded() const override;
  void OpenImage() override { OnOpenRom(); }
  ui::Prompts& prompts() override { return *prompts_; }

  // The pages by their own type, for the tests.
  CParameterTable& parameterTable() { return m_pages.parameterTable(); }
  CSubVendorID& subVendorId() { return m_pages.subVendorId(); }
  CVendorIDParam& romSignature() { return m_pages.romSignature(); }
  CVendorSignOnStr& signOnString() { return m_pages.signOnString(); }
  COEMConfigTable& memoryConfig() { return m_pages.memoryConfig(); }
  CFontImage& fontImages() { return m_pages.fontImages(); }

 private:
  ui::FileDialog RomFileDialog() const;
  ui::Answer Ask(const std::string& text, ui::Buttons buttons);
  void FileError(const std::string& text);
  bool SaveTo(const std::filesystem::path& path, const char* failure);
  ui::PropertyPage* ActivePage();

  CPageSet m_pages;

  std::filesystem::path romPath_;
  ui::SheetWindow* window_ = nullptr;
  ui::Prompts* prompts_ = nullptr;
};
