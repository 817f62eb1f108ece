#include "scheduler/alarm_lists.h"

#include "toolkit/utf.h"

namespace norvel {
namespace {

// The texts are all in the Basic Multilingual Plane, so one UTF-16 unit is one wchar_t
// both where wchar_t is UTF-16 (Windows) and where it is UTF-32.
std::wstring Wide(std::string_view utf8) {
  const std::u16string units = Utf8ToUtf16(utf8).value_or(u"");
  return std::wstring(units.begin(), units.end());
}

}  // namespace

ListWords::ListWords()
    : every_hour(Wide(kEveryHourText)),
      remind(Wide(kRemindText)),
      shut_down(Wide(kShutDownText)),
      restart(Wide(kRestartText)) {
  for (std::size_t i = 0; i < kDayRuleTexts.size(); ++i) {
    day_texts[i] = Wide(kDayRuleTexts[i]);
    days[i] = day_texts[i];
  }
}

const ListWords& ListWords::Get() {
  static const ListWords words;
  return words;
}

int ParseListNumber(std::wstring_view text, int max) {
  if (text.empty() || (text.size() > 1 && text[0] == L'0')) return -1;
  int value = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') return -1;
    value = value * 10 + static_cast<int>(c - L'0');
    if (value > max) return -1;
  }
  return value;
}

int ParseHour(std::wstring_view text, const ListWords& words) {
  return text == words.every_hour ? TriggerTime::kEveryHour : ParseListNumber(text, 23);
}

AlarmAction ParseAction(std::wstring_view text, const ListWords& words) {
  if (text == words.remind) return AlarmAction::kRemind;
  if (text == words.shut_down) return AlarmAction::kShutDown;
  if (text == words.restart) return AlarmAction::kRestart;
  return AlarmAction::kNone;
}

int ListsReading::Value(AlarmList list) {
  const auto index = static_cast<std::size_t>(list);
  if (read_[index]) return values_[index];
  wchar_t buffer[ListTexts::kBuffer];
  const std::wstring_view text = texts_.Text(list, buffer);
  int value = -1;
  switch (list) {
    case AlarmList::kHour:
      value = ParseHour(text, words_);
      break;
    case AlarmList::kMinute:
    case AlarmList::kSecond:
      value = ParseListNumber(text, 59);
      break;
    case AlarmList::kAction:
      value = static_cast<int>(ParseAction(text, words_));
      break;
    case AlarmList::kDays:
      value = static_cast<int>(DayRuleNamed<wchar_t>(text, words_.days));
      break;
  }
  read_[index] = true;
  values_[index] = value;
  return value;
}

std::optional<TriggerTime> ListsReading::Trigger() {
  TriggerTime trigger;
  if ((trigger.second = Second()) < 0 || (trigger.minute = Minute()) < 0) return std::nullopt;
  trigger.hour = Hour();
  if (trigger.hour < 0 && trigger.hour != TriggerTime::kEveryHour) return std::nullopt;
  return trigger;
}

bool ListsReading::MatchesTimeOfDay(const LocalTime& now) {
  // Second first: most ticks end there.
  if (Second() != now.second || Minute() != now.minute) return false;
  const int hour = Hour();
  return hour == TriggerTime::kEveryHour || hour == now.hour;
}

}  // namespace norvel
