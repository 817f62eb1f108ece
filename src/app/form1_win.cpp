#include "app/form1_win.h"

#include <commdlg.h>
#include <windowsx.h>

#include <vector>

#include "app/app_path_win.h"
#include "app/icon_win.h"
#include "app/form1_layout.h"
#include "app/ini.h"
#include "app/ini_win.h"
#include "app/resource.h"
#include "app/startup.h"
#include "app/version.h"
#include "toolkit/codepage.h"
#include "toolkit/controls_win.h"
#include "toolkit/run_step.h"
#include "toolkit/dpi_win.h"
#include "toolkit/task_list_win.h"
#include "toolkit/text_limit.h"
#include "toolkit/text_win.h"

namespace norvel {
namespace {

// A fixed frame with caption and close box; no minimize or maximize box.
// No WS_CLIPCHILDREN: the frames (group boxes) do not paint their inside; the window does.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = 0;
constexpr COLORREF kBlue = RGB(0, 0, 255);


const ControlLayout* LayoutOf(int id) {
  for (const ControlLayout& layout : form1::Controls()) {
    if (layout.id == id) return &layout;
  }
  return nullptr;
}

std::string WriteFailureReason(WriteStatus status) {
  switch (status) {
    case WriteStatus::kUnrepresentable:
      return "设置中有无法以简体中文编码保存的字符。";
    case WriteStatus::kReadOnly:
      return "该文件是只读的。";
    case WriteStatus::kIoError:
    case WriteStatus::kOk:
      break;
  }
  return "无法写入该文件(文件夹不存在、没有写入权限或文件正被占用)。";
}

}  // namespace

Form1::Form1(std::function<void()> on_tick, std::function<void()> on_unload,
             std::function<void(const std::string&)> on_picture)
    : on_tick_(std::move(on_tick)),
      on_unload_(std::move(on_unload)),
      on_picture_(std::move(on_picture)) {}

Form1::~Form1() = default;

UINT Form1::ShowWindowMessage() {
  static const UINT message = RegisterWindowMessageW(L"Norvel.ShowSettingsWindow");
  return message;
}

bool Form1::Load() {
  const HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_NORVEL));
  const std::wstring caption = Widen(form1::kCaption).value_or(L"");
  if (!CreateWindowOfClass(kClassName, caption.c_str(), kStyle, kExStyle,
                           RECT{CW_USEDEFAULT, 0, CW_USEDEFAULT, 0}, nullptr, icon)) {
    return false;
  }
  CreateControls();
  CreateMenus();
  ApplyLayout(DpiForWindow(hwnd()));
  OnLoad();
  // Timer1 is enabled by design and ticks from the end of the load on.
  SetTimer(hwnd(), kTimer1, form1::kTimerIntervalMs, nullptr);
  ShowWindow(hwnd(), SW_SHOW);
  UpdateWindow(hwnd());
  return true;
}

void Form1::CreateControls() {
  const auto controls = form1::Controls();
  std::vector<std::size_t> order(controls.size());
  TabOrder(controls, order);
  for (const std::size_t i : order) {
    controls_.emplace_back(controls[i].id, CreateControl(hwnd(), controls[i]));
  }
  SendMessageW(Control(form1::kText1), EM_SETLIMITTEXT, 0, 0);  // the byte limit is ours
  text1_accepted_ = GetText(Control(form1::kText1));
}

