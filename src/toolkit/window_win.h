// The window base: a C++ object behind each top-level window, reached through a thunk.
#pragma once

#include <windows.h>

namespace norvel {

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }
  bool IsLoaded() const { return hwnd_ != nullptr; }
  // Destroys the window (the object stays and may create it again).
  void Destroy();

 protected:
  // Registers `class_name` once (with double-clicks) and creates the window hidden.
  bool CreateWindowOfClass(const wchar_t* class_name, const wchar_t* caption, DWORD style,
                           DWORD ex_style, const RECT& outer, HWND owner, HICON icon);

  // Handles one message; the default passes it to DefWindowProc.
  virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

  // Runs once the window is gone (IsLoaded() is false by then).
  virtual void OnUnloaded() {}

 private:
  static LRESULT CALLBACK Thunk(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  HWND hwnd_ = nullptr;
};

}  // namespace norvel
