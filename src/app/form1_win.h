// The settings window Form1: start-up, OK, the picture chooser, hiding on minimize, the
// timer; its notification-area icon (Form1Tray) and its keyboard (DialogKeys) are helpers
// of their own.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/alarm_edits.h"
#include "app/alarm_list_view_win.h"

#include "scheduler/alarm_view_win.h"
#include "toolkit/control_set_win.h"
#include "toolkit/dialog_keys_win.h"
#include "toolkit/handle_win.h"
#include "toolkit/window_win.h"

namespace norvel {

class Form1Tray;

class Form1 final : public Window, public AlarmView {
 public:
  // `on_tick` runs on every tick of Timer1; `on_unload` after the window is gone;
  // `on_saved` (may be empty) whenever the alarms are read from or saved to the settings file
  // (their pictures among them), so that a picture can be made ready ahead.
  Form1(std::function<void()> on_tick, std::function<void()> on_unload,
        std::function<void()> on_saved = {});
  ~Form1() override;

  // Creates the window, runs the start-up sequence and shows the window (unless `show` is
  // false: started at log-in, the icon alone appears).
  bool Load(bool show = true);

  // A control by its id. The handles are kept from their creation: GetDlgItem asks the
  // window manager each time (under Wine a round trip to its server), and the tick reads
  // the lists twenty times a second.
  HWND Control(int id) const { return controls_[id]; }
  std::string ControlText(int id) const;
  void SetControlText(int id, std::string_view text);

  // Tab, Shift+Tab and Alt+O as in a dialog, Esc and Enter pressing nothing; true when
  // the message was used up.
  bool TranslateDialogKey(MSG& msg) { return keys_.Translate(msg); }

  // Restores and shows the window and puts it into the topmost band (the menu's
  // "显示窗口", and a second start of the program).
  void ShowSettingsWindow();

  // The pending put-off reminders (alarm and civil second), for the icon's menu, and what
  // cancels one.
  using PendingPutOffs = std::vector<std::pair<int, std::int64_t>>;
  void SetPutOffHooks(std::function<PendingPutOffs()> pending, std::function<void(int)> cancel) {
    pending_put_off_ = std::move(pending);
    cancel_put_off_ = std::move(cancel);
  }

  // The "下次" text of the alarm at an index, for the list.
  void SetNextRingHook(std::function<std::string(int index)> next) { next_ring_ = std::move(next); }
  // Refreshes the list's "下次" column (once a minute, and after every change).
  void RefreshNextRings();
  // The icon's tip under "Norvel V0.20" (the next ring of all alarms).
  void SetTrayTipDetail(const std::wstring& detail);
  // The alarms as edited, saved or not.
  const AlarmEdits& alarms() const { return edits_; }

  // Runs when the picture preparer's worker has a picture ready.
  void SetPictureReadyHook(std::function<void()> ready) { picture_ready_ = std::move(ready); }

  // Tells the user something through a balloon from the notification-area icon.
  void ShowBalloon(const std::wstring& text);

  // What the tick reads and writes: every alarm, the selected one as its lists show.
  int AlarmCount() const override { return static_cast<int>(edits_.alarms().size()); }
  int AlarmNumber(int index) const override { return edits_.alarms()[index].number; }
  bool AlarmEnabled(int index) const override { return edits_.alarms()[index].enabled; }
  std::wstring_view AlarmText(int index, AlarmList list,
                              wchar_t (&buffer)[ListTexts::kBuffer]) const override;
  void ShowStatusLine(const wchar_t* text) override;
  void RetimeTick(int interval_ms) override;

  static constexpr UINT_PTR kTimer1 = 1;
  // Starts Timer1 again (posted by the tick's watchdog when the ticks stopped).
  static constexpr UINT kRestartTimerMessage = WM_APP + 4;
  // The selected alarm takes its controls' texts (posted: a list's choice shows after its
  // notification).
  static constexpr UINT kCaptureMessage = WM_APP + 5;
  // "选择文件..." was chosen in the sound list: the chooser opens once the list has closed.
  static constexpr UINT kChooseSoundMessage = WM_APP + 6;
  // Asks a running instance to show its window (sent by a second start).
  static UINT ShowWindowMessage();
  static constexpr wchar_t kClassName[] = L"NorvelForm1";

 private:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  bool HandleCommand(WORD id, WORD code);
  void OnUnloaded() override;

  void ApplyLayout(int dpi);
  void CreateMenus();

  void OnLoad();
  void LoadSettingsIntoControls();
  void FillLists();
  // Tells the owner the alarms in the settings file changed (a failure there stays there).
  void PicturesSaved();
  void OnCommand1Click();
  void OnCommand2Click();
  void OnResize(WPARAM state);
  void OnMenuClick(int index);
  void PrepareMenu(HMENU menu);
  void OnStartAtLoginClick();
  void CancelPutOffItem(int id);
  void OnCloseRequest();
  void OnDoubleClick(LPARAM lparam);

  // The alarm list (form1_alarms_win.cpp).
  void LoadAlarms();
  void CaptureSelected();
  void ShowSelected();
  void ShowRow(int index);
  void ShowRows();
  void OnAlarmListNotify(const NMHDR& header);
  void OnAlarmButton(int id);
  void AlarmsChanged();
  bool HandleAlarmCommand(WORD id, WORD code);
  std::wstring_view LiveText(AlarmList list, wchar_t (&buffer)[ListTexts::kBuffer]) const;
  AlarmSettings ControlTexts() const;
  void ShowSound(const std::string& sound);
  void OnChooseSound();

  std::unique_ptr<Form1Tray> tray_;
  DialogKeys keys_;
  std::function<void()> on_tick_;
  std::function<void()> on_unload_;
  std::function<void()> on_saved_;
  ControlSet controls_;
  ByteLimitedEdit text1_limit_;
  std::string days_;  // Combo5's item as read at start-up, chosen once its items are in
  std::function<PendingPutOffs()> pending_put_off_;
  std::function<void(int)> cancel_put_off_;
  std::function<std::string(int)> next_ring_;
  AlarmEdits edits_;
  AlarmListView list_;
  // The alarms' list texts as the tick reads them (the selected one's are read live).
  std::vector<std::array<std::wstring, 5>> list_texts_;
  bool capture_posted_ = false;
  std::vector<int> put_off_menu_alarms_;  // the alarm of each put-off item, by id
  std::function<void()> picture_ready_;
  UniqueMenu m_main_;
};

}  // namespace norvel
