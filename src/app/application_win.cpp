#include "app/application_win.h"

#include <windows.h>

#include "app/form1_layout.h"
#include "app/form1_win.h"
#include "app/holidays_win.h"
#include "app/single_instance_win.h"
#include "app/icon_win.h"
#include "app/reminder_gate_win.h"
#include "app/sound_player_win.h"
#include "app/start_at_login_win.h"
#include "app/state_store_win.h"
#include "reminder/prepared_picture_win.h"
#include "scheduler/alarm_log.h"
#include "scheduler/alarm_tick_win.h"
#include "scheduler/tick_phase.h"
#include "scheduler/tick_watchdog_win.h"
#include "scheduler/close_win.h"
#include "scheduler/power_warning_win.h"
#include "scheduler/calendar/holiday_file.h"
#include "scheduler/program_state.h"
#include "scheduler/put_off.h"
#include "toolkit/full_screen_win.h"
#include "toolkit/text_win.h"
#include "settings/app_path_win.h"
#include "settings/alarms.h"
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
                                     [this] { PicturesSaved(); })),
      warning_(std::make_unique<PowerWarningWindow>(
          [this](std::int64_t occurrence) { tick_->CancelPowerAction(occurrence); })),
      sound_(std::make_unique<SoundPlayer>(Log)),
      reminder_(std::make_unique<ReminderGate>(*preparer_, ReminderHooks())),
      state_(std::make_unique<StateStore>(
          [this](StateWrite what, const std::string& reason) { StateWriteFailed(what, reason); })),
      tick_(std::make_unique<AlarmTick>(*form1_, TheLocalClock(), Effects(),
                                        state_->LastPowerAction())) {}

ReminderGate::Hooks Application::ReminderHooks() {
  ReminderGate::Hooks hooks;
  hooks.texts = [this](int alarm) { return ReminderTexts(alarm); };
  hooks.put_off = [this](int alarm, int minutes) { PutOff(alarm, minutes); };
  hooks.unloaded = [this](int alarm) {
    Sound(reminder_sound_.Ended(alarm), alarm);  // closed or put off
    OnWindowUnloaded();
  };
  hooks.log = Log;
  hooks.presenting = FullScreenProgramInFront;
  hooks.waiting_note = [this](const std::string& note) {
    tick_->SetStatusNote(Widen(note).value_or(L""));
  };
  hooks.shown = [this](int alarm, bool first) {
    const bool has_sound = SoundKindOf(ReminderTexts(alarm).sound) != SoundKind::kNone;
    Sound(reminder_sound_.Shown(alarm, first, has_sound, TheLocalClock().MonotonicMs()), alarm);
  };
  hooks.mute = [this] { Sound(reminder_sound_.Muted(), 0); };
  return hooks;
}

void Application::Sound(ReminderSound::Command command, int alarm) {
  if (command == ReminderSound::Command::kStop) sound_->Stop();
  if (command == ReminderSound::Command::kPlay)
    sound_->Play(ReminderTexts(alarm).sound, true, alarm);
}

