// When the reminder shows, given its picture: at once when the picture is ready (or there is
// none); when it is still being made, as soon as it is ready, but never more than
// kLongestWaitMs after the reminder's second: then without the picture, at its design size.
// The UI thread that asks never waits for a decode.
#pragma once

#include <cstdint>

namespace norvel {

enum class PictureState {
  kNone,     // no picture wanted, or nothing under way for it
  kPending,  // being made, or waiting its turn
  kReady,    // made (a picture that did not decode is ready as "no picture")
};

enum class ReminderStep { kNothing, kWait, kShow, kShowWithoutPicture };

class ReminderPictureWait {
 public:
  static constexpr std::int64_t kLongestWaitMs = 2000;

  // The reminder is due at `now_ms` (monotonic): every tick of its second asks.
  ReminderStep Due(PictureState picture, std::int64_t now_ms) {
    if (waiting_) return Look(picture, now_ms);
    if (picture != PictureState::kPending) return ReminderStep::kShow;
    waiting_ = true;
    since_ms_ = now_ms;
    return ReminderStep::kWait;
  }
  // A later tick, or the picture's ready message: while waiting, whether to show now.
  ReminderStep Look(PictureState picture, std::int64_t now_ms) {
    if (!waiting_) return ReminderStep::kNothing;
    if (picture != PictureState::kPending) {
      waiting_ = false;
      return ReminderStep::kShow;
    }
    if (now_ms - since_ms_ < kLongestWaitMs) return ReminderStep::kWait;
    waiting_ = false;
    return ReminderStep::kShowWithoutPicture;
  }
  bool waiting() const { return waiting_; }

 private:
  bool waiting_ = false;
  std::int64_t since_ms_ = 0;
};

}  // namespace norvel
