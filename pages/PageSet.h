#pragma once
// The editor's six pages, in tab order: what the window and the command line both show.

#include "pages/fonts/CFontImage.h"
#include "pages/identity/COEMConfigTable.h"
#include "pages/identity/CSubVendorID.h"
#include "pages/identity/CVendorIDParam.h"
#include "pages/identity/CVendorSignOnStr.h"
#include "pages/modes/CParameterTable.h"
#include "ui/PropertyPage.h"

class CPageSet {
 public:
  static constexpr int kPageCount = 6;
  // The tab index of each page.
  enum Index { kParameterTable, kSubVendorId, kRomSignature, kSignOnString, kMemoryConfig, kFontImages };

  // The page of tab `index` (0 Parameter Table .. 5 Font Images).
  ui::PropertyPage& Page(int index);
  // The same page, as the bytes its controls show.
  const CShownBytes& ShownBytesOf(int index);

  CParameterTable& parameterTable() { return m_parameterTable; }
  CSubVendorID& subVendorId() { return m_subVendorId; }
  CVendorIDParam& romSignature() { return m_romSignature; }
  CVendorSignOnStr& signOnString() { return m_signOnString; }
  COEMConfigTable& memoryConfig() { return m_memoryConfig; }
  CFontImage& fontImages() { return m_fontImages; }

 private:
  // Declared in this order; shown in tab order.
  CFontImage m_fontImages;
  CParameterTable m_parameterTable;
  CVendorIDParam m_romSignature;
  CSubVendorID m_subVendorId;
  CVendorSignOnStr m_signOnString;
  COEMConfigTable m_memoryConfig;
};
