#pragma once
// The Font Images page: one glyph of one of the five fonts.

#include "ui/PropertyPage.h"

class CFontImage : public ui::PropertyPage {
 public:
  CFontImage();

  void LoadFromImage() override;
  void StoreToImage() override;

 protected:
  void ExchangeFields(ui::DataExchange& dx) override;
};
