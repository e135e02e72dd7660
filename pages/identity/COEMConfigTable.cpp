#include "pages/identity/COEMConfigTable.h"

#include <cstdint>

#include "res/resource.h"
#include "rom/RomImage.h"
#include "rom/RomLayout.h"
#include "rom/ValueText.h"

namespace {

std::uint32_t OffsetOf(const rom::Located& record, std::size_t index) {
  return record.offset + 4 * static_cast<std::uint32_t>(index);
}

}  // namespace

COEMConfigTable::COEMConfigTable() : ui::PropertyPage(IDD_MEMORY_CONFIG, "Memory Configuration") {}

void COEMConfigTable::ExchangeFields(ui::DataExchange& dx) {
  for (std::size_t i = 0; i < m_strReg.size(); ++i) dx.Text(IDC_MEMORY_REG_FIRST + static_cast<int>(i), m_strReg[i], 8);
}

void COEMConfigTable::LoadFromImage() {
  if (m_bKeepTypedText) {
    m_bKeepTypedText = false;
    return;
  }
  const rom::Located record = rom::MemoryConfigRecord();
  m_recordOffset.reset();
  if (!record) {
    // Nothing of the last image stays on show, and nothing of this one is read.
    for (std::string& reg : m_strReg) reg.clear();
    UpdateData(false);
    ShowError(record.error);
    return;
  }
  for (std::size_t i = 0; i < m_strReg.size(); ++i) {
    const std::uint32_t r = OffsetOf(record, i);
    m_strReg[i] = rom::HexText(rom::ReadWordLE(r + 2, r + 3), 4) + rom::HexText(rom::ReadWordLE(r, r + 1), 4);
  }
  m_recordOffset = record.offset;
  UpdateData(false);
}

void COEMConfigTable::StoreToImage() {
  UpdateData(true);
  const rom::Located record = rom::MemoryConfigRecord();
  if (!record) {
    ShowError(record.error);
    m_bKeepTypedText = true;
    return;
  }
  for (std::size_t i = 0; i < m_strReg.size(); ++i) {
    int invalid = 0;
    const auto v =
        static_cast<std::uint32_t>(rom::HexTextToInt(m_strReg[i], static_cast<int>(m_strReg[i].size()), invalid));
    const std::uint32_t r = OffsetOf(record, i);
    rom::RomImage.SetWord(r, static_cast<std::uint16_t>(v & 0xFFFF));
    rom::RomImage.SetWord(r + 2, static_cast<std::uint16_t>(v >> 16));
  }
}

std::optional<rom::ByteSpan> COEMConfigTable::ShownBytes(int controlId) const {
  const int i = controlId - IDC_MEMORY_REG_FIRST;
  if (!m_recordOffset || i < 0 || i >= kRegisterCount) return std::nullopt;
  return rom::ByteSpan{*m_recordOffset + 4 * static_cast<std::uint32_t>(i), 4};
}