AlarmEffects Application::Effects() {
  AlarmEffects effects =
      SystemAlarmEffects([this](const std::vector<int>& alarms) { reminder_->Due(alarms); },
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
  effects.put_off_ended = [this](int alarm) { state_->ForgetPutOff(alarm); };
  effects.warn = [this](const std::optional<PowerWarning>& warning, const std::wstring& action) {
    warning_->Update(warning, action);
  };
  // A shut-down or restart plays its alarm's sound once, as its warning appears.
  effects.warning_appeared = [this](int alarm) {
    sound_->Play(ReminderTexts(alarm).sound, false, alarm);
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
    reminder_->AllowPutOff(false);       // nothing would bring a put-off back in this run
    warning_->Update(std::nullopt, {});  // without the tick nothing is shut down any more
  }
  // The process ends when none of its windows is loaded: an open reminder keeps it alive.
  if (!form1_->IsLoaded() && !reminder_->AnyLoaded()) PostQuitMessage(0);
}

void Application::StateWriteFailed(StateWrite what, const std::string& reason) {
  Log(StateWriteFailedLogText(what, reason));
  if (state_write_told_.First()) {
    form1_->ShowBalloon(Widen(StateWriteFailedNotice(what, reason)).value_or(L""));
  }
}

void Application::PutOff(int alarm, int minutes) {
  state_->KeepPutOff(alarm, tick_->PutOffReminder(alarm, minutes));
}

void Application::CancelPutOff(int alarm) {
  tick_->CancelPutOff(alarm);
  state_->ForgetPutOff(alarm);
}

void Application::RestorePutOffs() {
  for (const StoredAlarm& alarm : form1_->alarms().alarms()) {
    const std::string stored = state_->StoredPutOff(alarm.number);
    if (stored.empty()) continue;
    const std::optional<std::int64_t> due = ParseStamp(stored);
    if (alarm.enabled && due &&
        DecidePutOffAtStart(*due, tick_->NowSecond()) == PutOffAtStart::kArm) {
      tick_->RearmPutOff(alarm.number, *due);  // still ahead, or shown at the first tick
      continue;
    }
    state_->ForgetPutOff(alarm.number);
    if (due && alarm.enabled) form1_->ShowBalloon(Widen(DroppedPutOffText(*due)).value_or(L""));
  }
}

AlarmSettings Application::ReminderTexts(int alarm) const {
  // As saved; an alarm not saved yet shows what its controls showed.
  for (const StoredAlarm& saved : ReadAlarms(AppSettingsFile()).alarms) {
    if (saved.number == alarm) return saved.texts;
  }
  const AlarmEdits& edits = form1_->alarms();
  const int index = edits.IndexOf(alarm);
  return index >= 0 ? edits.alarms()[index].texts : AlarmSettings{};
}

// The list's "下次" and the icon's tip, once a minute and after a change of the calendar.
void Application::ShowNextRings() {
  form1_->RefreshNextRings();
  std::optional<std::int64_t> next;
  for (int i = 0; i < form1_->AlarmCount(); ++i) {
    const std::optional<std::int64_t> ring = tick_->NextRing(i);
    if (ring && (!next || *ring < *next)) next = ring;
  }
  form1_->SetTrayTipDetail(Widen("下次: " + NextRingText(next, tick_->NowSecond())).value_or(L""));
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
  if (++holiday_ticks_ >= 60000 / kTickIntervalMs) {
    holiday_ticks_ = 0;
    RefreshHolidays();
    TellWhenNextYearUnknown();
    ShowNextRings();
  }
  if (watchdog_) watchdog_->Ticked();
  tick_->Tick();
  reminder_->Look();
  Sound(reminder_sound_.Look(TheLocalClock().MonotonicMs()), 0);  // five minutes at most
  if (restart_follow_up_.DidNotHappen(TheLocalClock().MonotonicMs())) {
    state_->DisarmRunOnce();
    Log(RestartDidNotHappenLogText());
  }
  // Every five seconds: a picture file that changed is made ready again.
  HoldPictureWhenWanted();
}

void Application::PicturesSaved() {
  // Changed within the minute before: made ready again.
  if (held_alarm_ != 0) preparer_->Prepare(ReminderTexts(held_alarm_).picture);
}

void Application::HoldPictureWhenWanted() {
  // The picture is made ready from a minute before the reminder's second and let go once
  // that second has passed: the reminder took its own reference at its load. A reminder
  // waiting its turn or its picture keeps its picture wanted.
  const int wanted =
      reminder_->WaitingAlarm() != 0 ? reminder_->WaitingAlarm() : tick_->PictureWanted();
  if (wanted != held_alarm_) {
    held_alarm_ = wanted;
    ticks_ = 0;
    if (wanted != 0) {
      preparer_->Prepare(ReminderTexts(wanted).picture);
    } else {
      preparer_->Release();
    }
  }
  // While held, a picture file that changed is made ready again (looked at every 5 s).
  if (held_alarm_ != 0 && ++ticks_ == 5000 / kTickIntervalMs) {
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
  form1_->SetPutOffHooks([this] { return tick_->PendingPutOffs(); },
                         [this](int alarm) { CancelPutOff(alarm); });
  form1_->SetNextRingHook(
      [this](int index) { return NextRingText(tick_->NextRing(index), tick_->NowSecond()); });
  form1_->SetPictureReadyHook([this] {
    preparer_->Adopt();
    reminder_->Look();
  });
  if (!form1_->Load(show_window_)) return 1;
  preparer_->SetWindow(form1_->hwnd());
  StartWatchdog();
  RefreshHolidays();
  RestorePutOffs();
  ShowNextRings();
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
