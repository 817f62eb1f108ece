#include "scheduler/alarm_set.h"

#include <algorithm>

#include "scheduler/calendar/civil_date.h"
#include "scheduler/power_warning.h"

namespace norvel {
namespace {

// One alarm's lists, read through the set's texts at the alarm's index.
class IndexedTexts final : public ListTexts {
 public:
  IndexedTexts(const AlarmTexts& texts, int index) : texts_(&texts), index_(index) {}
  void Point(const AlarmTexts& texts, int index) {
    texts_ = &texts;
    index_ = index;
  }
  std::wstring_view Text(AlarmList list, wchar_t (&buffer)[kBuffer]) const override {
    return texts_->AlarmText(index_, list, buffer);
  }

 private:
  const AlarmTexts* texts_;
  int index_;
};

// The warning nearer in time, a shut-down before a restart of the same second.
bool Sooner(const PowerWarning& a, AlarmAction a_action, const PowerWarning& b,
            AlarmAction b_action) {
  if (a.occurrence != b.occurrence) return a.occurrence < b.occurrence;
  return a_action == AlarmAction::kShutDown && b_action != AlarmAction::kShutDown;
}

}  // namespace

struct AlarmSet::Slot {
  Slot(int alarm, const AlarmTexts& texts, std::optional<std::int64_t> last_power)
      : number(alarm), view(texts, 0), scheduler(last_power) {}
  int number;
  IndexedTexts view;
  Scheduler scheduler;
  ListsReading lists{view};
  const TickPlan* plan = nullptr;  // this tick's, while the alarm is on
  std::optional<PowerWarning> warning;
  AlarmAction warning_action = AlarmAction::kNone;
};

namespace {

class NoTexts final : public AlarmTexts {
 public:
  int AlarmCount() const override { return 0; }
  int AlarmNumber(int) const override { return 0; }
  bool AlarmEnabled(int) const override { return false; }
  std::wstring_view AlarmText(int, AlarmList, wchar_t (&)[ListTexts::kBuffer]) const override {
    return {};
  }
};
const NoTexts kNoTexts;

}  // namespace

AlarmSet::AlarmSet(std::optional<std::int64_t> last_power_second)
    : last_power_(last_power_second) {}
AlarmSet::~AlarmSet() = default;

AlarmSet::Slot& AlarmSet::SlotOf(int alarm) {
  for (const auto& slot : slots_) {
    if (slot->number == alarm) return *slot;
  }
  // Not ticked yet (a put-off kept from an earlier run): placed at the first tick.
  slots_.push_back(std::make_unique<Slot>(alarm, kNoTexts, last_power_));
  slots_.back()->scheduler.SetCalendar(*calendar_);
  return *slots_.back();
}

void AlarmSet::Sync(const AlarmTexts& texts) {
  // Kept in the list's order; the usual tick finds every alarm where it was.
  const auto count = static_cast<std::size_t>(texts.AlarmCount());
  for (std::size_t i = 0; i < count; ++i) {
    const int number = texts.AlarmNumber(static_cast<int>(i));
    if (i >= slots_.size() || slots_[i]->number != number) {
      const auto found = std::find_if(slots_.begin() + static_cast<std::ptrdiff_t>(i), slots_.end(),
                                      [&](const auto& slot) { return slot->number == number; });
      if (found != slots_.end()) {
        std::iter_swap(slots_.begin() + static_cast<std::ptrdiff_t>(i), found);
      } else {
        auto slot = std::make_unique<Slot>(number, texts, last_power_);
        slot->scheduler.SetCalendar(*calendar_);
        slots_.insert(slots_.begin() + static_cast<std::ptrdiff_t>(i), std::move(slot));
      }
    }
    slots_[i]->view.Point(texts, static_cast<int>(i));
  }
  // Deleted alarms: their put-offs end with them.
  for (std::size_t i = count; i < slots_.size(); ++i) {
    if (slots_[i]->scheduler.PendingPutOff()) plan_.put_offs_ended.push_back(slots_[i]->number);
    if (slots_[i]->warning) shown_warning_.reset();
  }
  if (slots_.size() > count) slots_.resize(count);
}

const AlarmSetPlan& AlarmSet::Tick(const TickReading& reading, const AlarmTexts& texts) {
  plan_.reminders.clear();
  plan_.events.clear();
  plan_.put_offs_ended.clear();
  plan_.power = AlarmAction::kNone;
  plan_.record_power = false;
  plan_.power_alarm = 0;
  plan_.hold_picture_alarm = 0;
  plan_.unknown_holiday_year.reset();
  plan_.now_second = CivilSeconds(reading.wall);
  plan_.new_second = plan_.now_second != status_second_;
  status_second_ = plan_.now_second;
  Sync(texts);
  bool warnings_changed = false;
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    Slot& slot = *slots_[i];
    if (!texts.AlarmEnabled(static_cast<int>(i))) {
      if (slot.scheduler.PendingPutOff()) plan_.put_offs_ended.push_back(slot.number);
      slot.scheduler.Pause();
      slot.plan = nullptr;
      warnings_changed |= slot.warning.has_value();
      slot.warning.reset();
      continue;
    }
    slot.lists.NextTick();
    slot.plan = &slot.scheduler.Tick(reading, slot.lists);
    ChoosePower(slot, *slot.plan);
    if (slot.plan->update_warning) {
      warnings_changed = true;
      slot.warning = slot.plan->warning;
      slot.warning_action = slot.plan->warning_action;
    }
  }
  for (const auto& slot : slots_) {
    if (slot->plan) Merge(*slot, *slot->plan);
  }
  MergeWarnings(warnings_changed);
  return plan_;
}

