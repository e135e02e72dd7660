#include "pages/modes/CParameterTable.h"

#include "res/resource.h"

CParameterTable::CParameterTable() : ui::PropertyPage(IDD_PARAMETER_TABLE, "Parameter Table") {}

void CParameterTable::ExchangeFields(ui::DataExchange& /*dx*/) {}

void CParameterTable::LoadFromImage() {}

void CParameterTable::StoreToImage() {}

void CParameterTable::OnPageActivate() {
  if (ImageLoaded()) LoadFromImage();
}
