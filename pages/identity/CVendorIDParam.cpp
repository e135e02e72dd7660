#include "pages/identity/CVendorIDParam.h"

#include <cstdint>

#include "res/resource.h"
#include "rom/RomImage.h"
#include "rom/RomLayout.h"
#include "rom/ValueText.h"

namespace {

constexpr int kPositions = static_cast<int>(rom::kSignatureTextLength);

// The character a byte shows as: lower-case letters in upper case, 0x00 as nothing.
std::string ShownText(std::uint8_t b) {
  if (b == 0) return {};
  if (b >= 'a' && b <= 'z') b = static_cast<std::uint8_t>(b - 0x20);
  return std::string(1, static_cast<char>(b));
}

std::uint32_t OffsetOf(int position) {
  return rom::kSignatureTextOffset + static_cast<std::uint32_t>(position) - 1;
}

}  // namespace

CVendorIDParam::CVendorIDParam() : ui::PropertyPage(IDD_ROM_SIGNATURE, "ROM Signature") {}

void CVendorIDParam::ExchangeFields(ui::DataExchange& dx) {
  for (int id = 1; id <= 2 * kPositions; ++id)
    dx.Text(id, m_strEdit[static_cast<std::size_t>(id)], id <= kPositions ? 1 : 2);
}

void CVendorIDParam::LoadFromImage() {
  for (int k = 1; k <= kPositions; ++k) {
    const std::uint8_t b = rom::RomImage.Byte(OffsetOf(k));
    m_strEdit[static_cast<std::size_t>(k)] = ShownText(b);
    m_strEdit[static_cast<std::size_t>(kPositions + k)] = rom::HexText(b, 2);
  }
  UpdateData(false);
}

void CVendorIDParam::StoreToImage() {
  if (m_bActivated == 0) return;
  UpdateData(true);
  for (int k = 1; k <= kPositions; ++k) {
    const std::string& ascii = m_strEdit[static_cast<std::size_t>(k)];
    if (ascii.empty()) continue;
    const std::uint32_t offset = OffsetOf(k);
    const std::uint8_t b = rom::RomImage.Byte(offset);
    if (ascii[0] == ShownText(b)[0]) {
      const std::uint16_t hex = rom::HexTextToWord(m_strEdit[static_cast<std::size_t>(kPositions + k)]);
      rom::RomImage.SetByte(offset, static_cast<std::uint8_t>(hex & 0xFF));
    } else {
      rom::RomImage.SetByte(offset, static_cast<std::uint8_t>(ascii[0]));
    }
  }
}

std::optional<rom::ByteSpan> CVendorIDParam::ShownBytes(int controlId) const {
  if (controlId < 1 || controlId > 2 * kPositions) return std::nullopt;
  return rom::ByteSpan{OffsetOf((controlId - 1) % kPositions + 1), 1};
}
