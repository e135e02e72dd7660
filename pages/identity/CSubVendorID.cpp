#include "pages/identity/CSubVendorID.h"

#include <cstdint>

#include "res/resource.h"
#include "rom/RomImage.h"
#include "rom/RomLayout.h"
#include "rom/ValueText.h"

namespace {

constexpr const char* kVendorId = "Vendor ID";
constexpr const char* kDeviceId = "Device ID";

// Where the ID of a list entry lives; 0 for no entry.
std::uint32_t OffsetOf(const std::string& kind) {
  if (kind == kVendorId) return rom::kSubsystemVendorIdOffset;
  if (kind == kDeviceId) return rom::kSubsystemDeviceIdOffset;
  return 0;
}

}  // namespace

CSubVendorID::CSubVendorID() : ui::PropertyPage(IDD_SUB_VENDOR_ID, "Sub Vendor ID") {}

void CSubVendorID::InitControls() {
  controls().ListClear(IDC_ID_KIND);
  controls().ListAppend(IDC_ID_KIND, kVendorId);
  controls().ListAppend(IDC_ID_KIND, kDeviceId);
}

void CSubVendorID::ExchangeFields(ui::DataExchange& dx) {
  dx.ListString(IDC_ID_KIND, m_strIdKind);
  dx.Text(IDC_ID_VALUE, m_strId, 4);
}

void CSubVendorID::OnListCloseUp(int listId) {
  if (listId == IDC_ID_KIND) RefreshFromImage();
}

void CSubVendorID::LoadFromImage() {
  UpdateData(true);
  const std::uint32_t offset = OffsetOf(m_strIdKind);
  if (offset == 0) return;
  m_strId = rom::HexText(rom::ReadWordLE(offset, offset + 1), 4);
  m_strLoadedKind = m_strIdKind;
  UpdateData(false);
}

void CSubVendorID::StoreToImage() {
  UpdateData(true);
  const std::uint32_t offset = OffsetOf(m_strLoadedKind);
  if (offset == 0) return;
  // The list goes back to the ID being written, so the page shows what Apply did.
  m_strIdKind = m_strLoadedKind;
  rom::RomImage.SetWord(offset, rom::HexTextToWord(m_strId));
  UpdateData(false);
}

std::optional<rom::ByteSpan> CSubVendorID::ShownBytes(int controlId) const {
  const std::uint32_t offset = OffsetOf(m_strLoadedKind);
  if (controlId != IDC_ID_VALUE || offset == 0) return std::nullopt;
  return rom::ByteSpan{offset, 2};
}
