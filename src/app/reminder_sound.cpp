#include "app/reminder_sound.h"

#include <algorithm>

namespace norvel {

SoundKind SoundKindOf(std::string_view value) {
  if (value.empty() || value == kSoundNone) return SoundKind::kNone;
  if (value == kSoundBell) return SoundKind::kBell;
  if (value == kSoundSystem) return SoundKind::kSystem;
  return SoundKind::kFile;
}

std::string SoundListText(std::string_view value) {
  if (SoundKindOf(value) != SoundKind::kFile) {
    return std::string(value.empty() ? kSoundNone : value);
  }
  const std::size_t slash = value.find_last_of("\\/");
  std::string text(kSoundFilePrefix);
  text += value.substr(slash == std::string_view::npos ? 0 : slash + 1);
  return text;
}

bool LooksLikeWave(std::string_view first_bytes) {
  return first_bytes.size() >= 12 && first_bytes.substr(0, 4) == "RIFF" &&
         first_bytes.substr(8, 4) == "WAVE";
}

ReminderSound::Command ReminderSound::Shown(int alarm, bool first, bool has_sound,
                                            std::int64_t now_ms) {
  if (!first) {
    if (joining_ && playing_) alarms_.push_back(alarm);
    return Command::kNothing;
  }
  joining_ = has_sound;
  if (!has_sound) return Command::kNothing;  // a sound still playing plays on for its own
  alarms_.assign(1, alarm);
  playing_ = true;
  since_ms_ = now_ms;
  return Command::kPlay;
}

ReminderSound::Command ReminderSound::Ended(int alarm) {
  alarms_.erase(std::remove(alarms_.begin(), alarms_.end(), alarm), alarms_.end());
  return playing_ && alarms_.empty() ? Stop() : Command::kNothing;
}

ReminderSound::Command ReminderSound::Muted() {
  return playing_ ? Stop() : Command::kNothing;
}

ReminderSound::Command ReminderSound::Look(std::int64_t now_ms) {
  return playing_ && now_ms - since_ms_ >= kLongestMs ? Stop() : Command::kNothing;
}

ReminderSound::Command ReminderSound::Stop() {
  playing_ = false;
  joining_ = false;
  alarms_.clear();
  return Command::kStop;
}

}  // namespace norvel
