// The settings window Form1: start-up, OK, the picture chooser, hiding on minimize, the timer.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "toolkit/handle_win.h"
#include "toolkit/window_win.h"

namespace norvel {

class Form1 final : public Window {
 public:
  // `on_tick` runs on every tick of Timer1; `on_unload` after the window is gone.
  Form1(std::function<void()> on_tick, std::function<void()> on_unload);

  // Creates the window, runs the start-up sequence and shows the window.
  bool Load();

  std::string ControlText(int id) const;
  void SetControlText(int id, std::string_view text);
  HWND Control(int id) const { return GetDlgItem(hwnd(), id); }
  HMENU Menu() const { return m_main_.get(); }

  static constexpr UINT_PTR kTimer1 = 1;

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
  LRESULT OnControlColour(HDC dc, HWND control);

  std::function<void()> on_tick_;
  std::function<void()> on_unload_;
  UniqueFont font_;
  UniqueMenu m_main_;
  std::string text1_accepted_;  // Text1's text before the current edit, for its byte limit
  bool adjusting_text1_ = false;
};

}  // namespace norvel
