#pragma once
// The fuzz targets by name, for the fuzzers and for replaying what they found.

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzing {

// The run of target `target` (rom_file, mode_list, font_file or page_*) on one input: the
// property that did not hold, or "" when every property held.
std::string RunTargetInput(const std::string& target, const std::uint8_t* data, std::size_t size);

}  // namespace fuzzing
