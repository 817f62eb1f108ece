// The settings window Form1: start-up, OK, the picture chooser, hiding on minimize, the
// timer; its notification-area icon (Form1Tray) and its keyboard (DialogKeys) are helpers
// of their own.
#pragma once

#include <windows.h>

#include <functional>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

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
  // `on_picture` (may be empty) with the reminder's picture path whenever it is read from or
  // saved to the settings file, so that the picture can be made ready ahead.
  Form1(std::function<void()> on_tick, std::function<void()> on_unload,
        std::function<void(const std::string&)> on_picture = {});
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

  // The pending put-off reminder's second (civil seconds), for the icon's menu, and what
  // cancels it.
  void SetPutOffHooks(std::function<std::optional<std::int64_t>()> pending,
                      std::function<void()> cancel) {
    pending_put_off_ = std::move(pending);
    cancel_put_off_ = std::move(cancel);
  }

  // Runs when the picture preparer's worker has a picture ready.
  void SetPictureReadyHook(std::function<void()> ready) { picture_ready_ = std::move(ready); }

  // Tells the user something through a balloon from the notification-area icon.
  void ShowBalloon(const std::wstring& text);

  // What the tick reads and writes.
  std::wstring_view Text(AlarmList list, wchar_t (&buffer)[kBuffer]) const override;
  void ShowStatusLine(const wchar_t* text) override;

  static constexpr UINT_PTR kTimer1 = 1;
  // Starts Timer1 again (posted by the tick's watchdog when the ticks stopped).
  static constexpr UINT kRestartTimerMessage = WM_APP + 4;
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
  // Tells the owner the picture path now in the settings file (a failure there stays there).
  void PictureSaved(const std::string& path);
  void OnCommand1Click();
  void OnCommand2Click();
  void OnResize(WPARAM state);
  void OnMenuClick(int index);
  void PrepareMenu(HMENU menu);
  void OnStartAtLoginClick();
  void OnCloseRequest();
  void OnDoubleClick(LPARAM lparam);

  std::unique_ptr<Form1Tray> tray_;
  DialogKeys keys_;
  std::function<void()> on_tick_;
  std::function<void()> on_unload_;
  std::function<void(const std::string&)> on_picture_;
  ControlSet controls_;
  ByteLimitedEdit text1_limit_;
  std::string days_;  // Combo5's item as read at start-up, chosen once its items are in
  std::function<std::optional<std::int64_t>()> pending_put_off_;
  std::function<void()> cancel_put_off_;
  std::function<void()> picture_ready_;
  UniqueMenu m_main_;
};

}  // namespace norvel
