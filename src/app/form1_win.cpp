#include "app/form1_win.h"

#include <windowsx.h>

#include "app/form1_layout.h"
#include "app/form1_tray_win.h"
#include "app/ini_win.h"
#include "app/startup.h"
#include "reminder/prepared_picture_win.h"
#include "scheduler/tick_phase.h"
#include "toolkit/controls_win.h"
#include "toolkit/dpi_win.h"
#include "toolkit/resource.h"
#include "toolkit/run_step.h"
#include "toolkit/text_win.h"

namespace norvel {
namespace {

// A fixed frame with caption and close box; no minimize or maximize box.
// No WS_CLIPCHILDREN: the frames (group boxes) do not paint their inside; the window does.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = 0;

// In the order of AlarmList.
constexpr int kListIds[] = {form1::kCombo1, form1::kCombo2, form1::kCombo3, form1::kCombo4,
                            form1::kCombo5};

}  // namespace

Form1::Form1(std::function<void()> on_tick, std::function<void()> on_unload,
             std::function<void()> on_saved)
    : on_tick_(std::move(on_tick)),
      on_unload_(std::move(on_unload)),
      on_saved_(std::move(on_saved)),
      text1_limit_(form1::kMessageByteLimit) {}

Form1::~Form1() = default;

UINT Form1::ShowWindowMessage() {
  static const UINT message = RegisterWindowMessageW(L"Norvel.ShowSettingsWindow");
  return message;
}

bool Form1::Load(bool show) {
  const HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_NORVEL));
  const std::wstring caption = Widen(form1::kCaption).value_or(L"");
  if (!CreateWindowOfClass(kClassName, caption.c_str(), kStyle, kExStyle,
                           RECT{CW_USEDEFAULT, 0, CW_USEDEFAULT, 0}, nullptr, icon)) {
    return false;
  }
  keys_.Attach(hwnd());
  controls_.Create(hwnd(), form1::Controls());
  list_.Attach(Control(form1::kAlarmList));
  SendMessageW(Control(form1::kText1), EM_SETLIMITTEXT, 0, 0);  // the byte limit is ours
  text1_limit_.Accept(Control(form1::kText1));
  CreateMenus();
  ApplyLayout(DpiForWindow(hwnd()));
  OnLoad();
  // Timer1 is enabled by design and ticks from the end of the load on.
  RetimeTick(kTickIntervalMs);
  // Started at log-in ("/tray"): the window stays hidden until the icon brings it.
  if (!show) return true;
  ShowWindow(hwnd(), SW_SHOW);
  UpdateWindow(hwnd());
  return true;
}

