// The reminder window Form2: message and picture from the settings file, the picture's
// shape, drag with the left button, close with a double-click.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "settings/ini.h"

#include "toolkit/handle_win.h"
#include "toolkit/window_win.h"

namespace norvel {

class PicturePreparer;
struct PreparedPicture;

class Form2 final : public Window {
 public:
  // `preparer` (may be null) holds the picture made ready ahead of time; `on_put_off` runs
  // with the minutes the user put the reminder off by from its menu; `texts` gives the
  // alarm's message and picture at each load (alarm 1's in the settings file when empty).
  Form2(std::function<void()> on_unload, PicturePreparer* preparer,
        std::function<void(int minutes)> on_put_off = {},
        std::function<AlarmSettings()> texts = {});

  // Shows the window modeless: loads it first when it is not loaded, otherwise only makes
  // it visible and active again (nothing is read or recomputed). A reminder loaded after
  // others of its second is placed `offset` pixels down and right of where it would be.
  void Show(int offset = 0);

  HWND Label1() const;

  // What "静音" in the menu does (stops the reminder's sound).
  void SetMuteHook(std::function<void()> mute) { mute_ = std::move(mute); }

  // Whether the menu's delays can be chosen. Once the settings window is gone (退出) nothing
  // would bring a put-off reminder back in this run: the delays are then shown disabled.
  void AllowPutOff(bool allowed) { put_off_allowed_ = allowed; }

 private:
  bool Load();
  void OnLoad();
  void CentreWithDesignSize(int dpi);
  void ApplyLabelDesign(int dpi);
  void SetMessage(const std::string& message);
  void CentreLabel();
  void LoadAndShapePicture(const std::string& path);
  void SizeLabelToCaption();
  void PaintPicture(HDC dc);
  void OnContextMenu(LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void OnUnloaded() override;

  std::function<void()> on_unload_;
  std::function<void(int)> on_put_off_;
  std::function<AlarmSettings()> texts_;
  std::function<void()> mute_;
  UniqueFont label_font_;
  PicturePreparer* preparer_;
  std::shared_ptr<const PreparedPicture> picture_;
  bool put_off_allowed_ = true;
};

}  // namespace norvel
