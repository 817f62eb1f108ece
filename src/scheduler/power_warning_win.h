// The warning window before a timed shut-down or restart: topmost on the monitor with the
// mouse pointer, shown without taking the focus, counting the seconds, with "取消".
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "scheduler/power_warning.h"
#include "toolkit/control_set_win.h"
#include "toolkit/handle_win.h"
#include "toolkit/window_win.h"

namespace norvel {

class PowerWarningWindow final : public Window {
 public:
  // `on_cancel` runs with the occurrence when the user presses "取消".
  explicit PowerWarningWindow(std::function<void(std::int64_t occurrence)> on_cancel);

  // Shows or updates the warning for the action named `action` (its list text), or closes
  // it (nullopt).
  void Update(const std::optional<PowerWarning>& warning, const std::wstring& action);

  static constexpr wchar_t kClassName[] = L"NorvelPowerWarning";

 private:
  bool Load();
  void ApplyLayout(int dpi);
  void PlaceOnPointersMonitor(int dpi);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  std::function<void(std::int64_t)> on_cancel_;
  std::optional<PowerWarning> shown_;
  std::wstring action_;
  HWND user_window_ = nullptr;  // the foreground window when the warning appeared
  ControlSet controls_;
  UniqueFont count_font_;
};

}  // namespace norvel
