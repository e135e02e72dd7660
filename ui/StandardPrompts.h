#pragma once
// The class library's entry-check prompts; the string table holds the same texts.

namespace ui {

inline constexpr const char* kPromptParseInt = "Please enter an integer.";
inline constexpr const char* kPromptIntRange = "Please enter an integer between %1 and %2.";
inline constexpr const char* kPromptMaxChars = "Please enter no more than %1 characters.";
// The caption of those prompts: the application name.
inline constexpr const char* kApplicationName = "Tarvel";

}  // namespace ui
