#include "pages/identity/CVendorSignOnStr.h"

#include "res/resource.h"

CVendorSignOnStr::CVendorSignOnStr() : ui::PropertyPage(IDD_SIGN_ON_STRING, "Sign-on String") {}

void CVendorSignOnStr::ExchangeFields(ui::DataExchange& /*dx*/) {}

void CVendorSignOnStr::LoadFromImage() {}

void CVendorSignOnStr::StoreToImage() {}
