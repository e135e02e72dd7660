#pragma once
// What the commands print: texts for people, one JSON document for scripts.

#include <iostream>
#include <string>

#include <nlohmann/json.hpp>

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

// A file name that is not UTF-8 still gives a document, with U+FFFD in its place.
inline void PrintJson(const nlohmann::json& document) {
  std::cout << document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

}  // namespace cli
