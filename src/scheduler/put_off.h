// 稍后提醒: a reminder put off for a few minutes comes back at its second, loaded afresh. One
// at a time; kept in option.ini across restarts; at start one whose second passed while the
// program was not running is shown when at most an hour late, otherwise dropped and told.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace norvel {

inline constexpr std::int64_t kPutOffShownLateUpTo = 60 * 60;  // seconds

// The icon's menu item while a put-off is pending: "取消稍后提醒 (HH:MM:SS)"; more than
// three are items of a submenu with the title alone.
inline constexpr std::string_view kCancelPutOffMenuTitle = "取消稍后提醒";
std::string CancelPutOffMenuText(std::int64_t due);
// What the user is told of a put-off dropped at start: "错过了 HH:MM:SS 的稍后提醒".
std::string DroppedPutOffText(std::int64_t due);

enum class PutOffAtStart {
  kArm,   // still ahead, or late by at most an hour (shown at the first tick)
  kDrop,  // more than an hour late: dropped, and the user told
};
PutOffAtStart DecidePutOffAtStart(std::int64_t due, std::int64_t now);

// The pending put-off, looked at by the tick with one comparison.
class PutOff {
 public:
  // Puts the reminder off to `due` (civil seconds), replacing a pending one.
  void Set(std::int64_t due) { due_ = due; }
  void Cancel() { due_.reset(); }
  std::optional<std::int64_t> due() const { return due_; }
  // True once when the tick's second reaches the put-off's (also after a stall or a sleep
  // that no tick saw): it is then no longer pending.
  bool DueAt(std::int64_t now_second) {
    if (!due_ || now_second < *due_) return false;
    due_.reset();
    return true;
  }

 private:
  std::optional<std::int64_t> due_;
};

}  // namespace norvel
