#pragma once
// The Memory Configuration page: nine 32-bit initialisation registers.

#include <array>
#include <optional>
#include <string>

#include "pages/ShownBytes.h"
#include "ui/PropertyPage.h"

class COEMConfigTable : public ui::PropertyPage, public CShownBytes {
 public:
  static constexpr int kRegisterCount = rom::kMemoryRegisterCount;

  COEMConfigTable();

  void LoadFromImage() override;
  void StoreToImage() override;
  std::optional<rom::ByteSpan> ShownBytes(int controlId) const override;

 protected:
  void ExchangeFields(ui::DataExchange& dx) override;
  void OnShownWithImage() override { m_bKeepTypedText = false; }

 private:
  // Entry i belongs to box 500 + i.
  std::array<std::string, kRegisterCount> m_strReg;
  // A refused Apply keeps the boxes through the reload that follows it, which
  // would only repeat the message.
  bool m_bKeepTypedText = false;
  // Where the registers on show were read.
  std::optional<std::uint32_t> m_recordOffset;
};
