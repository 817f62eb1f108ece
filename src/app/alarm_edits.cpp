#include "app/alarm_edits.h"

#include <algorithm>

#include "scheduler/alarm.h"

namespace norvel {
namespace {

// A number as the list shows it, zero-padded to two digits; any other text as it is.
std::string TwoDigits(const std::string& text) {
  const bool number =
      !text.empty() && text.size() <= 2 &&
      std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (!number || text.size() == 2) return text;
  std::string padded(1, '0');
  padded += text;
  return padded;
}

}  // namespace

void AlarmEdits::Load(StoredAlarms stored) {
  alarms_ = std::move(stored.alarms);
  if (alarms_.empty()) alarms_.push_back(StoredAlarm{});
  max_number_ = stored.max_number;
  for (const StoredAlarm& alarm : alarms_) max_number_ = std::max(max_number_, alarm.number);
  deleted_.clear();
  selected_ = 0;
}

void AlarmEdits::Select(int index) {
  if (index >= 0 && index < static_cast<int>(alarms_.size())) selected_ = index;
}

bool AlarmEdits::AddAlarm(StoredAlarm alarm) {
  if (!CanAdd()) return false;
  alarm.number = ++max_number_;
  alarms_.push_back(std::move(alarm));
  selected_ = static_cast<int>(alarms_.size()) - 1;
  return true;
}

bool AlarmEdits::Add(const AlarmSettings& texts) {
  return AddAlarm(StoredAlarm{0, true, texts});
}

bool AlarmEdits::CopySelected() {
  return AddAlarm(alarms_[selected_]);
}

bool AlarmEdits::DeleteSelected() {
  if (!CanDelete()) return false;
  deleted_.push_back(alarms_[selected_].number);
  alarms_.erase(alarms_.begin() + selected_);
  selected_ -= 1;
  return true;
}

int AlarmEdits::IndexOf(int number) const {
  for (std::size_t i = 0; i < alarms_.size(); ++i) {
    if (alarms_[i].number == number) return static_cast<int>(i);
  }
  return -1;
}

AlarmRowTexts RowTextsOf(const AlarmSettings& texts) {
  AlarmRowTexts row;
  row.days = texts.days;
  row.action = texts.action;
  row.message = texts.message.substr(0, texts.message.find_first_of("\r\n"));
  // A time with a blank list names no trigger.
  if (texts.hour.empty() || texts.minute.empty() || texts.second.empty()) {
    row.time = "—";
    return row;
  }
  std::string rest(1, ':');
  rest += TwoDigits(texts.minute);
  rest += ':';
  rest += TwoDigits(texts.second);
  row.time = texts.hour == kEveryHourText ? std::string(kEveryHourText) + " " + rest
                                          : TwoDigits(texts.hour) + rest;
  return row;
}

}  // namespace norvel
