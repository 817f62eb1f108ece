// The settings window's alarm list: the alarms in memory from the load on, the selected one
// edited by the controls below the list, 新建, 复制 and 删除, the check boxes, and what the
// tick reads of every alarm.
#include <windows.h>

#include <commctrl.h>

#include "app/form1_layout.h"
#include "app/form1_tray_win.h"
#include "app/form1_win.h"
#include "app/picture_chooser_win.h"
#include "app/reminder_sound.h"
#include "app/startup.h"
#include "settings/app_path_win.h"
#include "toolkit/controls_win.h"
#include "toolkit/text_win.h"

namespace norvel {
namespace {

// The texts an alarm shows in the controls: a first start's defaults where nothing is kept.
AlarmSettings AsShown(const AlarmSettings& stored) {
  const StartupTexts shown = DecideStartupTexts(stored);
  AlarmSettings texts;
  texts.message = shown.text1;
  texts.hour = shown.combo1;
  texts.minute = shown.combo2;
  texts.second = shown.combo3;
  texts.action = shown.combo4;
  texts.picture = shown.text2;
  texts.days = shown.combo5;
  return texts;
}

std::array<std::wstring, 5> ListTextsOf(const AlarmSettings& texts) {
  // In the order of AlarmList.
  return {Widen(texts.hour).value_or(L""), Widen(texts.minute).value_or(L""),
          Widen(texts.second).value_or(L""), Widen(texts.action).value_or(L""),
          Widen(texts.days).value_or(L"")};
}

}  // namespace

void Form1::LoadAlarms() {
  StoredAlarms stored = ReadAlarms(AppSettingsFile());
  const bool truncated = stored.truncated;
  for (StoredAlarm& alarm : stored.alarms) {
    const std::string sound = alarm.texts.sound;
    alarm.texts = AsShown(alarm.texts);
    alarm.texts.sound = sound;
  }
  edits_.Load(std::move(stored));
  // Alarm 1 is what its controls show after the start-up's defaults, with its sound.
  AlarmSettings first = ControlTexts();
  first.sound = edits_.Selected().texts.sound;
  edits_.SetTexts(0, first);
  ShowSound(first.sound);
  list_texts_.clear();
  for (const StoredAlarm& alarm : edits_.alarms()) list_texts_.push_back(ListTextsOf(alarm.texts));
  ShowRows();
  AlarmsChanged();
  PicturesSaved();
  if (truncated) {
    ShowBalloon(Widen("option.ini 中的闹钟超过 " + std::to_string(kMaxAlarms) + " 个, 只载入了前 " +
                      std::to_string(kMaxAlarms) + " 个; 其余的保持原样。")
                    .value_or(L""));
  }
}

void Form1::SetTrayTipDetail(const std::wstring& detail) {
  if (tray_) tray_->SetTipDetail(detail);
}

AlarmSettings Form1::ControlTexts() const {
  AlarmSettings texts;
  texts.message = ControlText(form1::kText1);
  texts.hour = ControlText(form1::kCombo1);
  texts.minute = ControlText(form1::kCombo2);
  texts.second = ControlText(form1::kCombo3);
  texts.action = ControlText(form1::kCombo4);
  texts.picture = ControlText(form1::kText2);
  texts.days = ControlText(form1::kCombo5);
  // A chosen file shows by its name: its path is the alarm's already.
  const std::string sound = ControlText(form1::kCombo6);
  const bool item = sound == kSoundNone || sound == kSoundBell || sound == kSoundSystem;
  texts.sound = item ? sound : edits_.Selected().texts.sound;
  return texts;
}

void Form1::ShowSound(const std::string& sound) {
  const HWND list = Control(form1::kCombo6);
  // The list holds at most one chosen file, before "选择文件...".
  while (SendMessageW(list, CB_GETCOUNT, 0, 0) > static_cast<LRESULT>(kSoundItems.size())) {
    SendMessageW(list, CB_DELETESTRING, kSoundItems.size() - 1, 0);
  }
  const std::string text = SoundListText(sound);
  if (SoundKindOf(sound) == SoundKind::kFile) {
    const std::wstring item = Widen(text).value_or(L"");
    SendMessageW(list, CB_INSERTSTRING, kSoundItems.size() - 1,
                 reinterpret_cast<LPARAM>(item.c_str()));
  }
  SelectComboItem(list, text);
}

void Form1::OnChooseSound() {
  const std::optional<std::string> path = ChooseSoundFile(hwnd());
  AlarmSettings texts = ControlTexts();
  // Cancelled: the sound shown before comes back. A path the file cannot hold is refused
  // at OK, as any other text.
  if (path) texts.sound = *path;
  edits_.SetTexts(edits_.selected(), texts);
  ShowSound(texts.sound);
}

void Form1::CaptureSelected() {
  capture_posted_ = false;
  const AlarmSettings texts = ControlTexts();
  const int index = edits_.selected();
  if (texts == edits_.Selected().texts) return;
  edits_.SetTexts(index, texts);
  list_texts_[index] = ListTextsOf(texts);
  ShowRow(index);
}

void Form1::ShowSelected() {
  const AlarmSettings& texts = edits_.Selected().texts;
  SetControlText(form1::kText1, texts.message);
  SetControlText(form1::kCombo1, texts.hour);
  SetControlText(form1::kCombo2, texts.minute);
  SetControlText(form1::kCombo3, texts.second);
  SetControlText(form1::kCombo4, texts.action);
  SetControlText(form1::kText2, texts.picture);
  SelectComboItem(Control(form1::kCombo5), texts.days);
  ShowSound(texts.sound);
}

void Form1::ShowRow(int index) {
  const StoredAlarm& alarm = edits_.alarms()[index];
  const AlarmRowTexts row = RowTextsOf(alarm.texts);
  list_.SetRow(index,
               {row.time, row.days, row.action, row.message, next_ring_ ? next_ring_(index) : "—"},
               alarm.enabled);
}

void Form1::ShowRows() {
  list_.SetRowCount(AlarmCount());
  for (int i = 0; i < AlarmCount(); ++i) ShowRow(i);
  list_.Select(edits_.selected());
}

void Form1::RefreshNextRings() {
  if (!next_ring_) return;
  for (int i = 0; i < AlarmCount(); ++i) list_.SetCell(i, 4, next_ring_(i));
}

void Form1::AlarmsChanged() {
  const bool can_add = edits_.CanAdd(), can_delete = edits_.CanDelete();
  const HWND focus = GetFocus();
  EnableWindow(Control(form1::kCommandNew), can_add);
  EnableWindow(Control(form1::kCommandCopy), can_add);
  EnableWindow(Control(form1::kCommandDelete), can_delete);
  // A button that went grey with the focus on it hands the focus to the list.
  if (focus && !IsWindowEnabled(focus)) SetFocus(Control(form1::kAlarmList));
}

void Form1::OnAlarmListNotify(const NMHDR& header) {
  const std::optional<AlarmListView::Change> change = list_.OnNotify(header);
  if (!change) return;
  if (change->kind == AlarmListView::Change::kChecked) {
    edits_.SetEnabled(change->index, change->on);
    ShowRow(change->index);
    return;
  }
  if (change->index == edits_.selected()) return;
  CaptureSelected();  // the alarm left keeps what its controls showed
  edits_.Select(change->index);
  ShowSelected();
  AlarmsChanged();
}

void Form1::OnAlarmButton(int id) {
  CaptureSelected();
  const bool changed = id == form1::kCommandNew    ? edits_.Add(AsShown(AlarmSettings{}))
                       : id == form1::kCommandCopy ? edits_.CopySelected()
                                                   : edits_.DeleteSelected();
  if (!changed) return;
  list_texts_.clear();
  for (const StoredAlarm& alarm : edits_.alarms()) list_texts_.push_back(ListTextsOf(alarm.texts));
  ShowRows();
  ShowSelected();
  AlarmsChanged();
}

bool Form1::HandleAlarmCommand(WORD id, WORD code) {
  switch (id) {
    case form1::kCommandNew:
    case form1::kCommandCopy:
    case form1::kCommandDelete:
      if (code == BN_CLICKED) OnAlarmButton(id);
      return true;
    case form1::kCombo1:
    case form1::kCombo2:
    case form1::kCombo3:
    case form1::kCombo4:
    case form1::kCombo6:
      if (code == CBN_SELCHANGE && ControlText(form1::kCombo6) == kSoundChooseFile) {
        PostMessageW(hwnd(), kChooseSoundMessage, 0, 0);  // after the list has closed
      }
      [[fallthrough]];
    case form1::kCombo5:
    case form1::kText2:
      // The row follows its controls at once; a list's choice is in its text only after
      // this notification.
      if ((code == CBN_SELCHANGE || code == CBN_EDITCHANGE || code == EN_CHANGE) &&
          !capture_posted_) {
        capture_posted_ = PostMessageW(hwnd(), kCaptureMessage, 0, 0) != FALSE;
      }
      return true;
  }
  return false;
}

std::wstring_view Form1::AlarmText(int index, AlarmList list,
                                   wchar_t (&buffer)[ListTexts::kBuffer]) const {
  if (index == edits_.selected()) return LiveText(list, buffer);
  const std::wstring& text = list_texts_[index][static_cast<std::size_t>(list)];
  // As from a list: a text that would fill the buffer names nothing.
  if (text.empty() || text.size() >= ListTexts::kBuffer - 1) return {};
  text.copy(buffer, text.size());
  return {buffer, text.size()};
}

}  // namespace norvel
