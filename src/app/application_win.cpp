#include "app/application_win.h"

#include <windows.h>

#include "app/form1_layout.h"
#include "app/form1_win.h"
#include "app/holidays_win.h"
#include "app/single_instance_win.h"
#include "app/start_at_login_win.h"
#include "reminder/form2_win.h"
#include "reminder/prepared_picture_win.h"
#include "scheduler/alarm_tick_win.h"
#include "scheduler/close_win.h"
#include "scheduler/power_warning_win.h"
#include "scheduler/holiday_file.h"
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

// The pending put-off in the settings file's own section, written without touching the
// settings; removed when it rang or was cancelled.
void KeepPutOff(std::int64_t due) {
  (void)WriteIniValue(ProgramState::kSection, ProgramState::kPutOff, StampText(due),
                      AppSettingsFile());
}
void ForgetPutOff() {
  (void)RemoveIniValue(ProgramState::kSection, ProgramState::kPutOff, AppSettingsFile());
}

// The trigger second of the last shut-down or restart carried out, as recorded.
std::optional<std::int64_t> LastPowerAction() {
  return ParseStamp(
      ReadIniValue(ProgramState::kSection, ProgramState::kLastPowerAction, AppSettingsFile()));
}

// Recorded before the request, so that a second that comes back (a clock set back after
// the restart) never runs it again. The settings' keys are not touched.
void RecordPowerAction(std::int64_t occurrence) {
  (void)WriteIniValue(ProgramState::kSection, ProgramState::kLastPowerAction, StampText(occurrence),
                      AppSettingsFile());
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
      tick_(std::make_unique<AlarmTick>(*form1_, TheLocalClock(), Effects(), LastPowerAction())) {}

AlarmEffects Application::Effects() {
  AlarmEffects effects = SystemAlarmEffects(
      [this] { form2_->Show(); }, [this](const std::wstring& text) { form1_->ShowBalloon(text); });
  effects.before_power = [](AlarmAction action, std::int64_t occurrence) {
    RecordPowerAction(occurrence);
    // Back after its own restart: when it would not start at log-in, once through RunOnce.
    // An off computer is what the user asked for.
    if (action == AlarmAction::kRestart) ArmRunOnceForRestart();
  };
  effects.power_refused = [](AlarmAction action) {
    // The restart did not happen: no start after a restart that someone else does later.
    if (action == AlarmAction::kRestart) DisarmRunOnce();
  };
  effects.put_off_rang = [] { ForgetPutOff(); };
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
    warning_->Update(std::nullopt, {});  // without the tick nothing is shut down any more
  }
  // The process ends when none of its windows is loaded: an open reminder keeps it alive.
  if (!form1_->IsLoaded() && !form2_->IsLoaded()) PostQuitMessage(0);
}

void Application::PutOff(int minutes) {
  KeepPutOff(tick_->PutOffReminder(minutes));
}

void Application::CancelPutOff() {
  tick_->CancelPutOff();
  ForgetPutOff();
}

void Application::RestorePutOff() {
  const std::string stored =
      ReadIniValue(ProgramState::kSection, ProgramState::kPutOff, AppSettingsFile());
  if (stored.empty()) return;
  const std::optional<std::int64_t> due = ParseStamp(stored);
  if (due && DecidePutOffAtStart(*due, tick_->NowSecond()) == PutOffAtStart::kArm) {
    tick_->RearmPutOff(*due);  // still ahead, or shown at the first tick
    return;
  }
  ForgetPutOff();
  if (due) form1_->ShowBalloon(Widen(DroppedPutOffText(*due)).value_or(L""));
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
  }
  tick_->Tick();
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
  const bool wanted = tick_->PictureWanted();
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

int Application::Run() {
  // The folder was moved: a Run value left naming the old norvel.exe names this one again.
  RepairStartAtLogin();
  form1_->SetPutOffHooks([this] { return tick_->PendingPutOff(); }, [this] { CancelPutOff(); });
  form1_->SetPictureReadyHook([this] { preparer_->Adopt(); });
  if (!form1_->Load(show_window_)) return 1;
  preparer_->SetWindow(form1_->hwnd());
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
