#include "pages/identity/CVendorSignOnStr.h"

#include <cstdint>
#include <string_view>
#include <utility>

#include "res/resource.h"
#include "rom/RomImage.h"
#include "rom/RomLayout.h"

namespace {

constexpr std::string_view kNewlineMarker = "<NEWLINE>";
constexpr std::string_view kNulMarker = "<NUL>";
constexpr const char* kRecordName = "sign-on record";

// Every `marker` in `text` becomes `bytes`, from left to right; everything else is copied as
// it is. A record's length word may claim almost the whole image: the text is copied in runs.
void ReplaceMarker(std::string& text, std::string_view marker, std::string_view bytes) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  for (std::size_t found; (found = text.find(marker, i)) != std::string::npos; i = found + marker.size()) {
    out.append(text, i, found - i);
    out += bytes;
  }
  out.append(text, i);
  text = std::move(out);
}

}  // namespace

CVendorSignOnStr::CVendorSignOnStr() : ui::PropertyPage(IDD_SIGN_ON_STRING, "Sign-on String") {}

void CVendorSignOnStr::EncodeNewlines(std::string& text) {
  ReplaceMarker(text, "\r\n", kNewlineMarker);
}

void CVendorSignOnStr::DecodeNewlines(std::string& text) {
  ReplaceMarker(text, kNewlineMarker, "\r\n");
}

void CVendorSignOnStr::EncodeNulBytes(std::string& text) {
  ReplaceMarker(text, std::string_view("\0", 1), kNulMarker);
}

void CVendorSignOnStr::DecodeNulBytes(std::string& text) {
  ReplaceMarker(text, kNulMarker, std::string_view("\0", 1));
}

void CVendorSignOnStr::ExchangeFields(ui::DataExchange& dx) {
  dx.Text(IDC_SIGN_ON_SIZE, m_strSize);
  dx.Text(IDC_SIGN_ON_TEXT, m_strSignOn);
}

void CVendorSignOnStr::OnShownWithImage() {
  m_bActivated = 1;
  // Showing the page again, or a new image, always reloads the box.
  m_bKeepTypedText = false;
}

void CVendorSignOnStr::LoadFromImage() {
  if (m_bKeepTypedText) {
    m_bKeepTypedText = false;
    return;
  }
  std::uint32_t length = 0;
  const rom::Located record = rom::SignOnRecord(length);
  if (!record) {
    // Nothing of the last image stays on show, and nothing of this one is read.
    m_strLoaded.reset();
    m_strSize.clear();
    m_strSignOn.clear();
    UpdateData(false);
    ShowError(record.error);
    return;
  }
  std::string text;
  text.reserve(length);
  for (std::uint32_t i = 0; i < length; ++i)
    text += static_cast<char>(rom::RomImage.Byte(record.offset + rom::kSignOnHeaderSize + i));
  EncodeNulBytes(text);
  EncodeNewlines(text);
  m_strSize = "Size of String = " + std::to_string(length);
  m_strSignOn = text;
  m_strLoaded = std::move(text);
  m_loadedRecord = {record.offset, rom::kSignOnHeaderSize + length};
  UpdateData(false);
}

void CVendorSignOnStr::Refuse(const std::string& message) {
  ShowError(message);
  m_bKeepTypedText = true;
}

void CVendorSignOnStr::StoreToImage() {
  if (m_bActivated == 0) return;
  UpdateData(true);
  if (m_strLoaded && m_strSignOn == *m_strLoaded) return;

  std::uint32_t oldLength = 0;
  const rom::Located record = rom::SignOnRecord(oldLength);
  if (!record) return Refuse(record.error);

  std::string bytes = m_strSignOn;
  DecodeNewlines(bytes);
  DecodeNulBytes(bytes);
  if (bytes.size() > kMaxSignOnBytes) {
    return Refuse("The sign-on text is " + std::to_string(bytes.size()) + " bytes long, but at most " +
                  std::to_string(kMaxSignOnBytes) +
                  " bytes fit (each <NEWLINE> counts as 2 bytes). Nothing was stored: please shorten the text.");
  }
  const auto n = static_cast<std::uint32_t>(bytes.size());
  const rom::Located target = rom::Within(kRecordName, record.offset, rom::kSignOnHeaderSize + n);
  if (!target) return Refuse(target.error);

  rom::RomImage.SetWord(target.offset, static_cast<std::uint16_t>(n));
  for (std::uint32_t i = 0; i < n; ++i) {
    rom::RomImage.SetByte(target.offset + rom::kSignOnHeaderSize + i, static_cast<std::uint8_t>(bytes[i]));
  }
}

std::optional<rom::ByteSpan> CVendorSignOnStr::ShownBytes(int controlId) const {
  if (controlId != IDC_SIGN_ON_TEXT || !m_strLoaded) return std::nullopt;
  return m_loadedRecord;
}
