// Shows the reminders at their second: one window per alarm, each with its own message and
// picture. The reminders due in one tick come one after another, each once its picture is
// ready, never waiting on the UI thread for a decode (a photo on a slow or unreachable share
// would stop every tick): a picture not ready 2 s after its turn is left out, the reminder
// then shows at its design size, and the log says so. The desktop is cleared once a tick; a
// second and later window of the same tick sits 32 pixels down and right of the one before.
// While the user presents or runs a full-screen program the reminders wait (FullScreenWait).
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "reminder/full_screen_wait.h"
#include "reminder/picture_wait.h"
#include "settings/ini.h"

namespace norvel {

class Form2;
class PicturePreparer;

class ReminderGate {
 public:
  static constexpr int kCascadePixels = 32;

  struct Hooks {
    std::function<AlarmSettings(int alarm)> texts;  // the alarm's message and picture
    std::function<void(int alarm, int minutes)> put_off;
    std::function<void(int alarm)> unloaded;  // its reminder window is gone
    // A reminder window came (`first` of its tick), and "静音" in one's menu.
    std::function<void(int alarm, bool first)> shown;
    std::function<void()> mute;
    std::function<void(const std::string&)> log;  // one line's text to norvel.log
    std::function<bool()> presenting;             // the user presents: reminders wait
    // What the status line says of waiting reminders ("" when none waits).
    std::function<void(const std::string&)> waiting_note;
  };
  ReminderGate(PicturePreparer& preparer, Hooks hooks);
  ~ReminderGate();

  // These alarms' reminders are due (every tick of their second).
  void Due(const std::vector<int>& alarms);
  // Every tick, and when a picture is ready: the next reminder whose picture is ready shows.
  void Look();
  // The alarm whose reminder waits for its picture (its picture stays wanted), or 0.
  int WaitingAlarm() const {
    if (!queue_.empty()) return queue_.front();
    return hold_.held().empty() ? 0 : hold_.held().front();
  }
  // Whether a reminder window is open.
  bool AnyLoaded() const;
  // Once the settings window is gone nothing would bring a put-off back: see Form2.
  void AllowPutOff(bool allowed);

 private:
  Form2& FormOf(int alarm);
  void Released(const FullScreenWait::Step& step, bool& cleared);
  void ShowQueued(bool& cleared);
  void Show(Form2& form, bool& cleared, int offset);

  PicturePreparer& preparer_;
  Hooks hooks_;
  std::vector<std::pair<int, std::unique_ptr<Form2>>> forms_;  // one per alarm, kept
  std::deque<int> queue_;                                      // due and not shown yet, in turn
  std::string head_path_;                                      // the picture of the queue's first
  ReminderPictureWait wait_;                                   // for the queue's first
  FullScreenWait hold_;                                        // while the user presents
  int cascade_ = 0;  // reminders shown since the queue was last empty
  bool allow_put_off_ = true;
};

}  // namespace norvel
