#include "app/icon.h"

namespace norvel {

std::string TrayTipText(int major, int minor, int revision) {
  return "Norvel V" + std::to_string(major) + "." + std::to_string(minor) +
         std::to_string(revision);
}

TrayCommand TrayCallback::Begin(std::int32_t mouse_message, bool window_minimized) {
  lTrayMsg = mouse_message;
  if (bTrayBusy) return TrayCommand::kNothing;
  TrayCommand command = TrayCommand::kNothing;
  if (lTrayMsg == kTrayLeftDoubleClick) {
    command = window_minimized ? TrayCommand::kShowWindow : TrayCommand::kHideWindow;
  } else if (lTrayMsg == kTrayRightButtonUp) {
    command = TrayCommand::kPopupMenu;
  }
  if (command != TrayCommand::kNothing) bTrayBusy = -1;
  return command;
}

}  // namespace norvel
