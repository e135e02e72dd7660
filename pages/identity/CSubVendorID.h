#pragma once
// The Sub Vendor ID page: the PCI subsystem vendor and device IDs.

#include "ui/PropertyPage.h"

class CSubVendorID : public ui::PropertyPage {
 public:
  CSubVendorID();

  void LoadFromImage() override;
  void StoreToImage() override;

 protected:
  void ExchangeFields(ui::DataExchange& dx) override;
};
