#include "pages/identity/COEMConfigTable.h"

#include "res/resource.h"

COEMConfigTable::COEMConfigTable() : ui::PropertyPage(IDD_MEMORY_CONFIG, "Memory Configuration") {}

void COEMConfigTable::ExchangeFields(ui::DataExchange& /*dx*/) {}

void COEMConfigTable::LoadFromImage() {}

void COEMConfigTable::StoreToImage() {}