void Form1::ApplyLayout(int dpi) {
  LOGFONTW lf = MessageFont(dpi);
  // The controls take the new font before the old one is deleted (on a DPI change).
  UniqueFont font(CreateFontIndirectW(&lf));
  const auto controls = form1::Controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const HWND control = Control(controls[i].id);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    PlaceControl(control, controls[i].kind, ControlRect(controls, i, dpi));
  }
  font_ = std::move(font);
  const SIZE outer = OuterSizeForClient(TwipsToPixels(form1::kClientWidth, dpi),
                                        TwipsToPixels(form1::kClientHeight, dpi), kStyle,
                                        kExStyle, dpi);
  SetWindowPos(hwnd(), nullptr, 0, 0, outer.cx, outer.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1::CreateMenus() {
  // m_main "dc" is never shown as a menu bar; its submenu m_Menu is the tray's popup.
  m_main_.reset(CreateMenu());
  const HMENU m_menu = CreatePopupMenu();
  const int ids[] = {form1::kMenuShowWindow, form1::kMenuExit};
  for (std::size_t i = 0; i < form1::kMenuItems.size(); ++i) {
    const std::wstring item = Widen(form1::kMenuItems[i]).value_or(L"");
    AppendMenuW(m_menu, MF_STRING, static_cast<UINT_PTR>(ids[i]), item.c_str());
  }
  const std::wstring top = Widen(form1::kMenuCaption).value_or(L"");
  AppendMenuW(m_main_.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(m_menu), top.c_str());
}

void Form1::OnLoad() {
  RunStep([&] { AddTrayIcon(); });
  RunStep([&] { CentreOnScreen(); });
  RunStep([&] { LoadSettingsIntoControls(); });
  RunStep([&] { FillLists(); });
  RunStep([&] { SetTopmost(hwnd()); });
}

void Form1::AddTrayIcon() {
  tray_icon_ = std::make_unique<TrayIcon>(hwnd());
  // At log-on the taskbar may not be there yet: try again every second for a minute.
  if (!tray_icon_->Add()) SetTimer(hwnd(), kTrayRetryTimer, 1000, nullptr);
  HideFromTaskList(hwnd());
}

void Form1::RetryTrayIcon() {
  if (tray_icon_->Add() || ++tray_retries_ >= 60) KillTimer(hwnd(), kTrayRetryTimer);
}

void Form1::OnTrayCallback(LPARAM lparam) {
  const auto mouse_message = static_cast<std::int32_t>(LOWORD(lparam));
  const TrayCommand command = tray_callback_.Begin(mouse_message, IsIconic(hwnd()) != FALSE);
  if (command == TrayCommand::kNothing) return;
  ApplyTrayCommand(command);
  tray_callback_.End();
}

void Form1::ApplyTrayCommand(TrayCommand command) {
  switch (command) {
    case TrayCommand::kShowWindow:
      SetTopmost(hwnd());
      ShowWindow(hwnd(), SW_RESTORE);
      ShowWindow(hwnd(), SW_SHOW);
      SetTopmost(hwnd());
      TakeKeyboard();
      break;
    case TrayCommand::kHideWindow:
      ShowWindow(hwnd(), SW_MINIMIZE);  // the resize handler hides it already
      ShowWindow(hwnd(), SW_HIDE);
      break;
    case TrayCommand::kPopupMenu: {
      POINT pointer{};
      GetCursorPos(&pointer);
      // Foreground first and a null message after: otherwise the menu stays open when the
      // user clicks elsewhere.
      SetForegroundWindow(hwnd());
      TrackPopupMenuEx(GetSubMenu(m_main_.get(), 0), TPM_LEFTALIGN | TPM_LEFTBUTTON, pointer.x,
                       pointer.y, hwnd(), nullptr);
      PostMessageW(hwnd(), WM_NULL, 0, 0);
      break;
    }
    case TrayCommand::kNothing:
      break;
  }
}

void Form1::ShowSettingsWindow() {
  ShowWindow(hwnd(), SW_RESTORE);
  ShowWindow(hwnd(), SW_SHOW);
  SetTopmost(hwnd());
  TakeKeyboard();
}

void Form1::TakeKeyboard() {
  // Active, so that the keys go to it; the window was activated while still minimized and
  // kept the focus itself then, so the control that had it gets it back now.
  SetForegroundWindow(hwnd());
  const HWND focus = GetFocus();
  if (!focus || focus == hwnd()) RestoreFocus();
}

void Form1::ShowBalloon(const std::wstring& text) {
  if (tray_icon_) tray_icon_->ShowBalloon(L"Norvel", text);
}

void Form1::OnMenuClick(int index) {
  if (index == 0) ShowSettingsWindow();
  if (index == 1) OnCloseRequest();
}

void Form1::OnCloseRequest() {
  // Every way of closing ends here; it is never cancelled. The timer stops with the window.
  if (tray_icon_) tray_icon_->Remove();
  DestroyWindow(hwnd());
}

void Form1::OnDoubleClick(LPARAM lparam) {
  // Only the bare margin around Frame1 counts (the frame lets clicks through to the window).
  const POINT point{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  RECT frame{};
  GetWindowRect(Control(form1::kFrame1), &frame);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&frame), 2);
  if (PtInRect(&frame, point)) return;
  const std::string credit = "Norvel " + std::to_string(NORVEL_VERSION_MAJOR) + "." +
                             std::to_string(NORVEL_VERSION_MINOR) +
                             "\r\n\r\n一个小小的定时提醒工具:到点弹出提醒,"
                             "或者替你关机、重启。\r\n常驻通知区域,双击图标显示或隐藏设置窗口。";
  ShowMessageBox(hwnd(), credit, "你知道吗:", MB_OK | MB_APPLMODAL);
}

