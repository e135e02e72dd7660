#pragma once
// The ROM Signature page: the 16 bytes at 0x40..0x4F as characters and as hex.

#include <array>
#include <string>

#include "pages/ShownBytes.h"
#include "ui/PropertyPage.h"

class CVendorIDParam : public ui::PropertyPage, public CShownBytes {
 public:
  CVendorIDParam();

  void LoadFromImage() override;
  void StoreToImage() override;
  std::optional<rom::ByteSpan> ShownBytes(int controlId) const override;

  int m_bActivated = 0;

 protected:
  void ExchangeFields(ui::DataExchange& dx) override;
  void OnShownWithImage() override { m_bActivated = 1; }

 private:
  // Indexed by control id: 1..16 the ASCII boxes, 17..32 the HEX boxes.
  std::array<std::string, 33> m_strEdit;
};
