// The picture made ready ahead of the reminder: the window it gives is the one shaping at
// the load gives, and a changed file is never taken for the prepared one.
#include <windows.h>

#include <gtest/gtest.h>

#include "reminder/pic_win.h"
#include "reminder/prepared_picture_win.h"
#include "toolkit/picture_win.h"
#include "toolkit/text_win.h"
#include "win_test_util.h"

namespace norvel {
namespace {

std::wstring Picture(const char* name) {
  return testing::WindowsPathOf(std::string(NORVEL_PICTURES) + "/" + name);
}

// A captioned top-level window, like the reminder before its picture shapes it.
UniqueWindow FramedWindow() {
  return UniqueWindow(CreateWindowExW(0, L"Static", L"", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                                      50, 50, 321, 279, nullptr, nullptr, nullptr, nullptr));
}

TEST(PreparedPicture, GivesTheWindowSizeAndRegionOfShapingAtTheLoad) {
  const COLORREF background = GetSysColor(COLOR_BTNFACE);
  for (const char* name : {"shape.bmp", "shape.png", "photo.jpg", "icon.ico", "anim.gif"}) {
    const std::string path = NarrowLossy(Picture(name));
    const UniqueWindow at_load = FramedWindow(), ahead = FramedWindow();
    const UniqueBitmap picture = LoadPicture(path, background);
    ASSERT_TRUE(picture) << name;
    ShapeWindowToPicture(at_load.get(), picture.get(), 1);
    const auto prepared = PreparePicture(path, background);
    ASSERT_TRUE(prepared->cut) << name;
    ShapeWindowToPrepared(ahead.get(), *prepared);

    RECT a{}, b{};
    GetWindowRect(at_load.get(), &a);
    GetWindowRect(ahead.get(), &b);
    EXPECT_EQ(a.right - a.left, b.right - b.left) << name;
    EXPECT_EQ(a.bottom - a.top, b.bottom - b.top) << name;
    const UniqueRegion ra(CreateRectRgn(0, 0, 0, 0)), rb(CreateRectRgn(0, 0, 0, 0));
    const int kind_a = GetWindowRgn(at_load.get(), ra.get());
    EXPECT_EQ(kind_a, GetWindowRgn(ahead.get(), rb.get())) << name;
    if (kind_a != ERROR) {
      EXPECT_TRUE(EqualRgn(ra.get(), rb.get())) << name;
    }
  }
}

TEST(PicturePreparer, TakesThePreparedPictureOnlyWhileTheFileIsUnchanged) {
  testing::TempFolder folder;
  const std::wstring file = folder.File(L"提醒.bmp");
  ASSERT_TRUE(CopyFileW(Picture("shape.bmp").c_str(), file.c_str(), FALSE));
  const std::string path = NarrowLossy(file);
  PicturePreparer preparer;
  EXPECT_EQ(preparer.Take(path), nullptr);  // nothing prepared yet
  preparer.Prepare(path);
  const auto first = preparer.Take(path);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->outline.width, 40);
  preparer.Prepare(path);  // unchanged: not prepared again
  EXPECT_EQ(preparer.Take(path), first);
  EXPECT_EQ(preparer.Take(NarrowLossy(folder.File(L"other.bmp"))), nullptr);

  // Another picture under the same name (another size): never the old one.
  ASSERT_TRUE(CopyFileW(Picture("page.tiff").c_str(), file.c_str(), FALSE));
  EXPECT_EQ(preparer.Take(path), nullptr);
  preparer.Refresh();
  const auto second = preparer.Take(path);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->outline.width, 20);
}

}  // namespace
}  // namespace norvel
