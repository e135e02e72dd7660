#pragma once
// The Sub Vendor ID page: the PCI subsystem vendor and device IDs.

#include <string>

#include "pages/ShownBytes.h"
#include "ui/PropertyPage.h"

class CSubVendorID : public ui::PropertyPage, public CShownBytes {
 public:
  CSubVendorID();

  void LoadFromImage() override;
  void StoreToImage() override;
  void OnListCloseUp(int listId) override;
  std::optional<rom::ByteSpan> ShownBytes(int controlId) const override;

 protected:
  void ExchangeFields(ui::DataExchange& dx) override;
  void InitControls() override;

 private:
  std::string m_strIdKind = "Vendor ID";
  std::string m_strId;
  // The list entry whose ID the box shows. The list can change with the
  // keyboard while it stays closed, which reloads nothing; Apply must still
  // write the box back to the ID it came from.
  std::string m_strLoadedKind;
};
