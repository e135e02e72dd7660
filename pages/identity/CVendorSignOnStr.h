#pragma once
// The Sign-on String page: the text the video BIOS prints at boot.

#include <cstddef>
#include <optional>
#include <string>

#include "pages/ShownBytes.h"
#include "ui/PropertyPage.h"

class CVendorSignOnStr : public ui::PropertyPage, public CShownBytes {
 public:
  // The room the BIOS keeps for the text, counted in stored bytes.
  static constexpr std::size_t kMaxSignOnBytes = 120;

  CVendorSignOnStr();

  void LoadFromImage() override;
  void StoreToImage() override;
  std::optional<rom::ByteSpan> ShownBytes(int controlId) const override;

  // CR LF in the image is "<NEWLINE>" in the box.
  static void EncodeNewlines(std::string& text);
  static void DecodeNewlines(std::string& text);
  // A 0x00 byte is "<NUL>" in the box: an edit box ends its text at the first 0x00.
  static void EncodeNulBytes(std::string& text);
  static void DecodeNulBytes(std::string& text);

  int m_bActivated = 0;

 protected:
  void ExchangeFields(ui::DataExchange& dx) override;
  void OnShownWithImage() override;

 private:
  void Refuse(const std::string& message);

  std::string m_strSize;
  std::string m_strSignOn;
  // The box's text as the last load showed it. Apply with that text unchanged
  // writes nothing, so stored bytes that merely look like a marker (a literal
  // "<NEWLINE>") stay as they are.
  std::optional<std::string> m_strLoaded;
  // The record the text on show was read from: its length word and its text.
  rom::ByteSpan m_loadedRecord;
  // A refused Apply keeps the typed text in the box through the reload that
  // follows it, so the user can correct it.
  bool m_bKeepTypedText = false;
};
