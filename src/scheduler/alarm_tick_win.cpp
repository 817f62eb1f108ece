#include "scheduler/alarm_tick_win.h"

#include "scheduler/ZXH_win.h"
#include "scheduler/close_win.h"
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

AlarmEffects SystemAlarmEffects(std::function<void()> show_form2,
                                std::function<void(const std::wstring&)> tell) {
  AlarmEffects effects;
  effects.show_reminder = [show = std::move(show_form2)] {
    EnumWindows(MinimizeWindowProc, 0);
    show();
  };
  effects.exit_windows = [](UINT flags) {
    EnableShutdownPrivilege();
    ExitWindowsEx(flags, 0);  // never forced: other programs may save their work or refuse
  };
  effects.tell_missed = std::move(tell);
  return effects;
}

AlarmTick::AlarmTick(AlarmView& view, const Clock& clock, AlarmEffects effects)
    : view_(view),
      clock_(clock),
      effects_(std::move(effects)),
      parts_{W(kStatusToday), W(kStatusNow), W(kStatusGap), W(kWeekdayPrefix)},
      every_hour_(W(kEveryHourText)),
      remind_(W(kRemindText)),
      shut_down_(W(kShutDownText)),
      restart_(W(kRestartText)),
      actions_{remind_, shut_down_, restart_} {
  status_.reserve(128);
  shown_status_.reserve(128);
}

void AlarmTick::UpdateStatusLine(const LocalTime& now, std::int64_t now_second) {
  // Date and time texts have no unit below the second: within one second there is nothing
  // new to format.
  if (now_second == status_second_) return;
  status_second_ = now_second;
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
  // Repainted only when the text changes, that is once a second.
  if (status_ != shown_status_) {
    view_.ShowStatusLine(status_.c_str());
    shown_status_.assign(status_);
  }
}

void AlarmTick::CatchUp(const TickReading& previous, const TickReading& current) {
  wchar_t hour[AlarmView::kListBuffer], minute[AlarmView::kListBuffer],
      second[AlarmView::kListBuffer], action[AlarmView::kListBuffer];
  const std::optional<MissedTrigger> missed = FindMissedTriggerReading<wchar_t>(
      previous, current, [&] { return ReadList(AlarmList::kHour, hour); },
      [&] { return ReadList(AlarmList::kMinute, minute); },
      [&] { return ReadList(AlarmList::kSecond, second); }, every_hour_);
  if (!missed) return;
  const AlarmAction named = ActionNamed<wchar_t>(ReadList(AlarmList::kAction, action), actions_);
  if (named == AlarmAction::kRemind) {
    // A reminder the user asked for is still wanted after a stall or a sleep.
    if (effects_.show_reminder) effects_.show_reminder();
  } else if (named != AlarmAction::kNone && PowerActionStillDue(*missed)) {
    RunPowerAction(named, missed->civil_second);
  } else if (named != AlarmAction::kNone && !warnings_.Cancelled(missed->civil_second) &&
             effects_.tell_missed) {
    // Never late: a machine going down minutes or hours after its time would surprise the
    // user at work.
    effects_.tell_missed(
        W(MissedPowerActionText(TimeOfDayOf(missed->civil_second),
                                named == AlarmAction::kShutDown ? kShutDownText : kRestartText)));
  }
}

void AlarmTick::RunPowerAction(AlarmAction action, std::int64_t occurrence) {
  // A shut-down or restart that the user cancelled in its warning does not happen.
  if (warnings_.Cancelled(occurrence) || !effects_.exit_windows) return;
  effects_.exit_windows(action == AlarmAction::kShutDown ? EWX_SHUTDOWN : EWX_REBOOT);
}

void AlarmTick::CancelPowerAction(std::int64_t occurrence) {
  warnings_.Cancel(occurrence);
  warning_shown_ = false;  // the window closed itself
  warned_second_ = -1;
}

void AlarmTick::UpdateWarning(std::int64_t now_second) {
  // Decided once a second: the count changes only then, and a list changed meanwhile moves
  // or closes the warning within that second.
  if (now_second == warned_second_) return;
  warned_second_ = now_second;
  wchar_t hour[AlarmView::kListBuffer], minute[AlarmView::kListBuffer],
      second[AlarmView::kListBuffer], action[AlarmView::kListBuffer];
  const std::wstring_view action_text = ReadList(AlarmList::kAction, action);
  const AlarmAction named = ActionNamed<wchar_t>(action_text, actions_);
  std::optional<PowerWarning> warning;
  if (named == AlarmAction::kShutDown || named == AlarmAction::kRestart) {
    const std::optional<TriggerTime> trigger = TriggerFromReading<wchar_t>(
        [&] { return ReadList(AlarmList::kHour, hour); },
        [&] { return ReadList(AlarmList::kMinute, minute); },
        [&] { return ReadList(AlarmList::kSecond, second); }, every_hour_);
    if (trigger) warning = warnings_.At(now_second, *trigger);
  }
  if ((warning || warning_shown_) && effects_.warn)
    effects_.warn(warning, std::wstring(action_text));
  warning_shown_ = warning.has_value();
}

void AlarmTick::Tick() {
  const LocalTime now = clock_.Now();
  const TickReading reading{now, clock_.MonotonicMs()};
  // Only when ticks did not arrive (two seconds or more since the last one) is there a
  // trigger second to catch up; the ordinary tick below is as before.
  if (previous_) CatchUp(*previous_, reading);
  previous_ = reading;
  const std::int64_t now_second = CivilSeconds(now);
  UpdateStatusLine(now, now_second);
  UpdateWarning(now_second);

  wchar_t hour[AlarmView::kListBuffer], minute[AlarmView::kListBuffer],
      second[AlarmView::kListBuffer], action[AlarmView::kListBuffer];
  const bool matches = TriggerMatchesReading<wchar_t>(
      [&] { return ReadList(AlarmList::kHour, hour); },
      [&] { return ReadList(AlarmList::kMinute, minute); },
      [&] { return ReadList(AlarmList::kSecond, second); }, every_hour_, now);
  if (!matches) return;
  const AlarmAction named = ActionNamed<wchar_t>(ReadList(AlarmList::kAction, action), actions_);
  if (named == AlarmAction::kRemind && effects_.show_reminder) effects_.show_reminder();
  if (named == AlarmAction::kShutDown || named == AlarmAction::kRestart) {
    RunPowerAction(named, now_second);
  }
}

}  // namespace norvel
