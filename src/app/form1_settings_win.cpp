// The settings window's own settings: read into the controls at start-up, saved by OK,
// and the picture path saved by the picture chooser.
#include "app/form1_layout.h"
#include "app/form1_win.h"
#include "app/ini_win.h"
#include "app/picture_chooser_win.h"
#include "app/startup.h"
#include "settings/app_path_win.h"
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
  PictureSaved(stored.picture);
}

void Form1::PictureSaved(const std::string& path) {
  RunStep([&] {
    if (on_picture_) on_picture_(path);
  });
}

void Form1::OnCommand1Click() {
  AlarmSettings settings;
  settings.message = ControlText(form1::kText1);
  settings.hour = ControlText(form1::kCombo1);
  settings.minute = ControlText(form1::kCombo2);
  settings.second = ControlText(form1::kCombo3);
  settings.action = ControlText(form1::kCombo4);
  settings.picture = ControlText(form1::kText2);
  settings.days = ControlText(form1::kCombo5);
  const std::string file = AppSettingsFile();
  const SaveResult result = WriteAlarmSettings(settings, file);
  if (result.status != WriteStatus::kOk) {
    // Nothing was written, and the window stays shown, so that the user sees the settings
    // were not kept and can mend them.
    ShowMessageBox(hwnd(), SaveFailureText("设置", file, result), "Norvel", MB_OK | MB_ICONWARNING);
    return;
  }
  PictureSaved(settings.picture);
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
  const std::string file = AppSettingsFile();
  const WriteStatus status =
      WriteIniValue(AlarmSettings::kSection, AlarmSettings::kPicture, *path, file);
  if (status != WriteStatus::kOk) {
    ShowMessageBox(hwnd(), SaveFailureText("图片路径", file, {status, {}}), "Norvel",
                   MB_OK | MB_ICONWARNING);
    return;
  }
  PictureSaved(*path);
}

}  // namespace norvel
