#include "scheduler/scheduler.h"

#include <algorithm>
#include <utility>

namespace norvel {

const TickPlan& Scheduler::Tick(const TickReading& reading, ListsReading& lists) {
  plan_.events.clear();
  plan_.show_reminder = false;
  plan_.power = AlarmAction::kNone;
  plan_.record_power = false;
  plan_.update_warning = false;
  plan_.unknown_holiday_year.reset();
  plan_.put_off_rang = false;
  plan_.now_second = CivilSeconds(reading.wall);
  // Only when ticks did not arrive (two seconds or more since the last one) is there a
  // trigger second to catch up; the ordinary tick below is as before.
  same_second_ = previous_ && CivilSeconds(previous_->wall) == plan_.now_second;
  if (previous_) CatchUp(*previous_, reading, lists);
  previous_ = reading;
  // Date and time texts have no unit below the second: within one second nothing is new.
  plan_.new_second = plan_.now_second != status_second_;
  status_second_ = plan_.now_second;
  UpdateWarning(lists);
  if (plan_.new_second) hold_picture_ = ReminderSoon(reading.wall, lists);
  plan_.hold_picture = hold_picture_;
  const std::optional<std::int64_t> put_off = put_off_.due();
  if (put_off_.DueAt(plan_.now_second)) {
    // Also when no tick saw its second (a stall, a sleep): shown once, however late.
    plan_.show_reminder = plan_.put_off_rang = true;
    plan_.events.push_back({AlarmEventKind::kPutOffShown, AlarmAction::kRemind, *put_off,
                            plan_.now_second - *put_off});
  }

  // Every tick of the matching second acts: a reminder is brought to the front again, and a
  // request the system refused is asked again for the rest of that second.
  if (!lists.MatchesTimeOfDay(reading.wall) || !RingsOn(lists, plan_.now_second)) return plan_;
  const AlarmAction action = lists.Action();
  if (action == AlarmAction::kRemind) Remind(plan_.now_second, 0);
  if (IsPowerAction(action)) RunPowerAction(action, plan_.now_second);
  return plan_;
}

void Scheduler::CatchUp(const TickReading& previous, const TickReading& current,
                        ListsReading& lists) {
  if (CivilSeconds(current.wall) - CivilSeconds(previous.wall) < 2) return;
  const std::optional<TriggerTime> trigger = lists.Trigger();
  if (!trigger) return;
  const std::optional<MissedTrigger> missed = FindMissedTrigger(previous, current, *trigger);
  // On a day the alarm does not ring there is nothing to catch up.
  if (!missed || !RingsOn(lists, missed->civil_second)) return;
  const AlarmAction action = lists.Action();
  if (action == AlarmAction::kRemind) {
    // A reminder the user asked for is still wanted after a stall or a sleep.
    Remind(missed->civil_second, missed->seconds_late);
  } else if (IsPowerAction(action) && PowerActionStillDue(*missed)) {
    CatchUpPowerAction(action, *missed);
  } else if (IsPowerAction(action) && !warnings_.Cancelled(missed->civil_second) &&
             !PowerActionDone(missed->civil_second)) {
    // Never late: a machine going down minutes or hours after its time would surprise the
    // user at work.
    plan_.events.push_back(
        {AlarmEventKind::kPowerSkippedLate, action, missed->civil_second, missed->seconds_late});
  }
}

void Scheduler::CatchUpPowerAction(AlarmAction action, const MissedTrigger& missed) {
  // The user had its warning (a hold-up of a few seconds): carried out at once. Otherwise
  // (the machine slept through the warning's minute, the program was held up from before
  // it) the warning comes now, counting a minute from here, and 取消 still spares it.
  if (warned_occurrence_ == missed.civil_second) {
    RunPowerAction(action, missed.civil_second, missed.seconds_late);
    return;
  }
  if (warnings_.Cancelled(missed.civil_second) || PowerActionDone(missed.civil_second)) return;
  late_power_ = LatePowerAction{action, missed.civil_second, plan_.now_second + kWarningSeconds};
  warned_second_ = -1;  // the warning shows in this very tick
}

void Scheduler::UpdateWarning(ListsReading& lists) {
  // Decided once a second: the count changes only then, and a list changed meanwhile moves
  // or closes the warning within that second.
  if (plan_.now_second == warned_second_) return;
  warned_second_ = plan_.now_second;
  // A late shut-down or restart (取消 forgets it) counts down, then is carried out.
  if (late_power_ && plan_.now_second >= late_power_->due) {
    const LatePowerAction late = *std::exchange(late_power_, std::nullopt);
    RunPowerAction(late.action, late.occurrence, plan_.now_second - late.occurrence);
  }
  if (late_power_) {
    plan_.update_warning = true;
    plan_.warning =
        WarningWithSecondsLeft(late_power_->occurrence, late_power_->due - plan_.now_second);
    plan_.warning_action = late_power_->action;
    warned_occurrence_ = late_power_->occurrence;
    return;
  }
  const AlarmAction action = lists.Action();
  std::optional<PowerWarning> warning;
  if (IsPowerAction(action)) {
    if (const std::optional<TriggerTime> trigger = lists.Trigger()) {
      warning = warnings_.At(plan_.now_second, *trigger);
      if (warning &&
          (PowerActionDone(warning->occurrence) || !RingsOn(lists, warning->occurrence))) {
        warning.reset();
      }
    }
  }
  plan_.update_warning = warning.has_value() || warned_occurrence_ >= 0;
  plan_.warning = warning;
  plan_.warning_action = action;
  warned_occurrence_ = warning ? warning->occurrence : -1;
}

bool Scheduler::ReminderSoon(const LocalTime& now, ListsReading& lists) {
  const std::int64_t second = plan_.now_second;
  if (const auto due = put_off_.due(); due && *due - second <= kPrepareAheadSeconds) return true;
  if (lists.Action() != AlarmAction::kRemind) return false;
  // Minute and second first (the second list is read on every tick anyway): only a trigger
  // within the next minute of the hour needs the hour and the day.
  const int s = lists.Second(), m = lists.Minute();
  if (s < 0 || m < 0) return false;
  if (FloorMod(m * 60 + s - (now.minute * 60 + now.second), 3600) > kPrepareAheadSeconds) {
    return false;
  }
  const std::optional<TriggerTime> trigger = lists.Trigger();
  if (!trigger) return false;
  const std::int64_t next = NextTriggerSecond(second, *trigger);
  return next - second <= kPrepareAheadSeconds && RingsOn(lists, next);
}

void Scheduler::Remind(std::int64_t occurrence, std::int64_t seconds_late) {
  plan_.show_reminder = true;
  if (occurrence == reminded_) return;
  reminded_ = occurrence;
  plan_.events.push_back(
      {seconds_late > 0 ? AlarmEventKind::kReminderCaughtUp : AlarmEventKind::kReminderShown,
       AlarmAction::kRemind, occurrence, seconds_late});
}

bool Scheduler::RingsOn(ListsReading& lists, std::int64_t occurrence) {
  const DayRule rule = lists.Days();
  if (rule == DayRule::kEveryDay) return true;
  const DayRuleMatch match = DayRuleMatches(rule, DateOfCivilSecond(occurrence), *calendar_);
  if (match.unknown_year &&
      std::find(told_years_.begin(), told_years_.end(), *match.unknown_year) == told_years_.end()) {
    told_years_.push_back(*match.unknown_year);
    plan_.unknown_holiday_year = match.unknown_year;
  }
  return match.rings;
}

bool Scheduler::PowerActionDone(std::int64_t occurrence) const {
  return recorded_power_ == occurrence;
}

void Scheduler::RunPowerAction(AlarmAction action, std::int64_t occurrence,
                               std::int64_t seconds_late) {
  // A shut-down or restart that the user cancelled in its warning does not happen.
  if (warnings_.Cancelled(occurrence)) return;
  if (requested_power_ == occurrence && same_second_ && occurrence == plan_.now_second) {
    // Asked again on the following ticks of its own second, as long as the system has not
    // ended the program: another program may have refused the first request.
    plan_.power = action;
    plan_.power_occurrence = occurrence;
    return;
  }
  if (PowerActionDone(occurrence)) {
    // Carried out before, and the second came back (a clock set back after the restart):
    // a timed restart must never loop.
    if (refused_power_ != occurrence) {
      refused_power_ = occurrence;
      plan_.events.push_back({AlarmEventKind::kPowerRepeatRefused, action, occurrence});
    }
    return;
  }
  plan_.power = action;
  plan_.power_occurrence = occurrence;
  plan_.record_power = true;
  requested_power_ = occurrence;
  recorded_power_ = occurrence;
  plan_.events.push_back({AlarmEventKind::kPowerRequested, action, occurrence, seconds_late});
}

AlarmEvent Scheduler::CancelPowerAction(std::int64_t occurrence, AlarmAction action) {
  warnings_.Cancel(occurrence);
  if (late_power_ && late_power_->occurrence == occurrence) late_power_.reset();
  warned_occurrence_ = -1;  // the window closed itself
  warned_second_ = -1;
  return {AlarmEventKind::kPowerCancelled, action, occurrence};
}

std::optional<AlarmEvent> Scheduler::PowerActionFailed(AlarmAction action, std::int64_t occurrence,
                                                       std::uint32_t error) {
  if (failed_power_ == occurrence) return std::nullopt;
  failed_power_ = occurrence;
  return AlarmEvent{AlarmEventKind::kPowerFailed, action, occurrence, 0, error};
}

}  // namespace norvel
