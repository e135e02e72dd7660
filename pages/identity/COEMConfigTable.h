#pragma once
// The Memory Configuration page: nine 32-bit initialisation registers.

#include "ui/PropertyPage.h"

class COEMConfigTable : public ui::PropertyPage {
 public:
  COEMConfigTable();

  void LoadFromImage() override;
  void StoreToImage() override;

 protected:
  void ExchangeFields(ui::DataExchange& dx) override;
};
