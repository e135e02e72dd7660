#pragma once
// The bytes an Apply of a page may write: those of the structures the page
// shows, found from what its controls show and from the image as it is now.

#include "tests/support/FakeControls.h"
#include "tests/fuzz/harness/ImageChain.h"
#include "tests/fuzz/harness/ModeListModel.h"

namespace fuzzing {

// `page` is the sheet's page index (0 Parameter Table .. 5 Font Images); `modes`
// is what the Parameter Table's list was built from.
ByteSet ShownBytes(int page, const testing_support::FakeControls& controls, const ModeListModel& modes);

}  // namespace fuzzing
