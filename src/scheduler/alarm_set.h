// The alarms together: one scheduler per alarm, each ticked with its own lists, and one plan
// for the tick from theirs. Every alarm due in a tick acts in it: one reminder each, at most
// one shut-down or restart a second (a shut-down wins over a restart), one warning window
// for the nearest shut-down or restart. An alarm that is off never rings, is never caught up
// and never warns; its put-off is dropped.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "scheduler/alarm_lists.h"
#include "scheduler/next_ring.h"
#include "scheduler/scheduler.h"

namespace norvel {

// The alarms as the settings window has them: in the list's order, each with its number
// (its identity), whether it is on, and its lists' texts (the selected alarm's as its lists
// show them, saved or not).
class AlarmTexts {
 public:
  virtual int AlarmCount() const = 0;
  virtual int AlarmNumber(int index) const = 0;
  virtual bool AlarmEnabled(int index) const = 0;
  virtual std::wstring_view AlarmText(int index, AlarmList list,
                                      wchar_t (&buffer)[ListTexts::kBuffer]) const = 0;

 protected:
  ~AlarmTexts() = default;
};

// What one tick of all alarms must do. Reused from tick to tick.
struct AlarmSetPlan {
  std::int64_t now_second = 0;
  bool new_second = false;
  std::vector<int> reminders;  // the alarms whose reminder shows, in the list's order
  // The one shut-down or restart to ask of the system this tick, and whose it is.
  AlarmAction power = AlarmAction::kNone;
  std::int64_t power_occurrence = 0;
  bool record_power = false;
  int power_alarm = 0;
  // Show, update or (nullopt) close the warning window.
  bool update_warning = false;
  std::optional<PowerWarning> warning;
  AlarmAction warning_action = AlarmAction::kNone;
  int warning_alarm = 0;            // whose warning shows
  bool warning_appeared = false;    // it shows where none showed before (or was cancelled)
  std::vector<AlarmEvent> events;   // each names its alarm
  int hold_picture_alarm = 0;       // the alarm whose picture is wanted ready, or 0
  std::vector<int> put_offs_ended;  // pending no more: rang, or the alarm was switched off
  std::optional<int> unknown_holiday_year;
};

class AlarmSet {
 public:
  explicit AlarmSet(std::optional<std::int64_t> last_power_second = std::nullopt);
  ~AlarmSet();
  AlarmSet(const AlarmSet&) = delete;
  AlarmSet& operator=(const AlarmSet&) = delete;

  const AlarmSetPlan& Tick(const TickReading& reading, const AlarmTexts& texts);

  void SetCalendar(const HolidayCalendar& calendar);

  // 稍后提醒 of one alarm (civil seconds); a new one replaces its pending one.
  void PutOff(int alarm, std::int64_t due);
  void CancelPutOff(int alarm);
  // The pending put-offs, in the list's order: alarm and second.
  std::vector<std::pair<int, std::int64_t>> PendingPutOffs() const;

  // The user cancelled the shut-down or restart of this second in its warning: no alarm
  // carries it out. Returns the events to write down.
  std::vector<AlarmEvent> CancelPowerAction(std::int64_t occurrence);
  // The system refused the request of `alarm`: the event to write down, once per occurrence.
  std::optional<AlarmEvent> PowerActionFailed(int alarm, AlarmAction action,
                                              std::int64_t occurrence, std::uint32_t error);

  // The next second the alarm at `index` rings after `now_second`, or nullopt when it is off
  // or its lists name no trigger.
  std::optional<std::int64_t> NextRing(const AlarmTexts& texts, int index,
                                       std::int64_t now_second) const;

 private:
  struct Slot;
  void Sync(const AlarmTexts& texts);
  Slot& SlotOf(int alarm);
  void ChoosePower(const Slot& slot, const TickPlan& plan);
  void Merge(Slot& slot, const TickPlan& plan);
  void MergeWarnings(bool changed);

  std::vector<std::unique_ptr<Slot>> slots_;  // in the list's order
  AlarmSetPlan plan_;
  const HolidayCalendar* calendar_ = &BuiltInCalendar();
  std::optional<std::int64_t> last_power_;
  std::int64_t status_second_ = -1;
  std::vector<int> told_years_;
  std::optional<PowerWarning> shown_warning_;
  AlarmAction shown_warning_action_ = AlarmAction::kNone;
};

}  // namespace norvel
