#pragma once
// The main window's logic with its six pages on fake controls, every question
// answered with the cautious choice.

#include "tests/fuzz/harness/FuzzPrompts.h"
#include "tests/support/FakeSheet.h"

namespace fuzzing {

using FuzzSheet = testing_support::BasicFakeSheet<FuzzPrompts>;

}  // namespace fuzzing