void AlarmSet::ChoosePower(const Slot& slot, const TickPlan& plan) {
  // At most one a second: a shut-down wins over a restart, else the first in the list.
  if (!IsPowerAction(plan.power)) return;
  if (plan_.power == AlarmAction::kNone ||
      (plan.power == AlarmAction::kShutDown && plan_.power == AlarmAction::kRestart)) {
    plan_.power = plan.power;
    plan_.power_occurrence = plan.power_occurrence;
    plan_.record_power = plan.record_power;
    plan_.power_alarm = slot.number;
  }
}

void AlarmSet::Merge(Slot& slot, const TickPlan& plan) {
  if (plan.show_reminder) plan_.reminders.push_back(slot.number);
  for (AlarmEvent event : plan.events) {
    // The power action that lost to another of its second was not asked of the system.
    if (event.kind == AlarmEventKind::kPowerRequested && slot.number != plan_.power_alarm) continue;
    event.alarm = slot.number;
    plan_.events.push_back(event);
  }
  if (plan.hold_picture && plan_.hold_picture_alarm == 0) plan_.hold_picture_alarm = slot.number;
  if (plan.put_off_rang) plan_.put_offs_ended.push_back(slot.number);
  if (plan.unknown_holiday_year && std::find(told_years_.begin(), told_years_.end(),
                                             *plan.unknown_holiday_year) == told_years_.end()) {
    told_years_.push_back(*plan.unknown_holiday_year);
    plan_.unknown_holiday_year = plan.unknown_holiday_year;
  }
}

void AlarmSet::MergeWarnings(bool changed) {
  plan_.update_warning = false;
  plan_.warning_appeared = false;
  if (!changed) return;
  const Slot* nearest = nullptr;
  for (const auto& slot : slots_) {
    if (slot->warning && (!nearest || Sooner(*slot->warning, slot->warning_action,
                                             *nearest->warning, nearest->warning_action))) {
      nearest = slot.get();
    }
  }
  const std::optional<PowerWarning> warning = nearest ? nearest->warning : std::nullopt;
  const AlarmAction action = nearest ? nearest->warning_action : AlarmAction::kNone;
  // The window is told once a second while a warning counts, and once when the last closes.
  if (!warning && !shown_warning_) return;
  plan_.update_warning = true;
  plan_.warning = warning;
  plan_.warning_action = warning ? action : shown_warning_action_;
  plan_.warning_alarm = nearest ? nearest->number : 0;
  plan_.warning_appeared = warning && !shown_warning_;
  shown_warning_ = warning;
  shown_warning_action_ = action;
}

void AlarmSet::SetCalendar(const HolidayCalendar& calendar) {
  calendar_ = &calendar;
  for (const auto& slot : slots_) slot->scheduler.SetCalendar(calendar);
}

void AlarmSet::PutOff(int alarm, std::int64_t due) {
  SlotOf(alarm).scheduler.PutOffReminder(due);
}

void AlarmSet::CancelPutOff(int alarm) {
  SlotOf(alarm).scheduler.CancelPutOff();
}

std::vector<std::pair<int, std::int64_t>> AlarmSet::PendingPutOffs() const {
  std::vector<std::pair<int, std::int64_t>> pending;
  for (const auto& slot : slots_) {
    if (const auto due = slot->scheduler.PendingPutOff()) pending.emplace_back(slot->number, *due);
  }
  return pending;
}

std::vector<AlarmEvent> AlarmSet::CancelPowerAction(std::int64_t occurrence) {
  // Every alarm warning for that second is spared: the user cancelled the second's action.
  std::vector<AlarmEvent> events;
  for (const auto& slot : slots_) {
    if (!slot->warning || slot->warning->occurrence != occurrence) continue;
    AlarmEvent event = slot->scheduler.CancelPowerAction(occurrence, slot->warning_action);
    event.alarm = slot->number;
    events.push_back(event);
    slot->warning.reset();
  }
  shown_warning_.reset();
  return events;
}

std::optional<AlarmEvent> AlarmSet::PowerActionFailed(int alarm, AlarmAction action,
                                                      std::int64_t occurrence,
                                                      std::uint32_t error) {
  std::optional<AlarmEvent> event =
      SlotOf(alarm).scheduler.PowerActionFailed(action, occurrence, error);
  if (event) event->alarm = alarm;
  return event;
}

std::optional<std::int64_t> AlarmSet::NextRing(const AlarmTexts& texts, int index,
                                               std::int64_t now_second) const {
  if (!texts.AlarmEnabled(index)) return std::nullopt;
  const IndexedTexts view(texts, index);
  ListsReading lists(view);
  const std::optional<TriggerTime> trigger = lists.Trigger();
  if (!trigger) return std::nullopt;
  return NextRingSecond(now_second + 1, *trigger, lists.Days(), *calendar_);
}

}  // namespace norvel
