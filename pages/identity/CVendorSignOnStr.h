#pragma once
// The Sign-on String page: the text the video BIOS prints at boot.

#include "ui/PropertyPage.h"

class CVendorSignOnStr : public ui::PropertyPage {
 public:
  CVendorSignOnStr();

  void LoadFromImage() override;
  void StoreToImage() override;

 protected:
  void ExchangeFields(ui::DataExchange& dx) override;
};
