#include "app/reminder_gate_win.h"

#include <windows.h>

#include "reminder/form2_win.h"
#include "reminder/prepared_picture_win.h"
#include "scheduler/ZXH_win.h"

namespace norvel {
namespace {

std::int64_t NowMs() {
  return static_cast<std::int64_t>(GetTickCount64());
}

}  // namespace

ReminderGate::ReminderGate(Form2& form2, PicturePreparer& preparer,
                           std::function<std::string()> picture_path,
                           std::function<void(const std::string&)> log)
    : form2_(form2),
      preparer_(preparer),
      picture_path_(std::move(picture_path)),
      log_(std::move(log)) {}

PictureState ReminderGate::Picture() const {
  const std::string path = picture_path_();
  if (path.empty()) return PictureState::kNone;
  if (preparer_.Take(path)) return PictureState::kReady;
  return preparer_.Pending(path) ? PictureState::kPending : PictureState::kNone;
}

void ReminderGate::Due() {
  if (form2_.IsLoaded()) {  // shown already: the desktop cleared and it brought back again
    Apply(ReminderStep::kShow);
    return;
  }
  if (!wait_.waiting()) {
    // A picture changed at the last moment (or never asked for) is made ready now.
    const std::string path = picture_path_();
    if (!path.empty() && Picture() == PictureState::kNone) preparer_.Prepare(path);
  }
  Apply(wait_.Due(Picture(), NowMs()));
}

void ReminderGate::Look() {
  if (wait_.waiting()) Apply(wait_.Look(Picture(), NowMs()));
}

void ReminderGate::Apply(ReminderStep step) {
  if (step != ReminderStep::kShow && step != ReminderStep::kShowWithoutPicture) return;
  if (step == ReminderStep::kShowWithoutPicture && log_) {
    log_("提醒的图片 2 秒内没有准备好, 提醒不带图片显示");
  }
  // The desktop is cleared as the reminder comes (and on every tick of its second).
  EnumWindows(MinimizeWindowProc, 0);
  form2_.Show();
}

}  // namespace norvel
