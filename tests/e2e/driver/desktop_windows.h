// Ordinary windows of another program on the desktop, made by the driver on a thread of
// their own that keeps pumping messages (a window that does not answer would stall the
// program that minimizes it).
#pragma once

#include <windows.h>

#include <thread>

namespace norvel::e2e {

class DesktopWindows {
 public:
  DesktopWindows();  // returns when the windows exist
  ~DesktopWindows();
  DesktopWindows(const DesktopWindows&) = delete;
  DesktopWindows& operator=(const DesktopWindows&) = delete;

  HWND minimizable() const { return minimizable_; }  // visible, with a minimize box
  HWND dialog() const { return dialog_; }            // visible, without one
  HWND hidden() const { return hidden_; }            // hidden, with a minimize box

 private:
  void Run(HANDLE ready);
  std::thread thread_;
  DWORD thread_id_ = 0;
  HWND minimizable_ = nullptr, dialog_ = nullptr, hidden_ = nullptr;
};

}  // namespace norvel::e2e
