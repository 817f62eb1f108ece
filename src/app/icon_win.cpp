#include "app/icon_win.h"

#include "app/icon.h"
#include "app/resource.h"
#include "app/version.h"
#include "toolkit/text_win.h"

namespace norvel {

TrayIcon::TrayIcon(HWND window) {
  // The small icon size of the system (16 at 96 dpi, larger at higher scalings), picked
  // from the multi-size icon so that it is never scaled up.
  icon_.reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_NORVEL),
                                            IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                            GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
  TrayIconData.cbSize = sizeof TrayIconData;
  TrayIconData.hWnd = window;
  TrayIconData.uID = kTrayIconId;
  TrayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  TrayIconData.uCallbackMessage = kTrayCallbackMessage;
  TrayIconData.hIcon = icon_.get();
  const std::wstring tip =
      Widen(TrayTipText(NORVEL_VERSION_MAJOR, NORVEL_VERSION_MINOR, NORVEL_VERSION_REVISION))
          .value_or(L"Norvel");
  tip.copy(TrayIconData.szTip, sizeof TrayIconData.szTip / sizeof(wchar_t) - 1);
}

TrayIcon::~TrayIcon() { Remove(); }

bool TrayIcon::Add() {
  added_ = Shell_NotifyIconW(NIM_ADD, &TrayIconData) != FALSE;
  return added_;
}

void TrayIcon::Remove() {
  if (!added_) return;
  NOTIFYICONDATAW remove{};
  remove.cbSize = sizeof remove;
  remove.hWnd = TrayIconData.hWnd;
  remove.uID = kTrayIconId;
  Shell_NotifyIconW(NIM_DELETE, &remove);
  added_ = false;
}

}  // namespace norvel
