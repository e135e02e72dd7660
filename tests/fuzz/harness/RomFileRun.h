#pragma once
// One fuzz run of loading and saving: the input is a file's whole content.

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzing {

// LoadRomFile on the input, then WriteRomFile over it and to a new file, all
// in memory. Returns the property that did not hold, or an empty text.
std::string RunRomFileInput(const std::uint8_t* data, std::size_t size);

}  // namespace fuzzing