bool Form1::TranslateDialogKey(MSG& msg) {
  // A multi-line edit under the dialog manager takes Esc as "close the dialog" and posts
  // WM_CLOSE to its parent, which would end the program. No button here is the cancel
  // button, so Esc in the message box does nothing at all.
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE &&
      msg.hwnd == Control(form1::kText1)) {
    return true;
  }
  return IsDialogMessageW(hwnd(), &msg) != FALSE;
}

void Form1::OnNextControl(WPARAM wparam, LPARAM lparam) {
  // Sent by the message box on Tab (the dialog manager leaves Tab to a multi-line edit):
  // move on as the dialog manager moves from any other control.
  const HWND target = LOWORD(lparam) ? reinterpret_cast<HWND>(wparam)
                                     : GetNextDlgTabItem(hwnd(), GetFocus(), wparam != 0);
  if (!target) return;
  if (SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
    SendMessageW(target, EM_SETSEL, 0, -1);
  }
  SetFocus(target);
}

void Form1::RememberFocus() {
  const HWND focus = GetFocus();
  if (focus && IsChild(hwnd(), focus)) focus_ = focus;
}

void Form1::RestoreFocus() {
  if (IsIconic(hwnd())) return;  // a minimized window keeps the focus itself
  // Back to the control that had the focus; the first of the tab order at the first show.
  if (!focus_ || !IsChild(hwnd(), focus_)) focus_ = GetNextDlgTabItem(hwnd(), nullptr, FALSE);
  if (focus_) SetFocus(focus_);
}

