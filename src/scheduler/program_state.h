// The program's own state in option.ini, in a section of its own beside the settings: the
// trigger second of the last shut-down or restart carried out, and a put-off reminder. A
// file without the section behaves as before.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace norvel {

struct ProgramState {
  static constexpr std::string_view kSection = "状态";
  static constexpr std::string_view kLastPowerAction = "上次电源操作";
  static constexpr std::string_view kPutOff = "稍后提醒";
};

// The writes of the program's state that outlive the run. When one fails, what the user
// asked for still happens in this run; the failure is written down with the key and the
// system's reason, and told once per run.
enum class StateWrite {
  kPutOff,           // [状态] 稍后提醒 kept
  kPutOffRemoved,    // [状态] 稍后提醒 removed (rang or cancelled)
  kLastPowerAction,  // [状态] 上次电源操作 recorded before a shut-down or restart
  kRunOnce,          // RunOnce armed before a restart of its own
  kRunOnceRemoved,   // RunOnce removed after a restart that did not happen
};

// The log's line: "无法保存稍后提醒 ([状态] 稍后提醒): option.ini 是只读的".
std::string StateWriteFailedLogText(StateWrite what, std::string_view reason);
// What the user is told: "无法保存稍后提醒:option.ini 是只读的" and what it means.
std::string StateWriteFailedNotice(StateWrite what, std::string_view reason);

// Told once per run: true the first time only.
class OncePerRun {
 public:
  bool First() { return !std::exchange(done_, true); }

 private:
  bool done_ = false;
};

// A restart of its own that did not happen: the system took the request, but another program
// vetoed it later. Still running kRestartGoneMs after the request, the program takes back the
// RunOnce value it wrote for it (else it would start at the next log-in although start at
// log-in is off).
class RestartFollowUp {
 public:
  static constexpr std::int64_t kRestartGoneMs = 120000;
  // The restart was asked of the system at `monotonic_ms`.
  void Requested(std::int64_t monotonic_ms) { requested_ms_ = monotonic_ms; }
  // True once, on the first look kRestartGoneMs or more after the request.
  bool DidNotHappen(std::int64_t monotonic_ms) {
    if (!requested_ms_ || monotonic_ms - *requested_ms_ < kRestartGoneMs) return false;
    requested_ms_.reset();
    return true;
  }

 private:
  std::optional<std::int64_t> requested_ms_;
};

// "重启没有发生 (请求后 120 秒程序仍在运行), 已删除 RunOnce"
std::string RestartDidNotHappenLogText();

// A civil second as "2026-12-08 07:05:03", and back (nullopt for any other text or a date
// that does not exist).
std::string StampText(std::int64_t civil_second);
std::optional<std::int64_t> ParseStamp(std::string_view text);

}  // namespace norvel
