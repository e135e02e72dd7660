#include "pages/fonts/CFontImage.h"

#include "res/resource.h"

CFontImage::CFontImage() : ui::PropertyPage(IDD_FONT_IMAGES, "Font Images") {}

void CFontImage::ExchangeFields(ui::DataExchange& /*dx*/) {}

void CFontImage::LoadFromImage() {}

void CFontImage::StoreToImage() {}
