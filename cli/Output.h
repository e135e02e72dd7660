#pragma once
// What the commands print: texts for people, one JSON document for scripts.

#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace cli {

// Image texts are bytes, one character each. In JSON, byte b is the character
// U+00bb, so every byte 00..FF comes back as it was.
inline std::string JsonText(const std::string& bytes) {
  std::string text;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      text += c;
    } else {
      text += static_cast<char>(0xC0 | (b >> 6));
      text += static_cast<char>(0x80 | (b & 0x3F));
    }
  }
  return text;
}

// The bytes of a JSON text: each character U+0000..U+00FF is one byte. Nothing
// when a character lies above U+00FF. `text` is UTF-8, as the JSON parser gives it.
inline std::optional<std::string> BytesOfJsonText(const std::string& text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      bytes += static_cast<char>(lead);
    } else if ((lead & 0xE0) == 0xC0 && lead <= 0xC3 && i + 1 < text.size()) {
      bytes += static_cast<char>(((lead & 0x1F) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F));
    } else {
      return std::nullopt;
    }
  }
  return bytes;
}

// A file name that is not UTF-8 still gives a document, with U+FFFD in its place.
inline void PrintJson(const nlohmann::json& document) {
  std::cout << document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

}  // namespace cli
