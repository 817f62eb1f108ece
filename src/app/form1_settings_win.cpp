// The settings window's own settings: read into the controls at start-up, saved by OK,
// and the picture path saved by the picture chooser.
#include <algorithm>

#include "app/form1_layout.h"
#include "app/form1_win.h"
#include "app/ini_win.h"
#include "app/picture_chooser_win.h"
#include "app/startup.h"
#include "settings/app_path_win.h"
#include "scheduler/alarm_log.h"
#include "settings/alarms.h"
#include "settings/ini.h"
#include "toolkit/codepage.h"
#include "toolkit/controls_win.h"
#include "toolkit/run_step.h"

namespace norvel {

void Form1::LoadSettingsIntoControls() {
  const AlarmSettings stored = ReadAlarmSettings(AppSettingsFile());
  const StartupTexts texts = DecideStartupTexts(stored);
  // Each control on its own, so that one failure leaves the others set.
  RunStep([&] { SetControlText(form1::kText1, texts.text1); });
  RunStep([&] { SetControlText(form1::kCombo1, texts.combo1); });
  RunStep([&] { SetControlText(form1::kCombo2, texts.combo2); });
  RunStep([&] { SetControlText(form1::kCombo3, texts.combo3); });
  RunStep([&] { SetControlText(form1::kCombo4, texts.combo4); });
  RunStep([&] { SetControlText(form1::kText2, texts.text2); });
  days_ = texts.combo5;
}

void Form1::PicturesSaved() {
  RunStep([&] {
    if (on_saved_) on_saved_();
  });
}

void Form1::OnCommand1Click() {
  CaptureSelected();
  const std::string file = AppSettingsFile();
  const AlarmsSaveResult result =
      WriteAlarms(edits_.alarms(), edits_.deleted(), edits_.max_number(), file);
  if (result.status != WriteStatus::kOk) {
    // Nothing was written, and the window stays shown, so that the user sees the settings
    // were not kept and can mend them; a text that cannot be kept names its alarm.
    const std::string what =
        result.number > 1 ? AlarmName(result.number) + " 的设置" : std::string("设置");
    ShowMessageBox(hwnd(), SaveFailureText(what, file, {result.status, result.key}), "Norvel",
                   MB_OK | MB_ICONWARNING);
    return;
  }
  edits_.Saved();
  PicturesSaved();
  keys_.RememberFocus();
  ShowWindow(hwnd(), SW_MINIMIZE);  // the resize handler hides the window
}

void Form1::OnCommand2Click() {
  const std::optional<std::string> path = ChoosePictureFile(hwnd());
  if (!path) return;  // cancelled: the path shown and saved stays
  if (!Cp936().Encode(*path)) {
    ShowMessageBox(hwnd(), UnrepresentablePathText(*path), "Norvel", MB_OK | MB_ICONWARNING);
    return;
  }
  SetControlText(form1::kText2, *path);
  CaptureSelected();
  // Kept at once in the alarm's section; an alarm not saved yet keeps it until OK.
  const std::string file = AppSettingsFile();
  const int number = edits_.Selected().number;
  const std::vector<StoredAlarm> saved = ReadAlarms(file).alarms;
  if (std::none_of(saved.begin(), saved.end(),
                   [&](const StoredAlarm& alarm) { return alarm.number == number; })) {
    return;
  }
  const WriteStatus status =
      WriteIniValue(AlarmSectionName(number), AlarmSettings::kPicture, *path, file);
  if (status != WriteStatus::kOk) {
    ShowMessageBox(hwnd(), SaveFailureText("图片路径", file, {status, {}}), "Norvel",
                   MB_OK | MB_ICONWARNING);
    return;
  }
  PicturesSaved();
}

}  // namespace norvel
