#pragma once
// One fuzz run of `ombrix set`: an arbitrary image and up to three assignments,
// each a field name (built from the input like the names `ombrix fields` gives,
// or raw bytes) and a text. Each assignment may change only bytes of the
// structures its field belongs to, as the image says before it; no assignment may crash.
//
// Input: the first kCliScriptBytes bytes are the assignments, the rest the image.

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzing {

inline constexpr std::size_t kCliScriptBytes = 256;

// The property that did not hold, or an empty text.
std::string RunCliSetInput(const std::uint8_t* data, std::size_t size);

}  // namespace fuzzing
