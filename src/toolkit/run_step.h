// Load handlers run in continue-on-error mode: a step that fails is abandoned and the next
// step runs, nothing is reported.
#pragma once

namespace norvel {

template <typename Step>
void RunStep(Step&& step) noexcept {
  try {
    step();
  } catch (...) {
  }
}

}  // namespace norvel
