// The picture made ready ahead of the reminder: a changed file is never taken for the
// prepared one.
#include <windows.h>

#include <gtest/gtest.h>

#include "reminder/prepared_picture_win.h"
#include "toolkit/text_win.h"
#include "win_test_util.h"

namespace norvel {
namespace {

std::wstring Picture(const char* name) {
  return testing::WindowsPathOf(std::string(NORVEL_PICTURES) + "/" + name);
}

// Take never waits: the picture once its preparation has ended.
std::shared_ptr<const PreparedPicture> TakeWhenReady(PicturePreparer& preparer,
                                                     const std::string& path) {
  for (int i = 0; i < 500 && preparer.State(path) == PictureState::kPending; ++i) Sleep(10);
  return preparer.Take(path);
}

TEST(PicturePreparer, TakesThePreparedPictureOnlyWhileTheFileIsUnchanged) {
  testing::TempFolder folder;
  const std::wstring file = folder.File(L"提醒.bmp");
  ASSERT_TRUE(CopyFileW(Picture("shape.bmp").c_str(), file.c_str(), FALSE));
  const std::string path = NarrowLossy(file);
  PicturePreparer preparer;
  EXPECT_EQ(preparer.Take(path), nullptr);  // nothing prepared yet
  preparer.Prepare(path);
  const auto first = TakeWhenReady(preparer, path);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->outline.width, 40);
  preparer.Prepare(path);  // unchanged: not prepared again
  EXPECT_EQ(preparer.Take(path), first);
  EXPECT_EQ(preparer.Take(NarrowLossy(folder.File(L"other.bmp"))), nullptr);

  // Another picture under the same name (another size): never the old one.
  ASSERT_TRUE(CopyFileW(Picture("page.tiff").c_str(), file.c_str(), FALSE));
  EXPECT_EQ(preparer.Take(path), nullptr);
  preparer.Refresh();
  const auto second = TakeWhenReady(preparer, path);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->outline.width, 20);
}

}  // namespace
}  // namespace norvel