void Form1::CentreOnScreen() {
  RECT outer{};
  GetWindowRect(hwnd(), &outer);
  const int left = CentreOffset(GetSystemMetrics(SM_CXSCREEN), outer.right - outer.left);
  const int top = CentreOffset(GetSystemMetrics(SM_CYSCREEN), outer.bottom - outer.top);
  SetWindowPos(hwnd(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1::LoadSettingsIntoControls() {
  const AlarmSettings stored = ReadAlarmSettings(AppSettingsFile());
  if (on_picture_) on_picture_(stored.picture);
  const auto values = stored.Values();
  const StartupTexts texts = DecideStartupTexts([&](std::string_view key) {
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (AlarmSettings::kKeys[i] == key) return *values[i];
    }
    return std::string();
  });
  // Each control on its own, so that one failure leaves the others set.
  RunStep([&] { SetControlText(form1::kText1, texts.text1); });
  RunStep([&] { SetControlText(form1::kCombo1, texts.combo1); });
  RunStep([&] { SetControlText(form1::kCombo2, texts.combo2); });
  RunStep([&] { SetControlText(form1::kCombo3, texts.combo3); });
  RunStep([&] { SetControlText(form1::kCombo4, texts.combo4); });
  RunStep([&] { SetControlText(form1::kText2, texts.text2); });
}

void Form1::FillLists() {
  // The items come after the texts: a text that is no item stays as it is.
  for (const auto& item : form1::HourItems()) AddComboItem(Control(form1::kCombo1), item);
  for (const auto& item : form1::MinuteItems()) AddComboItem(Control(form1::kCombo2), item);
  for (const auto& item : form1::SecondItems()) AddComboItem(Control(form1::kCombo3), item);
  for (const auto& item : form1::ActionItems()) AddComboItem(Control(form1::kCombo4), item);
}

HWND Form1::Control(int id) const {
  for (const auto& [control_id, control] : controls_) {
    if (control_id == id) return control;
  }
  return GetDlgItem(hwnd(), id);
}

std::string Form1::ControlText(int id) const { return GetText(Control(id)); }

void Form1::SetControlText(int id, std::string_view text) {
  SetText(Control(id), text);
  if (id == form1::kText1) text1_accepted_ = GetText(Control(id));
}

void Form1::OnCommand1Click() {
  AlarmSettings settings;
  settings.message = ControlText(form1::kText1);
  settings.hour = ControlText(form1::kCombo1);
  settings.minute = ControlText(form1::kCombo2);
  settings.second = ControlText(form1::kCombo3);
  settings.action = ControlText(form1::kCombo4);
  settings.picture = ControlText(form1::kText2);
  const std::string file = AppSettingsFile();
  const SaveResult result = WriteAlarmSettings(settings, file);
  if (result.status != WriteStatus::kOk) {
    // Nothing was written, and the window stays shown, so that the user sees the settings
    // were not kept and can mend them.
    std::string reason = WriteFailureReason(result.status);
    if (!result.key.empty()) {
      reason = "“" + std::string(result.key) + "”中有无法以简体中文编码保存的字符。";
    }
    ShowMessageBox(hwnd(), "设置没有保存到文件:\r\n" + file + "\r\n\r\n" + reason, "Norvel",
                   MB_OK | MB_ICONWARNING);
    return;
  }
  if (on_picture_) on_picture_(settings.picture);
  RememberFocus();
  ShowWindow(hwnd(), SW_MINIMIZE);  // the resize handler hides the window
}

void Form1::OnCommand2Click() {
  const std::wstring initial_dir = Widen(AppDirectory()).value_or(L"");
  std::wstring file(32768, L'\0');
  std::wstring title(MAX_PATH, L'\0');
  // One filter, all files.
  static constexpr wchar_t kFilter[] = L"所有文件\0*.*\0";
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = hwnd();
  ofn.hInstance = GetModuleHandleW(nullptr);
  ofn.lpstrFilter = kFilter;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrFileTitle = title.data();
  ofn.nMaxFileTitle = static_cast<DWORD>(title.size());
  ofn.lpstrInitialDir = initial_dir.c_str();
  ofn.lpstrTitle = L"打开文件";
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&ofn)) return;  // cancelled: the path shown and saved stays

  const std::string path = NarrowLossy(file.c_str());
  if (!Cp936().Encode(path)) {
    ShowMessageBox(hwnd(),
                   "所选文件的路径中有无法以简体中文编码保存的字符,请选择其他位置或名称的文件:\r\n" + path,
                   "Norvel", MB_OK | MB_ICONWARNING);
    return;
  }
  SetControlText(form1::kText2, path);
  const std::string settings = AppSettingsFile();
  const WriteStatus status =
      WriteIniValue(AlarmSettings::kSection, AlarmSettings::kPicture, path, settings);
  if (status == WriteStatus::kOk && on_picture_) on_picture_(path);
  if (status != WriteStatus::kOk) {
    ShowMessageBox(hwnd(), "图片路径没有保存到文件:\r\n" + settings + "\r\n\r\n" +
                               WriteFailureReason(status),
                   "Norvel", MB_OK | MB_ICONWARNING);
  }
}

