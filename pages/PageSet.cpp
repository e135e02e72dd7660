#include "pages/PageSet.h"

ui::PropertyPage& CPageSet::Page(int index) {
  switch (index) {
    case kParameterTable: return m_parameterTable;
    case kSubVendorId: return m_subVendorId;
    case kRomSignature: return m_romSignature;
    case kSignOnString: return m_signOnString;
    case kMemoryConfig: return m_memoryConfig;
    default: return m_fontImages;
  }
}

const CShownBytes& CPageSet::ShownBytesOf(int index) {
  // Every page of the set tells which bytes its controls show.
  return dynamic_cast<const CShownBytes&>(Page(index));
}
