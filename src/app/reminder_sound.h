// A reminder's sound: what the list "声音" offers and shows, and when the sound plays. It
// starts as the reminders of a tick come (one sound, the first alarm's) and repeats until
// none of them is open (closed or put off), until 静音, or for at most five minutes (the
// reminders stay).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace norvel {

// The list's items; a chosen file shows as "文件: 名称.wav" before the last one.
inline constexpr std::string_view kSoundNone = "无";
inline constexpr std::string_view kSoundBell = "铃声";
inline constexpr std::string_view kSoundSystem = "系统提示音";
inline constexpr std::string_view kSoundChooseFile = "选择文件...";
inline constexpr std::string_view kSoundFilePrefix = "文件: ";
inline constexpr std::array<std::string_view, 4> kSoundItems = {kSoundNone, kSoundBell,
                                                                kSoundSystem, kSoundChooseFile};

enum class SoundKind { kNone, kBell, kSystem, kFile };
// What a stored value names: "无" or nothing, "铃声", "系统提示音", else a file's path.
SoundKind SoundKindOf(std::string_view value);
// The list's text of a stored value: the item, or "文件: " and the file's name.
std::string SoundListText(std::string_view value);
// Whether the bytes begin as a WAV file does ("RIFF", a length, "WAVE").
bool LooksLikeWave(std::string_view first_bytes);

class ReminderSound {
 public:
  static constexpr std::int64_t kLongestMs = 5 * 60 * 1000;

  enum class Command { kNothing, kPlay, kStop };

  // The reminder of `alarm` came; `first` when it is the first of its tick, `has_sound` when
  // that alarm has one. kPlay: start the alarm's sound, repeating.
  Command Shown(int alarm, bool first, bool has_sound, std::int64_t now_ms);
  // Its reminder was closed or put off.
  Command Ended(int alarm);
  // 静音 in a reminder's menu.
  Command Muted();
  // Every tick: the sound stops by itself after kLongestMs.
  Command Look(std::int64_t now_ms);

  bool playing() const { return playing_; }

 private:
  Command Stop();

  std::vector<int> alarms_;  // the open reminders the sound is for
  bool playing_ = false;
  bool joining_ = false;  // later reminders of the tick join the first one's sound
  std::int64_t since_ms_ = 0;
};

}  // namespace norvel
