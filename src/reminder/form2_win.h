// The reminder window Form2.
#pragma once

#include <windows.h>

#include <functional>

#include "toolkit/handle_win.h"
#include "toolkit/window_win.h"

namespace norvel {

class Form2 final : public Window {
 public:
  explicit Form2(std::function<void()> on_unload);

  // Shows the window modeless: loads it first when it is not loaded, otherwise makes it
  // visible and active again.
  void Show();

  HWND Label1() const;

 private:
  bool Load();
  void ApplyDesignLayout(int dpi);
  void SizeLabelToCaption();
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void OnUnloaded() override;

  std::function<void()> on_unload_;
  UniqueFont label_font_;
};

}  // namespace norvel
