#include <gtest/gtest.h>

#include "reminder/full_screen_wait.h"

namespace norvel {
namespace {

TEST(FullScreenWait, RemindersWaitWhileTheUserPresentsAndShowWhenItEnds) {
  bool busy = false;
  int asked = 0;
  FullScreenWait wait([&] {
    ++asked;
    return busy;
  });
  EXPECT_EQ(wait.Due({1, 2}, 0).show, (std::vector<int>{1, 2}));  // nobody presents

  busy = true;
  asked = 0;
  const FullScreenWait::Step& held = wait.Due({1}, 10'000);
  EXPECT_TRUE(held.show.empty());
  EXPECT_EQ(held.waiting, std::vector<int>{1});        // told once
  EXPECT_TRUE(wait.Due({1}, 10'050).waiting.empty());  // a later tick of the same second
  EXPECT_EQ(wait.Due({1, 2}, 10'100).waiting, std::vector<int>{2});
  EXPECT_TRUE(wait.Look(10'600).show.empty());  // looked at once a second
  EXPECT_EQ(asked, 2);
  EXPECT_TRUE(wait.Look(11'100).show.empty());
  EXPECT_EQ(asked, 3);
  busy = false;
  const FullScreenWait::Step& shown = wait.Look(12'200);
  EXPECT_EQ(shown.show, (std::vector<int>{1, 2}));
  EXPECT_TRUE(shown.waited);
  EXPECT_FALSE(shown.gave_up);
  EXPECT_TRUE(wait.held().empty());
}

TEST(FullScreenWait, AfterHalfAnHourTheRemindersShowAnyway) {
  FullScreenWait wait([] { return true; });
  wait.Due({3}, 0);
  EXPECT_TRUE(wait.Look(FullScreenWait::kLongestWaitMs - 1).show.empty());
  const FullScreenWait::Step& step = wait.Look(FullScreenWait::kLongestWaitMs + 999);
  EXPECT_EQ(step.show, std::vector<int>{3});
  EXPECT_TRUE(step.gave_up);
}

}  // namespace
}  // namespace norvel
