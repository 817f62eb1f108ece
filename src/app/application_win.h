// The running program: its two windows, the tick that joins them, and its lifetime. The
// process ends when no window of it is left.
#pragma once

#include <memory>
#include <string>

#include "app/reminder_gate_win.h"
#include "app/reminder_sound.h"
#include "scheduler/program_state.h"
#include "settings/ini.h"

namespace norvel {

class Form1;
class AlarmTick;
struct AlarmEffects;
class SingleInstance;
class PicturePreparer;
class PowerWarningWindow;
class HolidaysFile;
class TickWatchdogThread;
class StateStore;
class SoundPlayer;

class Application {
 public:
  // `instance` is the session's single-instance guard, held while the settings window lives;
  // `show_window` false starts with the icon alone (at log-in).
  Application(std::unique_ptr<SingleInstance> instance, bool show_window = true);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Loads Form1 (the start-up window) and runs the message loop; returns the exit code.
  int Run();

 private:
  void OnWindowUnloaded();
  void OnTick();
  void RefreshHolidays();
  void TellWhenNextYearUnknown();
  void PicturesSaved();
  void HoldPictureWhenWanted();
  AlarmSettings ReminderTexts(int alarm) const;
  void PutOff(int alarm, int minutes);
  void CancelPutOff(int alarm);
  void RestorePutOffs();
  void ShowNextRings();
  AlarmEffects Effects();
  ReminderGate::Hooks ReminderHooks();
  void Sound(ReminderSound::Command command, int alarm);
  void StartWatchdog();
  void StateWriteFailed(StateWrite what, const std::string& reason);

  std::unique_ptr<SingleInstance> instance_;
  bool show_window_;
  std::unique_ptr<PicturePreparer> preparer_;
  int ticks_ = 0;
  int held_alarm_ = 0;  // the alarm whose picture is held ready, or 0
  int holiday_ticks_ = 0;
  std::unique_ptr<HolidaysFile> holidays_;
  std::unique_ptr<Form1> form1_;
  std::unique_ptr<PowerWarningWindow> warning_;
  std::unique_ptr<SoundPlayer> sound_;
  ReminderSound reminder_sound_;
  std::unique_ptr<ReminderGate> reminder_;
  std::unique_ptr<StateStore> state_;
  OncePerRun state_write_told_;
  RestartFollowUp restart_follow_up_;
  OncePerRun next_year_told_;
  std::unique_ptr<AlarmTick> tick_;
  std::unique_ptr<TickWatchdogThread> watchdog_;  // from the load of the settings window on
};

}  // namespace norvel
