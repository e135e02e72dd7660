#pragma once
// The outcome of one fuzz run: the first property that did not hold, or none.

#include <string>
#include <utility>

namespace fuzzing {

class Verdict {
 public:
  // Records `failure` unless `holds`; only the first failure of a run is kept,
  // since everything after it may just be its consequence.
  bool Require(bool holds, const std::string& failure) {
    if (!holds && failure_.empty()) failure_ = failure;
    return holds;
  }
  bool failed() const { return !failure_.empty(); }
  const std::string& failure() const { return failure_; }
  std::string Take() { return std::move(failure_); }

 private:
  std::string failure_;
};

}  // namespace fuzzing
