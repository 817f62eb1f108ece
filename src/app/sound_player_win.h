// Plays a reminder's sound with the system's own calls (PlaySoundW, asynchronous, from memory
// for the bell, by alias for the scheme's default sound, or from a file), on a thread of its
// own (started with the first sound): starting or stopping a sound never holds up the tick,
// even when the file lies on a slow share. A file that is missing, unreadable or no WAV plays the
// bell instead, and the log says so once for that playing.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace norvel {

class SoundPlayer {
 public:
  // `log` writes one line's text to norvel.log (from the player's thread).
  explicit SoundPlayer(std::function<void(const std::string&)> log);
  ~SoundPlayer();
  SoundPlayer(const SoundPlayer&) = delete;
  SoundPlayer& operator=(const SoundPlayer&) = delete;

  // `sound` as stored ("铃声", "系统提示音" or a path; "无" plays nothing); `loop` repeats
  // it until Stop. `alarm` names the alarm in the log. Replaces what plays.
  void Play(const std::string& sound, bool loop, int alarm);
  void Stop();

 private:
  struct Request {
    std::string sound;  // empty: stop
    bool loop = false;
    int alarm = 0;
  };
  void Send(Request request);
  void Run();
  void Carry(const Request& request);

  std::function<void(const std::string&)> log_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<Request> next_;
  bool quit_ = false;
  std::thread thread_;
};

}  // namespace norvel
