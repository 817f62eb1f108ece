// The reminder window's load with every kind of picture setting, in this process: the
// settings file is the one beside the test program, as it is beside norvel.exe.
#include <windows.h>

#include <gtest/gtest.h>

#include "settings/app_path_win.h"
#include "reminder/form2_layout.h"
#include "reminder/form2_win.h"
#include "toolkit/codepage.h"
#include "toolkit/controls_win.h"
#include "toolkit/layout.h"
#include "toolkit/text_win.h"
#include "win_test_util.h"

namespace norvel {
namespace {

std::string PicturePath(const char* name) {
  return NarrowLossy(testing::WindowsPathOf(std::string(NORVEL_PICTURES) + "/" + name));
}

class Form2Load : public ::testing::Test {
 protected:
  void TearDown() override {
    form2_.Destroy();
    DeleteFileW(Widen(AppSettingsFile()).value().c_str());
  }
  void WriteSettings(const std::string& message, const std::string& picture) {
    ASSERT_TRUE(testing::WriteFileBytes(
        Widen(AppSettingsFile()).value(),
        Cp936().Encode("[设置]\r\n提示语=" + message + "\r\n图片=" + picture + "\r\n").value()));
  }
  SIZE Client() const {
    RECT r{};
    GetClientRect(form2_.hwnd(), &r);
    return {r.right, r.bottom};
  }
  bool HasRegion() const {
    const UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    return GetWindowRgn(form2_.hwnd(), region.get()) != ERROR;
  }
  POINT ClientOrigin() const {  // the client area's place in window coordinates
    RECT window{};
    GetWindowRect(form2_.hwnd(), &window);
    POINT origin{0, 0};
    ClientToScreen(form2_.hwnd(), &origin);
    return {origin.x - window.left, origin.y - window.top};
  }
  void ExpectDesignSizeWithoutRegion() {
    const SIZE client = Client();
    EXPECT_EQ(client.cx, TwipsToPixels(form2::kClientWidth, 96));
    EXPECT_EQ(client.cy, TwipsToPixels(form2::kClientHeight, 96));
    EXPECT_FALSE(HasRegion());
  }

  Form2 form2_{nullptr, nullptr};
};

TEST_F(Form2Load, BitmapShapesTheWindowToThePicture) {
  WriteSettings("看这里", PicturePath("shape.bmp"));
  form2_.Show();
  ASSERT_TRUE(form2_.IsLoaded());
  EXPECT_EQ(GetText(form2_.hwnd()), "看这里");
  EXPECT_EQ(GetText(form2_.Label1()), "看这里");
  EXPECT_EQ(Client().cx, 40);
  EXPECT_EQ(Client().cy, 30);
  const UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(form2_.hwnd(), region.get()), ERROR);
  const POINT o = ClientOrigin();
  EXPECT_TRUE(PtInRegion(region.get(), o.x + 14, o.y + 14));  // the red disc
  EXPECT_FALSE(PtInRegion(region.get(), o.x + 0, o.y + 29));  // the green key
  EXPECT_FALSE(PtInRegion(region.get(), o.x - 1, o.y + 14));  // the frame
}

TEST_F(Form2Load, EveryReadableFormatShapesLikeABitmap) {
  for (const char* name : {"shape.png", "photo.jpg", "icon.ico"}) {
    WriteSettings("x", PicturePath(name));
    form2_.Show();
    ASSERT_TRUE(form2_.IsLoaded()) << name;
    EXPECT_TRUE(HasRegion()) << name;
    EXPECT_NE(Client().cx, TwipsToPixels(form2::kClientWidth, 96)) << name;
    form2_.Destroy();
  }
  // The transparent background of the PNG is cut away like a key colour.
  WriteSettings("x", PicturePath("shape.png"));
  form2_.Show();
  const UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  GetWindowRgn(form2_.hwnd(), region.get());
  const POINT o = ClientOrigin();
  EXPECT_FALSE(PtInRegion(region.get(), o.x + 1, o.y + 1));
  EXPECT_TRUE(PtInRegion(region.get(), o.x + 14, o.y + 14));
}

// A picture of one colour has no pixel but the key: instead of an invisible window that can
// be neither seen nor closed, it keeps the picture's rectangle.
TEST_F(Form2Load, OneColourPictureKeepsARectangleOfItsSize) {
  WriteSettings("x", PicturePath("anim.gif"));  // first frame: plain red, 24 x 16
  form2_.Show();
  EXPECT_EQ(Client().cx, 24);
  EXPECT_EQ(Client().cy, 16);
  EXPECT_FALSE(HasRegion());
}

TEST_F(Form2Load, NoPictureLeavesTheDesignRectangle) {
  for (const std::string& path :
       {std::string(), PicturePath("missing.bmp"), PicturePath("not-a-picture.bmp")}) {
    WriteSettings("没有图片", path);
    form2_.Show();
    ASSERT_TRUE(form2_.IsLoaded()) << path;
    EXPECT_EQ(GetText(form2_.hwnd()), "没有图片");
    ExpectDesignSizeWithoutRegion();
    form2_.Destroy();
  }
}

TEST_F(Form2Load, MissingSettingsGiveEmptyTitleAndLabel) {
  form2_.Show();
  EXPECT_EQ(GetText(form2_.hwnd()), "");
  EXPECT_EQ(GetText(form2_.Label1()), "");
  ExpectDesignSizeWithoutRegion();
  // Not topmost, no minimize box.
  EXPECT_FALSE(GetWindowLongW(form2_.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(GetWindowLongW(form2_.hwnd(), GWL_STYLE) & WS_MINIMIZEBOX);
}

TEST_F(Form2Load, ShowAgainKeepsTheLoadAndDoubleClickUnloads) {
  WriteSettings("第一次", "");
  form2_.Show();
  const HWND first = form2_.hwnd();
  WriteSettings("第二次", "");
  form2_.Show();
  EXPECT_EQ(form2_.hwnd(), first);
  EXPECT_EQ(GetText(form2_.hwnd()), "第一次");
  SendMessageW(form2_.hwnd(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(form2_.IsLoaded());
  EXPECT_FALSE(IsWindow(first));
  form2_.Show();
  EXPECT_EQ(GetText(form2_.hwnd()), "第二次");
}

TEST_F(Form2Load, WideMessageCentresWithTheOuterWidth) {
  WriteSettings("这是一条很长很长很长很长很长很长很长很长的提醒", "");
  form2_.Show();
  RECT outer{}, label{};
  GetWindowRect(form2_.hwnd(), &outer);
  GetWindowRect(form2_.Label1(), &label);
  const int label_width = label.right - label.left;
  MapWindowPoints(nullptr, form2_.hwnd(), reinterpret_cast<POINT*>(&label), 2);
  EXPECT_GT(label_width, Client().cx);
  EXPECT_EQ(label.left, CentreOffset(outer.right - outer.left, label_width));
  EXPECT_LT(label.left, 0);
}

}  // namespace
}  // namespace norvel
