#pragma once
// The tests drive the pages through the same in-memory controls as the command line.

#include "ui/headless/HeadlessControls.h"

namespace testing_support {

using FakeControls = ui::HeadlessControls;

}  // namespace testing_support
