#include <gtest/gtest.h>

#include <vector>

#include "app/form1_layout.h"
#include "reminder/form2_layout.h"
#include "toolkit/layout.h"

namespace norvel {
namespace {

std::size_t IndexOf(std::span<const ControlLayout> controls, std::string_view name) {
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].name == name) return i;
  }
  ADD_FAILURE() << "no control " << name;
  return 0;
}

TEST(Layout, WindowSizesAtCommonDpis) {
  EXPECT_EQ(TwipsToPixels(form1::kClientWidth, 96), 423);
  EXPECT_EQ(TwipsToPixels(form1::kClientHeight, 96), 432);
  EXPECT_EQ(TwipsToPixels(form2::kClientWidth, 96), 321);
  EXPECT_EQ(TwipsToPixels(form2::kClientHeight, 96), 279);
  // 120 dpi: 12 twips a pixel; 144 dpi: 10.
  EXPECT_EQ(TwipsToPixels(form1::kClientWidth, 120), 529);  // 528.75
  EXPECT_EQ(TwipsToPixels(form1::kClientHeight, 120), 540);
  EXPECT_EQ(TwipsToPixels(form1::kClientWidth, 144), 635);  // 634.5, half away from zero
  EXPECT_EQ(TwipsToPixels(form1::kClientHeight, 144), 648);
  EXPECT_EQ(TwipsToPixels(-15, 96), -1);
}

// Controls inside frames are placed from the frame's outer corner: Text1 sits in Frame2,
// which sits in Frame1, which sits below the alarm list and its buttons.
TEST(Layout, NestedContainersAddUp) {
  const auto controls = form1::Controls();
  EXPECT_EQ(ControlRect(controls, IndexOf(controls, "Frame1"), 96), (PixelRect{8, 165, 409, 257}));
  EXPECT_EQ(ControlRect(controls, IndexOf(controls, "Frame2"), 96),
            (PixelRect{160, 181, 249, 129}));
  // Text1: 120 + 2280 + 120 = 2520, 2475 + 240 + 240 = 2955 twips.
  EXPECT_EQ(ControlRect(controls, IndexOf(controls, "Text1"), 96), (PixelRect{168, 197, 233, 105}));
  EXPECT_EQ(ControlRect(controls, IndexOf(controls, "Text1"), 144),
            (PixelRect{252, 296, 350, 158}));
  EXPECT_EQ(ControlRect(controls, IndexOf(controls, "Command1"), 96),
            (PixelRect{320, 381, 89, 33}));
  // Frame1 leaves 120 twips at the left and top, 90 at the right and 150 at the bottom.
  const ControlLayout& frame1 = controls[IndexOf(controls, "Frame1")];
  EXPECT_EQ(form1::kClientWidth - frame1.left - frame1.width, 90);
  EXPECT_EQ(form1::kClientHeight - frame1.top - frame1.height, 150);
  // The list and its buttons keep 120 twips from the window's edges and the frame's width.
  const ControlLayout& list = controls[IndexOf(controls, "AlarmList")];
  EXPECT_EQ(list.left, 120);
  EXPECT_EQ(form1::kClientWidth - list.left - list.width, 120);
  const ControlLayout& buttons = controls[IndexOf(controls, "CommandDelete")];
  EXPECT_LT(buttons.top + buttons.height, frame1.top);
}

TEST(Layout, TabOrderOfTheSettingsWindow) {
  const auto controls = form1::Controls();
  std::vector<std::size_t> order(controls.size());
  TabOrder(controls, order);
  std::vector<std::string_view> names;
  for (const auto i : order) names.push_back(controls[i].name);
  EXPECT_EQ(names,
            (std::vector<std::string_view>{
                "AlarmList", "CommandNew", "CommandCopy", "CommandDelete", "Frame1",   "Combo1",
                "Combo2",    "Combo3",     "Combo4",      "Combo5",        "Combo6",   "Frame2",
                "Label1",    "Label2",     "Label3",      "Label4",        "Command1", "Text1",
                "Label5",    "Text2",      "Label6",      "Command2",      "Label7",   "Label8"}));
}

TEST(Layout, ListItems) {
  const auto hours = form1::HourItems();
  ASSERT_EQ(hours.size(), 25u);
  EXPECT_EQ(hours.front(), "每小时");
  EXPECT_EQ(hours[1], "0");
  EXPECT_EQ(hours.back(), "23");
  const auto minutes = form1::MinuteItems();
  ASSERT_EQ(minutes.size(), 60u);
  EXPECT_EQ(minutes[5], "5");  // no leading zeros
  EXPECT_EQ(form1::SecondItems(), minutes);
  EXPECT_EQ(form1::ActionItems(), (std::vector<std::string>{"无动作", "关闭计算机", "重启计算机"}));
  EXPECT_EQ(form1::DayItems(), (std::vector<std::string>{"每天", "工作日", "休息日", "周一", "周二",
                                                         "周三", "周四", "周五", "周六", "周日"}));
}

// A label paints its whole rectangle in the window's colour: one that reached into its
// frame's border erased part of the frame (the status line did, at the frame's bottom).
TEST(Layout, NoLabelReachesIntoItsFramesBorder) {
  const auto controls = form1::Controls();
  for (const int dpi : {96, 120, 144}) {
    const int border = TwipsToPixels(30, dpi);  // the group box's line and its shadow
    for (std::size_t i = 0; i < controls.size(); ++i) {
      if (controls[i].kind != ControlKind::kLabel || controls[i].container < 0) continue;
      const PixelRect label = ControlRect(controls, i, dpi);
      const PixelRect frame =
          ControlRect(controls, static_cast<std::size_t>(controls[i].container), dpi);
      EXPECT_LE(label.top + label.height, frame.top + frame.height - border)
          << controls[i].name << " at " << dpi << " dpi";
      EXPECT_LE(label.left + label.width, frame.left + frame.width - border) << controls[i].name;
    }
  }
  // The day list sits one list pitch below the action list, in its column and width.
  const ControlLayout& combo4 = controls[IndexOf(controls, "Combo4")];
  const ControlLayout& combo5 = controls[IndexOf(controls, "Combo5")];
  EXPECT_EQ(combo5.top - combo4.top, form1::kListPitch);
  EXPECT_EQ(combo5.left, combo4.left);
  EXPECT_EQ(combo5.width, combo4.width);
}

TEST(Layout, CentringHalvesToEven) {
  EXPECT_EQ(CentreOffset(1280, 429), 426);  // 425.5 -> 426
  EXPECT_EQ(CentreOffset(1280, 431), 424);  // 424.5 -> 424
  EXPECT_EQ(CentreOffset(800, 240), 280);
  EXPECT_EQ(CentreOffset(300, 400), -50);
}

}  // namespace
}  // namespace norvel
