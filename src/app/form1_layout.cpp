#include "app/form1_layout.h"

#include "app/reminder_sound.h"
#include "scheduler/calendar/day_rule.h"

namespace norvel::form1 {
namespace {

// Containers are referred to by their index in this table.
constexpr int kInFrame1 = 4;
constexpr int kInFrame2 = 13;

constexpr ControlLayout kControls[] = {
    // The alarm list and its buttons come first in the tab order, above the frame.
    {"AlarmList", kAlarmList, ControlKind::kListView, -1, "", 120, 120, kClientWidth - 240,
     kAlarmListHeight, 0},
    {"CommandNew", kCommandNew, ControlKind::kButton, -1, "新建(&N)", 120, kAlarmButtonsTop, 1095,
     375, 1},
    {"CommandCopy", kCommandCopy, ControlKind::kButton, -1, "复制(&C)", 1335, kAlarmButtonsTop,
     1095, 375, 2},
    {"CommandDelete", kCommandDelete, ControlKind::kButton, -1, "删除(&D)", 2550, kAlarmButtonsTop,
     1095, 375, 3},
    {"Frame1", kFrame1, ControlKind::kFrame, -1, "", 120, 120 + kAlarmBlock, 6135,
     2895 + 2 * kListPitch, 4},
    {"Combo1", kCombo1, ControlKind::kComboBox, kInFrame1, "每小时", 240, 360, 1455, 300, 5},
    {"Label1", kLabel1, ControlKind::kLabel, kInFrame1, "时", 1800, 360, 255, 255, 12},
    {"Combo2", kCombo2, ControlKind::kComboBox, kInFrame1, "00", 240, 840, 1455, 300, 6},
    {"Label2", kLabel2, ControlKind::kLabel, kInFrame1, "分", 1800, 840, 375, 255, 13},
    {"Combo3", kCombo3, ControlKind::kComboBox, kInFrame1, "00", 240, 1320, 1455, 300, 7},
    {"Label3", kLabel3, ControlKind::kLabel, kInFrame1, "秒", 1800, 1320, 375, 255, 14},
    {"Combo4", kCombo4, ControlKind::kComboBox, kInFrame1, "无动作", 240, 1800, 1455, 300, 8},
    {"Label4", kLabel4, ControlKind::kLabel, kInFrame1, "动作", 1800, 1800, 375, 255, 15},
    {"Frame2", kFrame2, ControlKind::kFrame, kInFrame1, "提示语句", 2280, 240, 3735, 1935, 11},
    {"Text1", kText1, ControlKind::kTextBox, kInFrame2, "时间到,请休息!\r\n", 120, 240, 3495, 1575,
     17, kMultiLine},
    {"Label6", kLabel6, ControlKind::kLabel, kInFrame1, "选择图片", 240, 2300 + 2 * kListPitch, 735,
     255, 20, kTransparent},
    {"Text2", kText2, ControlKind::kTextBox, kInFrame1, "Text2", 960, 2280 + 2 * kListPitch, 2655,
     270, 19},
    {"Command2", kCommand2, ControlKind::kButton, kInFrame1, "...", 3720, 2280 + 2 * kListPitch,
     495, 255, 21},
    {"Command1", kCommand1, ControlKind::kButton, kInFrame1, "确定(&O)", 4680,
     2280 + 2 * kListPitch, 1335, 495, 16},
    // Ends above the frame's bottom border: its background must not paint over the frame.
    {"Label5", kLabel5, ControlKind::kLabel, kInFrame1, "", 240, 2595 + 2 * kListPitch, 4215, 255,
     18, kTransparent | kBlueText},
    // One list pitch below Combo4, in the tab order right after it.
    {"Combo5", kCombo5, ControlKind::kComboBox, kInFrame1, "", 240, 1800 + kListPitch, 1455, 300, 9,
     kDropDownList},
    {"Label7", kLabel7, ControlKind::kLabel, kInFrame1, "日期", 1800, 1800 + kListPitch, 375, 255,
     22},
    // One list pitch below Combo5, in the tab order right after it.
    {"Combo6", kCombo6, ControlKind::kComboBox, kInFrame1, "", 240, 1800 + 2 * kListPitch, 1455,
     300, 10, kDropDownList},
    {"Label8", kLabel8, ControlKind::kLabel, kInFrame1, "声音", 1800, 1800 + 2 * kListPitch, 375,
     255, 23},
};

std::vector<std::string> Numbers(int first, int last) {
  std::vector<std::string> items;
  for (int n = first; n <= last; ++n) items.push_back(std::to_string(n));
  return items;
}

}  // namespace

std::span<const ControlLayout> Controls() {
  return kControls;
}

std::vector<std::string> HourItems() {
  std::vector<std::string> items{std::string(kEveryHour)};
  for (auto& n : Numbers(0, 23)) items.push_back(std::move(n));
  return items;
}
std::vector<std::string> MinuteItems() {
  return Numbers(0, 59);
}
std::vector<std::string> SecondItems() {
  return Numbers(0, 59);
}
std::vector<std::string> ActionItems() {
  return {kActions.begin(), kActions.end()};
}
std::vector<std::string> DayItems() {
  return {kDayRuleTexts.begin(), kDayRuleTexts.end()};
}
std::vector<std::string> SoundItems() {
  return {kSoundItems.begin(), kSoundItems.end()};
}

}  // namespace norvel::form1
