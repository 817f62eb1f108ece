#include "app/icon_win.h"

#include <algorithm>
#include <iterator>

#include "app/icon.h"
#include "toolkit/resource.h"
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
  first_line_ = tip;
}

void TrayIcon::SetTipDetail(const std::wstring& detail) {
  if (detail == detail_) return;
  detail_ = detail;
  const std::wstring tip = first_line_ + L"\n" + detail;
  std::fill(std::begin(TrayIconData.szTip), std::end(TrayIconData.szTip), L'\0');
  tip.copy(TrayIconData.szTip, std::size(TrayIconData.szTip) - 1);
  if (may_be_shown_) Shell_NotifyIconW(NIM_MODIFY, &TrayIconData);
}

TrayIcon::~TrayIcon() {
  Remove();
}

bool TrayIcon::Add() {
  may_be_shown_ = true;
  return Shell_NotifyIconW(NIM_ADD, &TrayIconData) != FALSE;
}

void TrayIcon::ShowBalloon(const std::wstring& title, const std::wstring& text) {
  ShowTrayBalloon(TrayIconData.hWnd, title, text);
}

void ShowTrayBalloon(HWND window, const std::wstring& title, const std::wstring& text) {
  NOTIFYICONDATAW balloon{};
  balloon.cbSize = sizeof balloon;
  balloon.hWnd = window;
  balloon.uID = kTrayIconId;
  balloon.uFlags = NIF_INFO;
  balloon.dwInfoFlags = NIIF_WARNING;
  title.copy(balloon.szInfoTitle, std::size(balloon.szInfoTitle) - 1);
  text.copy(balloon.szInfo, std::size(balloon.szInfo) - 1);
  Shell_NotifyIconW(NIM_MODIFY, &balloon);
}

void TrayIcon::Remove() {
  // Whatever the add reported: an add that timed out may still have put the icon there,
  // and deleting an icon that is not there does no harm.
  if (!may_be_shown_) return;
  NOTIFYICONDATAW remove{};
  remove.cbSize = sizeof remove;
  remove.hWnd = TrayIconData.hWnd;
  remove.uID = kTrayIconId;
  Shell_NotifyIconW(NIM_DELETE, &remove);
  may_be_shown_ = false;
}

}  // namespace norvel
