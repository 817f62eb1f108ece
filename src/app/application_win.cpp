#include "app/application_win.h"

#include <windows.h>

#include "app/form1_layout.h"
#include "app/form1_win.h"
#include "app/holidays_win.h"
#include "app/single_instance_win.h"
#include "app/icon_win.h"
#include "app/reminder_gate_win.h"
#include "app/start_at_login_win.h"
#include "app/state_store_win.h"
#include "reminder/form2_win.h"
#include "reminder/prepared_picture_win.h"
#include "scheduler/alarm_log.h"
#include "scheduler/alarm_tick_win.h"
#include "scheduler/tick_watchdog_win.h"
#include "scheduler/close_win.h"
#include "scheduler/power_warning_win.h"
#include "scheduler/calendar/holiday_file.h"
#include "scheduler/program_state.h"
#include "scheduler/put_off.h"
#include "toolkit/text_win.h"
#include "settings/app_path_win.h"
#include "settings/ini.h"

namespace norvel {
namespace {

const LocalClock& TheLocalClock() {
  static const LocalClock clock;
  return clock;
}

// One line in norvel.log, stamped with the time now.
void Log(const std::string& text) {
  AppendToProgramLog(StampedLogLine(text, TheLocalClock().Now()));
}

}  // namespace

Application::Application(std::unique_ptr<SingleInstance> instance, bool show_window)
    : instance_(std::move(instance)),
      show_window_(show_window),
      preparer_(std::make_unique<PicturePreparer>()),
      holidays_(
          std::make_unique<HolidaysFile>(AppDirectory() + "\\" + std::string(kHolidayFileName))),
      form1_(std::make_unique<Form1>([this] { OnTick(); }, [this] { OnWindowUnloaded(); },
                                     [this](const std::string& path) { PictureSaved(path); })),
      form2_(std::make_unique<Form2>([this] { OnWindowUnloaded(); }, preparer_.get(),
                                     [this](int minutes) { PutOff(minutes); })),
      warning_(std::make_unique<PowerWarningWindow>(
          [this](std::int64_t occurrence) { tick_->CancelPowerAction(occurrence); })),
      reminder_(std::make_unique<ReminderGate>(
          *form2_, *preparer_, [this] { return picture_path_; }, Log)),
      state_(std::make_unique<StateStore>(
          [this](StateWrite what, const std::string& reason) { StateWriteFailed(what, reason); })),
      tick_(std::make_unique<AlarmTick>(*form1_, TheLocalClock(), Effects(),
                                        state_->LastPowerAction())) {}

AlarmEffects Application::Effects() {
  AlarmEffects effects =
      SystemAlarmEffects([this] { reminder_->Due(); },
                         [this](const std::wstring& text) { form1_->ShowBalloon(text); });
  effects.before_power = [this](AlarmAction action, std::int64_t occurrence) {
    state_->RecordPowerAction(occurrence);
    // Back after its own restart: when it would not start at log-in, once through RunOnce.
    // An off computer is what the user asked for.
    if (action == AlarmAction::kRestart) {
      state_->ArmRunOnce();
      restart_follow_up_.Requested(TheLocalClock().MonotonicMs());
    }
  };
  effects.power_refused = [this](AlarmAction action) {
    // The restart did not happen: no start after a restart that someone else does later.
    if (action == AlarmAction::kRestart) state_->DisarmRunOnce();
  };
  effects.put_off_rang = [this] { state_->ForgetPutOff(); };
  effects.warn = [this](const std::optional<PowerWarning>& warning, const std::wstring& action) {
    warning_->Update(warning, action);
  };
  return effects;
}

Application::~Application() = default;

void Application::OnWindowUnloaded() {
  // The guard belongs to the settings window: once it is gone, a new start must get a
  // window and an icon of its own, even while a reminder keeps this process alive.
  if (!form1_->IsLoaded()) {
    instance_.reset();
    watchdog_.reset();                   // the timer stopped with the window, as it should
    form2_->AllowPutOff(false);          // nothing would bring a put-off back in this run
    warning_->Update(std::nullopt, {});  // without the tick nothing is shut down any more
  }
  // The process ends when none of its windows is loaded: an open reminder keeps it alive.
  if (!form1_->IsLoaded() && !form2_->IsLoaded()) PostQuitMessage(0);
}

void Application::StateWriteFailed(StateWrite what, const std::string& reason) {
  Log(StateWriteFailedLogText(what, reason));
  if (state_write_told_.First()) {
    form1_->ShowBalloon(Widen(StateWriteFailedNotice(what, reason)).value_or(L""));
  }
}

void Application::PutOff(int minutes) {
  state_->KeepPutOff(tick_->PutOffReminder(minutes));
}

void Application::CancelPutOff() {
  tick_->CancelPutOff();
  state_->ForgetPutOff();
}

void Application::RestorePutOff() {
  const std::string stored = state_->StoredPutOff();
  if (stored.empty()) return;
  const std::optional<std::int64_t> due = ParseStamp(stored);
  if (due && DecidePutOffAtStart(*due, tick_->NowSecond()) == PutOffAtStart::kArm) {
    tick_->RearmPutOff(*due);  // still ahead, or shown at the first tick
    return;
  }
  state_->ForgetPutOff();
  if (due) form1_->ShowBalloon(Widen(DroppedPutOffText(*due)).value_or(L""));
}

// Looked at with holidays.txt, once a minute: a plain start writes nothing, and the notice
// comes within the first minute of a run (weeks ahead of the year it is about).
void Application::TellWhenNextYearUnknown() {
  const LocalTime now = TheLocalClock().Now();
  const std::string text =
      NextYearUnknownText({now.year, now.month, now.day}, holidays_->calendar());
  if (text.empty() || !next_year_told_.First()) return;
  Log(text.substr(0, text.find('\n')));
  form1_->ShowBalloon(Widen(text).value_or(L""));
}

void Application::RefreshHolidays() {
  if (!holidays_->Refresh()) return;
  tick_->SetCalendar(holidays_->calendar());
  // Told once for each version of the file: the other lines still count.
  if (!holidays_->bad_lines().empty()) {
    form1_->ShowBalloon(Widen(BadHolidayLineText(holidays_->bad_lines().front())).value_or(L""));
  }
}

void Application::OnTick() {
  // holidays.txt is looked at once a minute, never on every tick.
  if (++holiday_ticks_ >= 60000 / form1::kTimerIntervalMs) {
    holiday_ticks_ = 0;
    RefreshHolidays();
    TellWhenNextYearUnknown();
  }
  if (watchdog_) watchdog_->Ticked();
  tick_->Tick();
  reminder_->Look();
  if (restart_follow_up_.DidNotHappen(TheLocalClock().MonotonicMs())) {
    state_->DisarmRunOnce();
    Log(RestartDidNotHappenLogText());
  }
  // Every five seconds: a picture file that changed is made ready again.
  HoldPictureWhenWanted();
}

void Application::PictureSaved(const std::string& path) {
  picture_path_ = path;
  if (holding_picture_) preparer_->Prepare(path);  // changed within the minute before
}

void Application::HoldPictureWhenWanted() {
  // The picture is made ready from a minute before the reminder's second and let go once
  // that second has passed: the reminder took its own reference at its load.
  const bool wanted = tick_->PictureWanted() || reminder_->Waiting();
  if (wanted != holding_picture_) {
    holding_picture_ = wanted;
    ticks_ = 0;
    if (wanted) {
      preparer_->Prepare(picture_path_);
    } else {
      preparer_->Release();
    }
  }
  // While held, a picture file that changed is made ready again (looked at every 5 s).
  if (holding_picture_ && ++ticks_ == 5000 / form1::kTimerIntervalMs) {
    ticks_ = 0;
    preparer_->Refresh();
  }
}

void Application::StartWatchdog() {
  const HWND form1 = form1_->hwnd();
  WatchdogHooks hooks;
  hooks.rearm = [form1] { PostMessageW(form1, Form1::kRestartTimerMessage, 0, 0); };
  hooks.log = Log;
  hooks.tell = [form1](const std::wstring& text) { ShowTrayBalloon(form1, L"Norvel", text); };
  watchdog_ = std::make_unique<TickWatchdogThread>(std::move(hooks));
}

int Application::Run() {
  // The folder was moved: a Run value left naming the old norvel.exe names this one again.
  RepairStartAtLogin();
  form1_->SetPutOffHooks([this] { return tick_->PendingPutOff(); }, [this] { CancelPutOff(); });
  form1_->SetPictureReadyHook([this] {
    preparer_->Adopt();
    reminder_->Look();
  });
  if (!form1_->Load(show_window_)) return 1;
  preparer_->SetWindow(form1_->hwnd());
  StartWatchdog();
  RefreshHolidays();
  RestorePutOff();
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Tab, Shift+Tab and Alt+O move and press as in a dialog; Esc presses nothing.
    if (form1_->IsLoaded() && form1_->TranslateDialogKey(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace norvel
