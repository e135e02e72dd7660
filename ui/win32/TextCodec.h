#pragma once
// Byte strings of the pages to and from the UTF-16 text of real controls.

#include <string>
#include <string_view>

namespace ui::win32 {

// Each byte is one character. 0x20..0x7E stay as they are; 0x80..0xFF become the
// characters of the ANSI code page (Windows-1252 when that code page cannot
// give every byte a character of its own). Controls that hold one line show
// the control bytes 0x01..0x1F and 0x7F as their Control Pictures, which a
// single-line box keeps; a multi-line box keeps them as they are (CR LF is its
// line break). Every byte comes back as itself.
std::wstring BytesToWide(std::string_view bytes, bool singleLine);
// The way back. A character no byte stands for becomes '?'.
std::string WideToBytes(std::wstring_view text, bool singleLine);

// UTF-8 (the texts of messages and paths) to UTF-16 and back.
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

}  // namespace ui::win32
