#pragma once
// The main window's logic: the six pages, the current file and every file command.

#include <filesystem>
#include <string>

#include "pages/fonts/CFontImage.h"
#include "pages/identity/COEMConfigTable.h"
#include "pages/identity/CSubVendorID.h"
#include "pages/identity/CVendorIDParam.h"
#include "pages/identity/CVendorSignOnStr.h"
#include "pages/modes/CParameterTable.h"
#include "ui/PageHost.h"
#include "ui/Prompts.h"
#include "ui/PropertyPage.h"
#include "ui/SheetWindow.h"

inline constexpr const char* kSheetCaption = "Ombrix BIOS Editor";

class CPropertySheetCrtl : public ui::PageHost {
 public:
  static constexpr int kPageCount = 6;

  CPropertySheetCrtl();

  // The page of tab `index` (0 Parameter Table .. 5 Font Images).
  ui::PropertyPage& Page(int index);

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
  CParameterTable& parameterTable() { return m_parameterTable; }
  CSubVendorID& subVendorId() { return m_subVendorId; }
  CVendorIDParam& romSignature() { return m_romSignature; }
  CVendorSignOnStr& signOnString() { return m_signOnString; }
  COEMConfigTable& memoryConfig() { return m_memoryConfig; }
  CFontImage& fontImages() { return m_fontImages; }

 private:
  ui::FileDialog RomFileDialog() const;
  ui::Answer Ask(const std::string& text, ui::Buttons buttons);
  void FileError(const std::string& text);
  bool SaveTo(const std::filesystem::path& path, const char* failure);
  ui::PropertyPage* ActivePage();

  // Declared in this order; added to the sheet in tab order.
  CFontImage m_fontImages;
  CParameterTable m_parameterTable;
  CVendorIDParam m_romSignature;
  CSubVendorID m_subVendorId;
  CVendorSignOnStr m_signOnString;
  COEMConfigTable m_memoryConfig;

  std::filesystem::path romPath_;
  ui::SheetWindow* window_ = nullptr;
  ui::Prompts* prompts_ = nullptr;
};