void Form1::ApplyLayout(int dpi) {
  controls_.LayOut(dpi);
  list_.LayOut(dpi);
  const SIZE outer =
      OuterSizeForClient(TwipsToPixels(form1::kClientWidth, dpi),
                         TwipsToPixels(form1::kClientHeight, dpi), kStyle, kExStyle, dpi);
  SetWindowPos(hwnd(), nullptr, 0, 0, outer.cx, outer.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1::OnLoad() {
  RunStep([&] {
    tray_ = std::make_unique<Form1Tray>(
        hwnd(), GetSubMenu(m_main_.get(), 0), [this] { keys_.TakeKeyboard(); },
        [this](HMENU menu) { PrepareMenu(menu); });
    tray_->Add();
  });
  RunStep([&] { CentreOnScreen(hwnd()); });
  RunStep([&] { LoadSettingsIntoControls(); });
  RunStep([&] { FillLists(); });
  RunStep([&] { LoadAlarms(); });
  RunStep([&] { SetTopmost(hwnd()); });
}

void Form1::ShowSettingsWindow() {
  ShowWindow(hwnd(), SW_RESTORE);
  ShowWindow(hwnd(), SW_SHOW);
  SetTopmost(hwnd());
  keys_.TakeKeyboard();
}

void Form1::ShowBalloon(const std::wstring& text) {
  if (tray_) tray_->ShowBalloon(text);
}

void Form1::OnMenuClick(int index) {
  if (index == 0) ShowSettingsWindow();
  if (index == 1) OnCloseRequest();
}

void Form1::OnCloseRequest() {
  // Every way of closing ends here; it is never cancelled. The timer stops with the window.
  if (tray_) tray_->Remove();
  DestroyWindow(hwnd());
}

void Form1::OnDoubleClick(LPARAM lparam) {
  // Only the bare margin around Frame1 counts (the frame lets clicks through to the window).
  const POINT point{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  RECT frame{};
  GetWindowRect(Control(form1::kFrame1), &frame);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&frame), 2);
  if (PtInRect(&frame, point)) return;
  ShowMessageBox(hwnd(), CreditText(), "你知道吗:", MB_OK | MB_APPLMODAL);
}

void Form1::FillLists() {
  // The items come after the texts: a text that is no item stays as it is.
  for (const auto& item : form1::HourItems()) AddComboItem(Control(form1::kCombo1), item);
  for (const auto& item : form1::MinuteItems()) AddComboItem(Control(form1::kCombo2), item);
  for (const auto& item : form1::SecondItems()) AddComboItem(Control(form1::kCombo3), item);
  for (const auto& item : form1::ActionItems()) AddComboItem(Control(form1::kCombo4), item);
  // Combo5 takes no typing: its text is the item chosen, "每天" unless another was stored.
  for (const auto& item : form1::DayItems()) AddComboItem(Control(form1::kCombo5), item);
  SelectComboItem(Control(form1::kCombo5), days_);
  for (const auto& item : form1::SoundItems()) AddComboItem(Control(form1::kCombo6), item);
}

std::string Form1::ControlText(int id) const {
  return GetText(Control(id));
}

void Form1::SetControlText(int id, std::string_view text) {
  SetText(Control(id), text);
  if (id == form1::kText1) text1_limit_.Accept(Control(id));
}

std::wstring_view Form1::LiveText(AlarmList list, wchar_t (&buffer)[ListTexts::kBuffer]) const {
  const int n =
      GetWindowTextW(Control(kListIds[static_cast<int>(list)]), buffer, ListTexts::kBuffer);
  // A text that fills the buffer may have been cut; no such text can match anyway.
  if (n <= 0 || n >= ListTexts::kBuffer - 1) return {};
  return {buffer, static_cast<std::size_t>(n)};
}

void Form1::ShowStatusLine(const wchar_t* text) {
  SetWindowTextW(Control(form1::kLabel5), text);
}

void Form1::RetimeTick(int interval_ms) {
  SetTimer(hwnd(), kTimer1, static_cast<UINT>(interval_ms), nullptr);
}

void Form1::OnResize(WPARAM state) {
  if (state != SIZE_MINIMIZED) return;
  keys_.RememberFocus();
  ShowWindow(hwnd(), SW_HIDE);
}

bool Form1::HandleCommand(WORD id, WORD code) {
  switch (id) {
    case form1::kCommand1:
      if (code == BN_CLICKED) OnCommand1Click();
      return true;
    case form1::kCommand2:
      if (code == BN_CLICKED) OnCommand2Click();
      return true;
    case form1::kText1:
      if (code == EN_CHANGE) text1_limit_.OnChange(Control(form1::kText1));
      return HandleAlarmCommand(form1::kText2, code);  // the row shows the message too
    case form1::kMenuShowWindow:
      OnMenuClick(0);
      return true;
    case form1::kMenuExit:
      OnMenuClick(1);
      return true;
    case form1::kMenuStartAtLogin:
      OnStartAtLoginClick();
      return true;
  }
  if (id >= form1::kMenuCancelPutOff && id <= form1::kMenuCancelPutOffLast) {
    CancelPutOffItem(id);
    return true;
  }
  return HandleAlarmCommand(id, code);
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (tray_ && tray_->HandleMessage(message, wparam, lparam)) return 0;
  if (message == PicturePreparer::kReadyMessage) {
    if (picture_ready_) picture_ready_();
    return 0;
  }
  if (message == ShowWindowMessage()) {
    ShowSettingsWindow();
    return 0;
  }
  switch (message) {
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
      keys_.NextControl(wparam, lparam);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) keys_.RememberFocus();
      break;  // activation sets the focus to the window, which passes it on below
    case WM_SETFOCUS:
      keys_.RestoreFocus();
      return 0;
    case WM_COMMAND:
      if (HandleCommand(LOWORD(wparam), HIWORD(wparam))) return 0;
      break;
    case WM_TIMER:
      if (wparam == kTimer1 && on_tick_) on_tick_();
      return 0;
    case WM_NOTIFY:
      OnAlarmListNotify(*reinterpret_cast<const NMHDR*>(lparam));
      return 0;
    case kCaptureMessage:
      CaptureSelected();
      return 0;
    case kChooseSoundMessage:
      OnChooseSound();
      return 0;
    case kRestartTimerMessage:
      RetimeTick(kTickIntervalMs);
      return 0;
    case WM_SIZE:
      OnResize(wparam);
      return 0;
    case WM_CTLCOLORSTATIC:
      return controls_.Colour(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_DPICHANGED:
      ApplyLayout(HIWORD(wparam));
      MoveToSuggestedRect(hwnd(), lparam);
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd(), kTimer1);
      controls_.Clear();
      return 0;
  }
  return Window::HandleMessage(message, wparam, lparam);
}

void Form1::OnUnloaded() {
  if (on_unload_) on_unload_();
}

}  // namespace norvel
