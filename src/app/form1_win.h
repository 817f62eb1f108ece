// The settings window Form1: start-up, OK, the picture chooser, hiding on minimize, the timer.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/icon.h"
#include "toolkit/handle_win.h"
#include "toolkit/window_win.h"

namespace norvel {

class TrayIcon;

class Form1 final : public Window {
 public:
  // `on_tick` runs on every tick of Timer1; `on_unload` after the window is gone;
  // `on_picture` (may be empty) with the reminder's picture path whenever it is read from or
  // saved to the settings file, so that the picture can be made ready ahead.
  Form1(std::function<void()> on_tick, std::function<void()> on_unload,
        std::function<void(const std::string&)> on_picture = {});
  ~Form1() override;

  // Creates the window, runs the start-up sequence and shows the window.
  bool Load();

  std::string ControlText(int id) const;
  void SetControlText(int id, std::string_view text);
  // A control by its id. The handles are kept from their creation: GetDlgItem asks the
  // window manager each time (under Wine a round trip to its server), and the tick reads
  // the lists twenty times a second.
  HWND Control(int id) const;
  HMENU Menu() const { return m_main_.get(); }

  // The keyboard of a dialog-like window, for a message of the loop: Tab and Shift+Tab move
  // through the tab order, Alt+O presses OK, Esc and Enter press nothing (Enter makes a new
  // line in Text1). True when the message was used up.
  bool TranslateDialogKey(MSG& msg);

  // Restores and shows the window and puts it into the topmost band (the menu's
  // "显示窗口", and a second start of the program).
  void ShowSettingsWindow();

  // Tells the user something through a balloon from the notification-area icon.
  void ShowBalloon(const std::wstring& text);

  static constexpr UINT_PTR kTimer1 = 1;
  static constexpr UINT_PTR kTrayRetryTimer = 2;
  // Asks a running instance to show its window (sent by a second start).
  static UINT ShowWindowMessage();
  static constexpr wchar_t kClassName[] = L"NorvelForm1";

 private:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void OnUnloaded() override;

  void CreateControls();
  void ApplyLayout(int dpi);
  void CreateMenus();

  void OnLoad();
  void AddTrayIcon();
  void CentreOnScreen();
  void LoadSettingsIntoControls();
  void FillLists();
  void OnCommand1Click();
  void OnCommand2Click();
  void OnResize(WPARAM state);
  void OnText1Change();
  void OnTrayCallback(LPARAM lparam);
  void ApplyTrayCommand(TrayCommand command);
  void OnMenuClick(int index);
  void OnCloseRequest();
  void OnDoubleClick(LPARAM lparam);
  void OnNextControl(WPARAM wparam, LPARAM lparam);
  void RememberFocus();
  void RestoreFocus();
  void TakeKeyboard();
  void RetryTrayIcon();
  LRESULT OnControlColour(HDC dc, HWND control);

  std::unique_ptr<TrayIcon> tray_icon_;
  TrayCallback tray_callback_;
  int tray_retries_ = 0;
  std::function<void()> on_tick_;
  std::function<void()> on_unload_;
  std::function<void(const std::string&)> on_picture_;
  UniqueFont font_;
  UniqueMenu m_main_;
  std::string text1_accepted_;  // Text1's text before the current edit, for its byte limit
  bool adjusting_text1_ = false;
  HWND focus_ = nullptr;
  std::vector<std::pair<int, HWND>> controls_;  // id and handle, in creation order  // the control that had the focus when the window was last left
};

}  // namespace norvel
