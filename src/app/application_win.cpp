#include "app/application_win.h"

#include <windows.h>

#include "app/form1_layout.h"
#include "app/form1_win.h"
#include "app/single_instance_win.h"
#include "reminder/form2_win.h"
#include "reminder/prepared_picture_win.h"
#include "scheduler/alarm_tick_win.h"
#include "scheduler/power_warning_win.h"

namespace norvel {
namespace {

const LocalClock& TheLocalClock() {
  static const LocalClock clock;
  return clock;
}

}  // namespace

Application::Application(std::unique_ptr<SingleInstance> instance)
    : instance_(std::move(instance)),
      preparer_(std::make_unique<PicturePreparer>()),
      form1_(
          std::make_unique<Form1>([this] { OnTick(); }, [this] { OnWindowUnloaded(); },
                                  [this](const std::string& path) { preparer_->Prepare(path); })),
      form2_(std::make_unique<Form2>([this] { OnWindowUnloaded(); }, preparer_.get())),
      warning_(std::make_unique<PowerWarningWindow>(
          [this](std::int64_t occurrence) { tick_->CancelPowerAction(occurrence); })),
      tick_(std::make_unique<AlarmTick>(*form1_, TheLocalClock(), Effects())) {}

AlarmEffects Application::Effects() {
  AlarmEffects effects = SystemAlarmEffects(
      [this] { form2_->Show(); }, [this](const std::wstring& text) { form1_->ShowBalloon(text); });
  effects.warn = [this](const std::optional<PowerWarning>& warning, const std::wstring& action) {
    warning_->Update(warning, action);
  };
  return effects;
}

Application::~Application() = default;

void Application::OnWindowUnloaded() {
  // The guard belongs to the settings window: once it is gone, a new start must get a
  // window and an icon of its own, even while a reminder keeps this process alive.
  if (!form1_->IsLoaded()) {
    instance_.reset();
    warning_->Update(std::nullopt, {});  // without the tick nothing is shut down any more
  }
  // The process ends when none of its windows is loaded: an open reminder keeps it alive.
  if (!form1_->IsLoaded() && !form2_->IsLoaded()) PostQuitMessage(0);
}

void Application::OnTick() {
  tick_->Tick();
  // Every five seconds: a picture file that changed is made ready again.
  if (++ticks_ == 5000 / form1::kTimerIntervalMs) {
    ticks_ = 0;
    preparer_->Refresh();
  }
}

int Application::Run() {
  if (!form1_->Load()) return 1;
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Tab, Shift+Tab and Alt+O move and press as in a dialog; Esc presses nothing.
    if (form1_->IsLoaded() && form1_->TranslateDialogKey(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace norvel
