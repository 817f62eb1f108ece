#include "driver/input.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "driver/ui.h"
#include "toolkit/handle_win.h"

namespace norvel::e2e {
namespace {

INPUT MouseInput(DWORD flags, POINT screen) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  return input;
}

void Send(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace

void MoveMouse(POINT screen) {
  Send({MouseInput(0, screen)});
}

void Click(POINT screen, bool right) {
  const DWORD down = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
  const DWORD up = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
  Send({MouseInput(0, screen), MouseInput(down, screen), MouseInput(up, screen)});
}

void DoubleClick(POINT screen) {
  Send({MouseInput(0, screen), MouseInput(MOUSEEVENTF_LEFTDOWN, screen),
        MouseInput(MOUSEEVENTF_LEFTUP, screen), MouseInput(MOUSEEVENTF_LEFTDOWN, screen),
        MouseInput(MOUSEEVENTF_LEFTUP, screen)});
}

void PressKey(WORD virtual_key, WORD modifier) {
  const auto key = [](WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
  };
  if (modifier) {
    Send({key(modifier, false), key(virtual_key, false), key(virtual_key, true),
          key(modifier, true)});
  } else {
    Send({key(virtual_key, false), key(virtual_key, true)});
  }
}

HWND FocusOfThread(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

std::optional<RECT> FindDialInTray() {
  const HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
  if (!tray) return std::nullopt;
  RECT bar{};
  GetWindowRect(tray, &bar);
  // The notification area is at the right end of the taskbar.
  const ScreenPixels shot = CaptureScreen({bar.right - 160, bar.top, bar.right, bar.bottom});
  if (shot.bgrx.empty()) return std::nullopt;
  const int width = shot.width, height = shot.height, left = bar.right - 160;
  RECT found{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* p = shot.At(x, y);
      if (p[2] > 200 && p[1] < 90 && p[0] < 90) {  // red
        found.left = std::min<LONG>(found.left, x), found.right = std::max<LONG>(found.right, x);
        found.top = std::min<LONG>(found.top, y), found.bottom = std::max<LONG>(found.bottom, y);
      }
    }
  }
  if (found.left == LONG_MAX) return std::nullopt;
  OffsetRect(&found, left, bar.top);
  return found;
}

}  // namespace norvel::e2e
