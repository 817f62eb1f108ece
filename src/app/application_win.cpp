#include "app/application_win.h"

#include <windows.h>

#include "app/form1_win.h"
#include "reminder/form2_win.h"
#include "scheduler/alarm_tick_win.h"

namespace norvel {
namespace {

const LocalClock& TheLocalClock() {
  static const LocalClock clock;
  return clock;
}

}  // namespace

Application::Application()
    : form1_(std::make_unique<Form1>([this] { OnTick(); }, [this] { OnWindowUnloaded(); })),
      form2_(std::make_unique<Form2>([this] { OnWindowUnloaded(); })),
      tick_(std::make_unique<AlarmTick>(*form1_, TheLocalClock(),
                                        SystemAlarmEffects([this] { form2_->Show(); }))) {}

Application::~Application() = default;

void Application::OnWindowUnloaded() {
  // The process ends when none of its windows is loaded: an open reminder keeps it alive.
  if (!form1_->IsLoaded() && !form2_->IsLoaded()) PostQuitMessage(0);
}

void Application::OnTick() { tick_->Tick(); }

int Application::Run() {
  if (!form1_->Load()) return 1;
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Tab, Shift+Tab and Alt+O move and press as in a dialog.
    if (form1_->IsLoaded() && IsDialogMessageW(form1_->hwnd(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace norvel
