#pragma once
// A clean-up step that runs however the enclosing block is left, normally or by an
// exception. The immediate exit ends the process without leaving the block, so it
// skips these steps, as it should.
#include <utility>

namespace app {

template <class Step>
class FinalStep {
 public:
  explicit FinalStep(Step step) : step_(std::move(step)) {}
  FinalStep(const FinalStep&) = delete;
  FinalStep& operator=(const FinalStep&) = delete;
  ~FinalStep() { step_(); }

 private:
  Step step_;
};

}  // namespace app
