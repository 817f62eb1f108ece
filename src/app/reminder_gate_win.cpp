#include "app/reminder_gate_win.h"

#include <windows.h>

#include <algorithm>

#include "reminder/form2_win.h"
#include "reminder/prepared_picture_win.h"
#include "scheduler/ZXH_win.h"
#include "scheduler/alarm_log.h"

namespace norvel {
namespace {

std::int64_t NowMs() {
  return static_cast<std::int64_t>(GetTickCount64());
}

}  // namespace

ReminderGate::ReminderGate(PicturePreparer& preparer, Hooks hooks)
    : preparer_(preparer),
      hooks_(std::move(hooks)),
      hold_([this] { return hooks_.presenting && hooks_.presenting(); }) {}

ReminderGate::~ReminderGate() = default;

Form2& ReminderGate::FormOf(int alarm) {
  for (const auto& [number, form] : forms_) {
    if (number == alarm) return *form;
  }
  auto form = std::make_unique<Form2>(
      [this, alarm] {
        if (hooks_.unloaded) hooks_.unloaded(alarm);
      },
      &preparer_,
      [this, alarm](int minutes) {
        if (hooks_.put_off) hooks_.put_off(alarm, minutes);
      },
      [this, alarm] { return hooks_.texts ? hooks_.texts(alarm) : AlarmSettings{}; });
  form->AllowPutOff(allow_put_off_);
  form->SetMuteHook([this] {
    if (hooks_.mute) hooks_.mute();
  });
  forms_.emplace_back(alarm, std::move(form));
  return *forms_.back().second;
}

bool ReminderGate::AnyLoaded() const {
  return std::any_of(forms_.begin(), forms_.end(),
                     [](const auto& entry) { return entry.second->IsLoaded(); });
}

void ReminderGate::AllowPutOff(bool allowed) {
  allow_put_off_ = allowed;
  for (const auto& entry : forms_) entry.second->AllowPutOff(allowed);
}

void ReminderGate::Show(Form2& form, bool& cleared, int offset) {
  // The desktop is cleared as the reminders come (and on every tick of their second).
  if (!cleared) EnumWindows(MinimizeWindowProc, 0);
  cleared = true;
  form.Show(offset);
}

void ReminderGate::Due(const std::vector<int>& alarms) {
  bool cleared = false;
  Released(hold_.Due(alarms, NowMs()), cleared);
}

void ReminderGate::Released(const FullScreenWait::Step& step, bool& cleared) {
  for (const int alarm : step.waiting) {
    if (hooks_.log) hooks_.log(AlarmName(alarm) + " 的提醒在等待: 正在演示或运行全屏程序");
  }
  if (!step.waiting.empty() && hooks_.waiting_note) {
    std::string note = "提醒等待全屏程序结束:";
    for (const int alarm : hold_.held()) note.append(" ").append(AlarmName(alarm));
    hooks_.waiting_note(note);
  }
  if (step.show.empty()) return;
  if (hooks_.waiting_note && hold_.held().empty()) hooks_.waiting_note("");
  if (step.waited && hooks_.log) {
    hooks_.log(step.gave_up ? "提醒等了 30 分钟, 不再等全屏程序结束, 现在显示"
                            : "全屏程序已结束, 显示等待的提醒");
  }
  for (const int alarm : step.show) {
    Form2& form = FormOf(alarm);
    if (form.IsLoaded()) {  // shown already: brought back again
      Show(form, cleared, 0);
    } else if (std::find(queue_.begin(), queue_.end(), alarm) == queue_.end()) {
      queue_.push_back(alarm);
    }
  }
  ShowQueued(cleared);
}

void ReminderGate::Look() {
  bool cleared = false;
  Released(hold_.Look(NowMs()), cleared);
  ShowQueued(cleared);
}

void ReminderGate::ShowQueued(bool& cleared) {
  while (!queue_.empty()) {
    const int alarm = queue_.front();
    const bool first_look = !wait_.waiting();
    if (first_look) head_path_ = hooks_.texts ? hooks_.texts(alarm).picture : std::string();
    PictureState picture = head_path_.empty() ? PictureState::kNone : preparer_.State(head_path_);
    if (first_look && picture == PictureState::kNone && !head_path_.empty()) {
      // A picture changed at the last moment (or not asked for ahead) is made ready now.
      preparer_.Prepare(head_path_);
      picture = preparer_.State(head_path_);
    }
    const ReminderStep step =
        first_look ? wait_.Due(picture, NowMs()) : wait_.Look(picture, NowMs());
    if (step != ReminderStep::kShow && step != ReminderStep::kShowWithoutPicture) return;
    if (step == ReminderStep::kShowWithoutPicture && hooks_.log) {
      hooks_.log(AlarmName(alarm) + " 提醒的图片 2 秒内没有准备好, 提醒不带图片显示");
    }
    queue_.pop_front();
    Form2& form = FormOf(alarm);
    Show(form, cleared, cascade_ * kCascadePixels);
    if (form.IsLoaded() && hooks_.shown) hooks_.shown(alarm, cascade_ == 0);
    ++cascade_;
  }
  cascade_ = 0;
}

}  // namespace norvel
