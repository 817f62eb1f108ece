// The settings window Form1: its caption, size, controls, lists and menu, defined once.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/version.h"
#include "scheduler/alarm.h"
#include "toolkit/layout.h"

namespace norvel::form1 {

// Control ids.
enum : int {
  kFrame1 = 100,
  kCombo1,
  kLabel1,
  kCombo2,
  kLabel2,
  kCombo3,
  kLabel3,
  kCombo4,
  kLabel4,
  kFrame2,
  kText1,
  kLabel6,
  kText2,
  kCommand2,
  kCommand1,
  kLabel5,
  kCombo5,
  kLabel7,
  kAlarmList,
  kCommandNew,
  kCommandCopy,
  kCommandDelete,
  kCombo6,
  kLabel8,
};

// Menu item ids of m_Menu: "显示窗口", "开机时启动", "退出".
// For each pending put-off reminder, "取消稍后提醒 (HH:MM:SS)" comes before "退出" (ids from
// kMenuCancelPutOff on, one per alarm; more than three go into a submenu).
enum : int {
  kMenuShowWindow = 200,
  kMenuExit = 201,
  kMenuStartAtLogin = 202,
  kMenuCancelPutOff = 203,
  kMenuCancelPutOffLast = kMenuCancelPutOff + 31,
};
inline constexpr std::size_t kPutOffItemsInMenu = 3;

// The alarm list's column titles, and their widths in pixels at 96 dpi.
inline constexpr std::array<std::string_view, 5> kAlarmColumns = {"时间", "日期", "动作", "提示语",
                                                                  "下次"};
inline constexpr std::array<int, 5> kAlarmColumnWidths = {94, 50, 72, 78, 90};

inline constexpr std::string_view kCaption = NORVEL_CAPTION;
inline constexpr int kClientWidth = 6345;  // twips: 423 pixels at 96 dpi
inline constexpr int kListPitch = 480;     // twips from one list to the next
// The alarm list and its three buttons above the frame: the frame and everything in it move
// down by this much, and the window grows by it.
inline constexpr int kAlarmListHeight = 1800;
inline constexpr int kAlarmButtonsTop = 120 + kAlarmListHeight + 90;
inline constexpr int kAlarmBlock = kAlarmListHeight + 90 + 375 + 90;
inline constexpr int kClientHeight = 3165 + 2 * kListPitch + kAlarmBlock;  // twips
inline constexpr std::size_t kMessageByteLimit = 255;  // Text1, in code page 936 bytes
inline constexpr std::string_view kDefaultMessage = "时间到,请休息!";

inline constexpr std::string_view kMenuCaption = "dc";
inline constexpr std::array<std::string_view, 3> kMenuItems = {"显示窗口", "开机时启动", "退出"};
inline constexpr std::array<int, 3> kMenuIds = {kMenuShowWindow, kMenuStartAtLogin, kMenuExit};

// The list items that the tick compares with: the tick's own texts.
inline constexpr std::string_view kEveryHour = kEveryHourText;
inline constexpr std::array<std::string_view, 3> kActions = {kRemindText, kShutDownText,
                                                             kRestartText};

std::span<const ControlLayout> Controls();

// The items of the four lists in their order: Combo1 "每小时", 0 … 23; Combo2 and Combo3
// 0 … 59; Combo4 the three actions.
std::vector<std::string> HourItems();
std::vector<std::string> MinuteItems();
std::vector<std::string> SecondItems();
std::vector<std::string> ActionItems();
// Combo5: "每天", "工作日", "休息日", "周一" … "周日".
std::vector<std::string> DayItems();
// Combo6: "无", "铃声", "系统提示音", "选择文件...".
std::vector<std::string> SoundItems();

}  // namespace norvel::form1
