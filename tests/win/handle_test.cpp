// The ownership contract of the handle wrapper, with GDI regions (whose deletion GDI shows).
#include <windows.h>

#include <gtest/gtest.h>

#include <utility>

#include "toolkit/handle_win.h"

namespace norvel {
namespace {

bool Alive(HRGN region) {
  return GetObjectType(region) == OBJ_REGION;
}

TEST(UniqueHandle, MoveAssignmentClosesTheOldHandleAndReleaseHandsItOver) {
  const HRGN first = CreateRectRgn(0, 0, 1, 1), second = CreateRectRgn(0, 0, 2, 2);
  UniqueRegion a(first), b(second);
  a = std::move(b);  // the old value of `a` is deleted, `b` is left empty
  EXPECT_FALSE(Alive(first));
  EXPECT_EQ(a.get(), second);
  EXPECT_FALSE(b);
  const HRGN handed = a.release();  // no longer owned: survives the wrapper
  EXPECT_FALSE(a);
  { const UniqueRegion gone(std::move(a)); }
  EXPECT_TRUE(Alive(handed));
  { const UniqueRegion owner(handed); }  // the destructor deletes it
  EXPECT_FALSE(Alive(handed));
}

}  // namespace
}  // namespace norvel
