// Keeps the tick in step with the clock's seconds. A free-running 50 ms timer's first tick of
// a second comes anywhere in that second's first 50 ms, and a reminder with it; in step, it
// comes a couple of milliseconds after the second begins. The tick before a second ends,
// when the one after it would come more than a few milliseconds into the next second, asks
// for one shorter interval that ends just after the second begins; the tick that follows
// puts the interval back. Once in step (after the start, a stall, a sleep or a clock change)
// the timer is left alone.
#pragma once

namespace norvel {

inline constexpr int kTickIntervalMs = 50;

class TickPhase {
 public:
  // A second's first tick this far into it is in step.
  static constexpr int kInStepMs = 8;
  // The shorter interval ends this far after the second begins (a timer never fires early).
  static constexpr int kLeadMs = 2;
  // The shortest interval a window timer keeps (a shorter one is lengthened to it).
  static constexpr int kShortestMs = 10;

  // Called on every tick with the clock's millisecond within its second: the interval to
  // set the timer to now, or 0 to leave the timer as it is.
  int After(int millisecond);

 private:
  bool shortened_ = false;
};

}  // namespace norvel
