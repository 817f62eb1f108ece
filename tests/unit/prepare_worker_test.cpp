#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>
#include <thread>

#include "reminder/picture_wait.h"
#include "reminder/prepare_worker.h"

namespace norvel {
namespace {

// A decode that the test lets finish: picture n decodes to n * 10, once its gate opens.
struct Gates {
  std::promise<void> open[4];
  std::shared_future<void> gate[4] = {open[0].get_future().share(), open[1].get_future().share(),
                                      open[2].get_future().share(), open[3].get_future().share()};
  std::promise<void> started[4];
  std::atomic<int> decodes{0};
};

PrepareWorker<int, int>::Decode Decoder(Gates& g) {
  return [&g](const int& n) {
    ++g.decodes;
    g.started[n].set_value();
    g.gate[n].wait();
    return n * 10;
  };
}

// Take never waits: while a decode is held at its gate it answers nothing and the request is
// pending; once the gate opens and the worker's message came, the result is there.
TEST(PrepareWorker, TheLatestRequestWinsAndTakeNeverWaits) {
  Gates g;
  std::promise<void> ready_2;
  PrepareWorker<int, int> worker(Decoder(g), [&] {
    if (g.decodes == 2) ready_2.set_value();
  });
  worker.Request(1);
  g.started[1].get_future().wait();
  worker.Request(2);  // 1 is under way: 2 waits for it, and 1's result is dropped
  worker.Request(2);  // the same again: nothing new
  EXPECT_EQ(worker.Take(2), std::nullopt);
  EXPECT_TRUE(worker.Pending(2));
  EXPECT_FALSE(worker.Pending(3));
  g.open[1].set_value();
  g.started[2].get_future().wait();
  EXPECT_EQ(worker.Take(1), std::nullopt);
  EXPECT_EQ(worker.Take(2), std::nullopt) << "returned a result its decode has not made";
  EXPECT_TRUE(worker.Pending(2));
  g.open[2].set_value();
  ready_2.get_future().wait();
  EXPECT_EQ(worker.Take(2), 20);
  EXPECT_FALSE(worker.Pending(2));
  EXPECT_TRUE(worker.HoldsResult());
  worker.Request(2);  // ready: not decoded again
  EXPECT_EQ(worker.Take(2), 20);
  EXPECT_EQ(g.decodes, 2);
  worker.Release();
  EXPECT_FALSE(worker.HoldsResult());
  EXPECT_EQ(worker.Take(2), std::nullopt);
}

TEST(PrepareWorker, AResultIsHandedOverByTheOwnersMessageAndDroppedWhenReleasedMeanwhile) {
  Gates g;
  std::promise<void> ready;
  PrepareWorker<int, int> worker(Decoder(g), [&] { ready.set_value(); });
  worker.Request(3);
  g.open[3].set_value();
  ready.get_future().wait();
  EXPECT_FALSE(worker.HoldsResult());  // not before the owner adopts it
  worker.Adopt();
  EXPECT_TRUE(worker.HoldsResult());

  worker.Request(1);
  g.started[1].get_future().wait();
  worker.Release();  // let go while under way: its result is not kept
  g.open[1].set_value();
  while (worker.Pending(1)) std::this_thread::yield();  // the decode has ended
  EXPECT_EQ(worker.Take(1), std::nullopt);
  worker.Adopt();
  EXPECT_FALSE(worker.HoldsResult());
}

// The program's end never waits for a photo's decode of several seconds.
TEST(PrepareWorker, EndingDoesNotWaitForADecodeUnderWay) {
  auto g = std::make_shared<Gates>();
  {
    PrepareWorker<int, int> worker(
        [g](const int& n) {
          g->started[n].set_value();
          g->gate[n].wait();
          return n;
        },
        nullptr);
    worker.Request(0);
    g->started[0].get_future().wait();
  }  // returns with the decode still held at its gate
  g->open[0].set_value();
}

// The reminder shows at once with its picture ready or without one; a picture still being
// made holds it until ready, and 2 s after its second it shows without the picture.
TEST(ReminderPictureWait, ShowsWhenThePictureIsReadyOrAfterTwoSecondsWithoutIt) {
  using P = PictureState;
  using S = ReminderStep;
  ReminderPictureWait at_once;
  EXPECT_EQ(at_once.Due(P::kReady, 0), S::kShow);
  EXPECT_EQ(at_once.Due(P::kNone, 0), S::kShow);
  EXPECT_EQ(at_once.Look(P::kPending, 10), S::kNothing);

  ReminderPictureWait ready_later;
  EXPECT_EQ(ready_later.Due(P::kPending, 1000), S::kWait);
  EXPECT_EQ(ready_later.Due(P::kPending, 1050), S::kWait);  // the second's later ticks
  EXPECT_EQ(ready_later.Look(P::kPending, 2999), S::kWait);
  EXPECT_EQ(ready_later.Look(P::kReady, 2999), S::kShow);
  EXPECT_FALSE(ready_later.waiting());

  ReminderPictureWait too_slow;
  EXPECT_EQ(too_slow.Due(P::kPending, 1000), S::kWait);
  EXPECT_EQ(too_slow.Look(P::kPending, 3000), S::kShowWithoutPicture);
  EXPECT_EQ(too_slow.Look(P::kPending, 3050), S::kNothing);
}

}  // namespace
}  // namespace norvel
