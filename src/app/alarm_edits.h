// The alarms as the settings window edits them: in memory from the load on, changed by the
// list's buttons and check boxes and by the controls of the selected alarm, and saved
// together by OK. Alarm 1 can be switched off but never deleted; at kMaxAlarms no alarm is
// added; a new alarm takes the highest number ever given + 1.
#pragma once

#include <string>
#include <vector>

#include "settings/alarms.h"

namespace norvel {

class AlarmEdits {
 public:
  // The alarms as read from the file; alarm 1 first.
  void Load(StoredAlarms stored);

  const std::vector<StoredAlarm>& alarms() const { return alarms_; }
  const std::vector<int>& deleted() const { return deleted_; }
  int max_number() const { return max_number_; }
  int selected() const { return selected_; }
  const StoredAlarm& Selected() const { return alarms_[selected_]; }

  void Select(int index);
  void SetTexts(int index, const AlarmSettings& texts) { alarms_[index].texts = texts; }
  void SetEnabled(int index, bool on) { alarms_[index].enabled = on; }

  bool CanAdd() const { return alarms_.size() < static_cast<std::size_t>(kMaxAlarms); }
  bool CanDelete() const { return selected_ > 0; }
  // 新建: an alarm with `texts` (what a first start shows), selected; false at the limit.
  bool Add(const AlarmSettings& texts);
  // 复制: every field of the selected alarm in a new one, selected.
  bool CopySelected();
  // 删除: the selected alarm goes (not alarm 1); the one before it is selected.
  bool DeleteSelected();
  // OK saved them: the deleted alarms' sections are gone from the file.
  void Saved() { deleted_.clear(); }

  // The index of the alarm with this number, or -1.
  int IndexOf(int number) const;

 private:
  bool AddAlarm(StoredAlarm alarm);

  std::vector<StoredAlarm> alarms_{StoredAlarm{}};
  std::vector<int> deleted_;
  int max_number_ = 1;
  int selected_ = 0;
};

// The list's columns of an alarm: 时间 ("07:30:00", every hour "每小时 :30:00"), 日期, 动作
// and 提示语 (the message's first line).
struct AlarmRowTexts {
  std::string time, days, action, message;
};
AlarmRowTexts RowTextsOf(const AlarmSettings& texts);

}  // namespace norvel
