#include "scheduler/alarm_tick_win.h"

#include <mutex>

#include "scheduler/close_win.h"
#include "settings/app_path_win.h"
#include "toolkit/text_win.h"

namespace norvel {
namespace {

std::wstring W(std::string_view utf8) {
  return Widen(utf8).value_or(std::wstring());
}

}  // namespace

LocalTime LocalClock::Now() const {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  LocalTime t;
  t.year = st.wYear;
  t.month = st.wMonth;
  t.day = st.wDay;
  t.hour = st.wHour;
  t.minute = st.wMinute;
  t.second = st.wSecond;
  t.millisecond = st.wMilliseconds;
  t.weekday = st.wDayOfWeek;
  return t;
}

std::int64_t LocalClock::MonotonicMs() const {
  return static_cast<std::int64_t>(GetTickCount64());  // runs on during sleep; never wraps
}

void AppendToProgramLog(const std::string& line) {
  static std::mutex one_at_a_time;
  const std::lock_guard<std::mutex> lock(one_at_a_time);
  // A folder that cannot be written means no log, and nothing else changes.
  AppendToLog(LogFilePath(AppDirectory()), line);
}

AlarmEffects SystemAlarmEffects(std::function<void(const std::vector<int>&)> show_reminders,
                                std::function<void(const std::wstring&)> tell) {
  AlarmEffects effects;
  effects.show_reminders = std::move(show_reminders);
  effects.exit_windows = RequestExitWindows;
  effects.tell = std::move(tell);
  effects.log = AppendToProgramLog;
  return effects;
}

AlarmTick::AlarmTick(AlarmView& view, const Clock& clock, AlarmEffects effects,
                     std::optional<std::int64_t> last_power_second)
    : view_(view),
      clock_(clock),
      effects_(std::move(effects)),
      alarms_(last_power_second),
      parts_{W(kStatusToday), W(kStatusNow), W(kStatusGap), W(kWeekdayPrefix)} {
  status_.reserve(128);
  shown_status_.reserve(128);
}

void AlarmTick::Tick() {
  const LocalTime now = clock_.Now();
  Apply(alarms_.Tick({now, clock_.MonotonicMs()}, view_), now);
  // In step with the clock's seconds: a second's first tick comes just after it begins.
  if (const int interval = phase_.After(now.millisecond)) view_.RetimeTick(interval);
}

void AlarmTick::Apply(const AlarmSetPlan& plan, const LocalTime& now) {
  if (plan.new_second) UpdateStatusLine(now);
  picture_wanted_ = plan.hold_picture_alarm;
  if (plan.update_warning && effects_.warn) {
    effects_.warn(plan.warning, W(ActionText(plan.warning_action)));
  }
  if (plan.warning_appeared && effects_.warning_appeared) {
    effects_.warning_appeared(plan.warning_alarm);
  }
  for (const AlarmEvent& event : plan.events) Note(event, now);
  if (plan.unknown_holiday_year && effects_.tell) {
    effects_.tell(W(UnknownHolidayYearText(*plan.unknown_holiday_year)));
  }
  if (effects_.put_off_ended) {
    for (const int alarm : plan.put_offs_ended) effects_.put_off_ended(alarm);
  }
  if (!plan.reminders.empty() && effects_.show_reminders) effects_.show_reminders(plan.reminders);
  if (IsPowerAction(plan.power)) RunPowerAction(plan, now);
}

void AlarmTick::RunPowerAction(const AlarmSetPlan& plan, const LocalTime& now) {
  if (plan.record_power && effects_.before_power) {
    effects_.before_power(plan.power, plan.power_occurrence);
  }
  if (!effects_.exit_windows) return;
  const DWORD error =
      effects_.exit_windows(plan.power == AlarmAction::kShutDown ? EWX_SHUTDOWN : EWX_REBOOT);
  // Only the first request of its second tells: a repeat on a later tick may be refused
  // because the first one is already under way.
  if (error == 0 || !plan.record_power) return;
  if (effects_.power_refused) effects_.power_refused(plan.power);
  if (const auto failed =
          alarms_.PowerActionFailed(plan.power_alarm, plan.power, plan.power_occurrence, error)) {
    Note(*failed, now);
  }
}

void AlarmTick::Note(const AlarmEvent& event, const LocalTime& now) {
  if (effects_.log) effects_.log(LogLine(event, now));
  const std::string notice = EventNotice(event);
  if (!notice.empty() && effects_.tell) effects_.tell(W(notice));
}

std::int64_t AlarmTick::PutOffReminder(int alarm, int minutes) {
  // To the second: that many minutes after the choice.
  const std::int64_t due = NowSecond() + std::int64_t{minutes} * 60;
  alarms_.PutOff(alarm, due);
  return due;
}

void AlarmTick::CancelPowerAction(std::int64_t occurrence) {
  const LocalTime now = clock_.Now();
  for (const AlarmEvent& event : alarms_.CancelPowerAction(occurrence)) Note(event, now);
}

void AlarmTick::UpdateStatusLine(const LocalTime& now) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(now.year);
  st.wMonth = static_cast<WORD>(now.month);
  st.wDay = static_cast<WORD>(now.day);
  st.wDayOfWeek = static_cast<WORD>(now.weekday);
  st.wHour = static_cast<WORD>(now.hour);
  st.wMinute = static_cast<WORD>(now.minute);
  st.wSecond = static_cast<WORD>(now.second);
  wchar_t date[80], time[80];
  const int date_len =
      GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, 80, nullptr);
  const int time_len = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, time, 80);
  ComposeStatusLine<wchar_t>(status_, parts_,
                             std::wstring_view(date, date_len > 0 ? date_len - 1 : 0),
                             std::wstring_view(time, time_len > 0 ? time_len - 1 : 0), now.weekday);
  if (!note_.empty()) {
    status_.assign(note_).append(parts_.now).append(time, time_len > 0 ? time_len - 1 : 0);
  }
  // Repainted only when the text changes, that is once a second.
  if (status_ != shown_status_) {
    view_.ShowStatusLine(status_.c_str());
    shown_status_.assign(status_);
  }
}

}  // namespace norvel
