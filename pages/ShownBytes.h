#pragma once
// Which bytes of the image a control of a page shows, as the page's last load
// found them: a field that changed explains a changed byte only where it shows it.

#include <optional>

#include "rom/RomLayout.h"

class CShownBytes {
 public:
  // Nothing when the control shows no byte of the image now.
  virtual std::optional<rom::ByteSpan> ShownBytes(int controlId) const = 0;

 protected:
  ~CShownBytes() = default;
};
