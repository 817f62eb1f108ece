#include "app/ini_win.h"

namespace norvel {

void SetTopmost(HWND window) {
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

}  // namespace norvel
