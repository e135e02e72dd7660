#pragma once
// One fuzz run of the Parameter Table's mode list: an arbitrary image (the
// input, zeros past its end), the page shown, then every row of the list
// closed on in turn. The list must hold the rows the chain names, each row
// must show exactly the bytes of its records or say why it cannot, and
// nothing may write to the image.

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzing {

// Returns the property that did not hold, or an empty text.
std::string RunModeListInput(const std::uint8_t* data, std::size_t size);

}  // namespace fuzzing
