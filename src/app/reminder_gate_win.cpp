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
  return path.empty() ? PictureState::kNone : preparer_.State(path);
}

void ReminderGate::Due() {
  if (form2_.IsLoaded()) {  // shown already: the desktop cleared and it brought back again
    Apply(ReminderStep::kShow);
    return;
  }
  PictureState picture = Picture();
  if (!wait_.waiting() && picture == PictureState::kNone) {
    // A picture changed at the last moment (or never asked for) is made ready now.
    const std::string path = picture_path_();
    if (!path.empty()) {
      preparer_.Prepare(path);
      picture = Picture();
    }
  }
  Apply(wait_.Due(picture, NowMs()));
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
