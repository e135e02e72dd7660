#pragma once
// The Parameter Table page: the VGA parameter record of each video mode.

#include "ui/PropertyPage.h"

class CParameterTable : public ui::PropertyPage {
 public:
  CParameterTable();

  void LoadFromImage() override;
  void StoreToImage() override;

 protected:
  void ExchangeFields(ui::DataExchange& dx) override;
  // Unlike the other pages, this one never starts the Open command on activation.
  void OnPageActivate() override;
};
