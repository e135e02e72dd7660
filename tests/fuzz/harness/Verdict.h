#pragma once
// The outcome of one fuzz run: the first property that did not hold, or none.

#include <string>
#include <utility>

namespace fuzzing {

// Only the first failure of a run is kept, since everything after it may just be its
// consequence. Messages are built only for a failure: the checks run millions of times.
class Verdict {
 public:
  bool Require(bool holds, const char* failure) {
    if (!holds) Fail(failure);
    return holds;
  }
  void Fail(std::string failure) {
    if (failure_.empty()) failure_ = std::move(failure);
  }
  bool failed() const { return !failure_.empty(); }
  std::string Take() { return std::move(failure_); }

 private:
  std::string failure_;
};

}  // namespace fuzzing