void Form1::OnResize(WPARAM state) {
  if (state != SIZE_MINIMIZED) return;
  RememberFocus();
  ShowWindow(hwnd(), SW_HIDE);
}

void Form1::OnText1Change() {
  if (adjusting_text1_) return;
  const HWND text1 = Control(form1::kText1);
  const std::string current = GetText(text1);
  if (const auto fitted = FitEditToLimit(text1_accepted_, current, form1::kMessageByteLimit)) {
    adjusting_text1_ = true;
    SetText(text1, fitted->text);
    const auto caret = Widen(std::string_view(fitted->text).substr(0, fitted->caret));
    const WPARAM position = caret ? caret->size() : 0;
    SendMessageW(text1, EM_SETSEL, position, static_cast<LPARAM>(position));
    SendMessageW(text1, EM_SCROLLCARET, 0, 0);
    adjusting_text1_ = false;
    MessageBeep(MB_OK);
    text1_accepted_ = fitted->text;
  } else {
    text1_accepted_ = current;
  }
}

LRESULT Form1::OnControlColour(HDC dc, HWND control) {
  // Labels and frames sit on the window's button-face background.
  const ControlLayout* layout = LayoutOf(GetDlgCtrlID(control));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  if (layout && (layout->flags & kTransparent)) SetBkMode(dc, TRANSPARENT);
  if (layout && (layout->flags & kBlueText)) SetTextColor(dc, kBlue);
  // The window's own background colour, so that a changed text never leaves traces.
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  static const UINT taskbar_created = RegisterWindowMessageW(L"TaskbarCreated");
  if (message == taskbar_created && tray_icon_) {
    tray_icon_->Add();  // the shell restarted: the icon must come back
    return 0;
  }
  if (message == ShowWindowMessage()) {
    ShowSettingsWindow();
    return 0;
  }
  switch (message) {
    case kTrayCallbackMessage:
      OnTrayCallback(lparam);
      return 0;
    case WM_CLOSE:
      OnCloseRequest();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wparam) OnCloseRequest();
      return 0;
    case WM_LBUTTONDBLCLK:
      OnDoubleClick(lparam);
      return 0;
    case WM_NEXTDLGCTL:
      OnNextControl(wparam, lparam);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) RememberFocus();
      break;  // activation sets the focus to the window, which passes it on below
    case WM_SETFOCUS:
      RestoreFocus();
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case form1::kCommand1:
          if (HIWORD(wparam) == BN_CLICKED) OnCommand1Click();
          return 0;
        case form1::kCommand2:
          if (HIWORD(wparam) == BN_CLICKED) OnCommand2Click();
          return 0;
        case form1::kText1:
          if (HIWORD(wparam) == EN_CHANGE) OnText1Change();
          return 0;
        case form1::kMenuShowWindow:
          OnMenuClick(0);
          return 0;
        case form1::kMenuExit:
          OnMenuClick(1);
          return 0;
      }
      break;
    case WM_TIMER:
      if (wparam == kTimer1 && on_tick_) on_tick_();
      if (wparam == kTrayRetryTimer) RetryTrayIcon();
      return 0;
    case WM_SIZE:
      OnResize(wparam);
      return 0;
    case WM_CTLCOLORSTATIC:
      return OnControlColour(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lparam);
      ApplyLayout(HIWORD(wparam));
      SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_DESTROY:
      KillTimer(hwnd(), kTimer1);
      controls_.clear();
      return 0;
  }
  return Window::HandleMessage(message, wparam, lparam);
}

void Form1::OnUnloaded() {
  if (on_unload_) on_unload_();
}

}  // namespace norvel
