#include "pages/identity/CSubVendorID.h"

#include "res/resource.h"

CSubVendorID::CSubVendorID() : ui::PropertyPage(IDD_SUB_VENDOR_ID, "Sub Vendor ID") {}

void CSubVendorID::ExchangeFields(ui::DataExchange& /*dx*/) {}

void CSubVendorID::LoadFromImage() {}

void CSubVendorID::StoreToImage() {}
