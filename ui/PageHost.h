#pragma once
// What a page needs of the sheet that holds it.

#include "ui/Prompts.h"

namespace ui {

class PageHost {
 public:
  virtual ~PageHost() = default;
  // An image is loaded (the pages cannot show anything without one).
  virtual bool ImageLoaded() const = 0;
  // The sheet's Open command, exactly as if the user had chosen File > Open.
  virtual void OpenImage() = 0;
  virtual Prompts& prompts() = 0;
};

}  // namespace ui
