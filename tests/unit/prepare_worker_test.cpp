#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>

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

TEST(PrepareWorker, TheLatestRequestWinsAndTakeWaitsOnlyForTheOneUnderWay) {
  Gates g;
  PrepareWorker<int, int> worker(Decoder(g), nullptr);
  worker.Request(1);
  g.started[1].get_future().wait();
  worker.Request(2);  // 1 is under way: 2 waits for it, and 1's result is dropped
  worker.Request(2);  // the same again: nothing new
  EXPECT_EQ(worker.Take(2), std::nullopt) << "only queued: the caller decodes itself";
  g.open[1].set_value();
  g.started[2].get_future().wait();
  EXPECT_EQ(worker.Take(1), std::nullopt);
  auto taken = std::async(std::launch::async, [&] { return worker.Take(2); });
  g.open[2].set_value();
  EXPECT_EQ(taken.get(), 20);  // waited for the decode under way
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

}  // namespace
}  // namespace norvel
