// The settings window's lists as the tick sees them: their texts, read through a small
// interface, and one parser that turns them into numbers and an action. Reading a list is
// the costly part of a tick (under Wine a round trip to the window server), so each list is
// read only when a decision needs it, and at most once per tick.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "scheduler/alarm.h"
#include "scheduler/calendar/day_rule.h"
#include "scheduler/missed_trigger.h"

namespace norvel {

enum class AlarmList { kHour, kMinute, kSecond, kAction, kDays };

// The lists' texts as the settings window shows them, saved or not.
class ListTexts {
 public:
  static constexpr int kBuffer = 64;
  // The list's text, read into `buffer`; empty when it is empty or fills the buffer (a text
  // that long names no trigger and no action).
  virtual std::wstring_view Text(AlarmList list, wchar_t (&buffer)[kBuffer]) const = 0;

 protected:
  ~ListTexts() = default;
};

// The texts the lists offer, in the character type they are read in.
struct ListWords {
  ListWords();
  ListWords(const ListWords&) = delete;  // `days` views its own strings
  ListWords& operator=(const ListWords&) = delete;

  std::wstring every_hour, remind, shut_down, restart;
  std::array<std::wstring, kDayRuleTexts.size()> day_texts;
  std::array<std::wstring_view, kDayRuleTexts.size()> days;  // views of day_texts
  static const ListWords& Get();
};

// The one parser of the lists' texts. A number is its exact decimal form, 0 … `max`: no
// leading zero, blank or sign. Returns -1 for any other text.
int ParseListNumber(std::wstring_view text, int max);
// An hour 0 … 23, TriggerTime::kEveryHour for "每小时", or -1.
int ParseHour(std::wstring_view text, const ListWords& words);
// The action a text names; any other text names none.
AlarmAction ParseAction(std::wstring_view text, const ListWords& words);

// One tick's view of the lists: each is read and parsed on first use, then remembered until
// the next tick.
class ListsReading {
 public:
  explicit ListsReading(const ListTexts& texts, const ListWords& words = ListWords::Get())
      : texts_(texts), words_(words) {}

  // Forgets what was read: the next tick reads the lists afresh.
  void NextTick() { read_.fill(false); }

  int Second() { return Value(AlarmList::kSecond); }
  int Minute() { return Value(AlarmList::kMinute); }
  int Hour() { return Value(AlarmList::kHour); }
  AlarmAction Action() { return static_cast<AlarmAction>(Value(AlarmList::kAction)); }
  DayRule Days() { return static_cast<DayRule>(Value(AlarmList::kDays)); }
  // The trigger the lists name, read second first, then minute and hour, each only while the
  // ones before named a number.
  std::optional<TriggerTime> Trigger();
  // True when the lists name a trigger and it is this instant's second (on any day).
  bool MatchesTimeOfDay(const LocalTime& now);

 private:
  int Value(AlarmList list);

  const ListTexts& texts_;
  const ListWords& words_;
  std::array<int, 5> values_{};
  std::array<bool, 5> read_{};
};

}  // namespace norvel
