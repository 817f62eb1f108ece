#include "toolkit/window_win.h"

#include <utility>

namespace norvel {

Window::~Window() {
  if (!hwnd_) return;
  // By now the derived window object is gone: the messages that destroying the window sends
  // (WM_DESTROY, WM_NCDESTROY) must not reach its handlers, so the window is unhooked from
  // this object first and gets only default handling. A derived class that must act when its
  // window goes destroys the window in its own destructor, or earlier.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  const HWND window = std::exchange(hwnd_, nullptr);
  DestroyWindow(window);
}

void Window::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);  // WM_NCDESTROY clears hwnd_
}

bool Window::CreateWindowOfClass(const wchar_t* class_name, const wchar_t* caption, DWORD style,
                                 DWORD ex_style, const RECT& outer, HWND owner, HICON icon) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(instance, class_name, &wc)) {
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &Window::Thunk;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = class_name;
    wc.hIcon = icon;
    if (!RegisterClassExW(&wc)) return false;
  }
  CreateWindowExW(ex_style, class_name, caption, style, outer.left, outer.top,
                  outer.right - outer.left, outer.bottom - outer.top, owner, nullptr, instance,
                  this);
  return hwnd_ != nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK Window::Thunk(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  LRESULT result = 0;
  try {
    result = self->HandleMessage(message, wparam, lparam);
  } catch (...) {
    // No exception may cross into the system's code; the message gets default handling.
    result = DefWindowProcW(hwnd, message, wparam, lparam);
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    try {
      self->OnUnloaded();
    } catch (...) {
    }
  }
  return result;
}

}  // namespace norvel
