// One worker thread that makes pictures ready ahead of their use: the latest request wins, a
// finished result is handed to the requesting thread by its own message, and neither the
// owner's use of it nor its end ever waits for a decode under way (a photo takes seconds,
// a file on an unreachable share longer). Portable, so that which
// request wins and which result is kept are tested natively.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace norvel {

template <typename Stamp, typename Result>
class PrepareWorker {
 public:
  using Decode = std::function<Result(const Stamp&)>;
  // `decode` runs on the worker thread; `ready` runs there after each decode that was still
  // wanted (it posts a message, so that the owner's thread calls Adopt).
  PrepareWorker(Decode decode, std::function<void()> ready)
      : shared_(std::make_shared<Shared>(std::move(decode), std::move(ready))) {
    std::thread(Run, shared_).detach();
  }
  // Asks the worker to stop and returns at once: a decode under way ends on its own, and its
  // result is dropped.
  ~PrepareWorker() {
    const std::lock_guard lock(shared_->mutex);
    shared_->stop = true;
    shared_->queued.reset();
    shared_->changed.notify_all();
  }
  PrepareWorker(const PrepareWorker&) = delete;
  PrepareWorker& operator=(const PrepareWorker&) = delete;

  // Wants `stamp` ready: nothing when it is ready, being made or queued; otherwise it
  // replaces whatever was wanted before (a decode under way finishes, its result dropped).
  void Request(const Stamp& stamp) {
    if (ready_ && ready_->first == stamp) return;
    const std::lock_guard lock(shared_->mutex);
    if (shared_->wanted == stamp) return;
    shared_->wanted = stamp;
    shared_->queued = stamp;
    ready_.reset();
    shared_->changed.notify_all();
  }
  // Wants nothing: the ready result is let go, a decode under way is dropped when it ends.
  void Release() {
    ready_.reset();
    const std::lock_guard lock(shared_->mutex);
    shared_->wanted.reset();
    shared_->queued.reset();
    shared_->finished.reset();
  }
  // Takes over a finished result (on the owner's thread, when the worker's message came).
  void Adopt() {
    const std::lock_guard lock(shared_->mutex);
    AdoptLocked();
  }
  // The result for `stamp` when it is ready (a finished one is taken over first); nothing
  // otherwise. Never waits: the owner's thread runs the alarm's tick.
  std::optional<Result> Take(const Stamp& stamp) {
    if (!ready_ || !(ready_->first == stamp)) Adopt();
    if (ready_ && ready_->first == stamp) return ready_->second;
    return std::nullopt;
  }
  // Whether `stamp` is being made or waits its turn: its result comes with the worker's
  // message (a finished one is not pending: Take has it).
  bool Pending(const Stamp& stamp) const {
    const std::lock_guard lock(shared_->mutex);
    return shared_->working == stamp || shared_->queued == stamp;
  }
  bool HoldsResult() const { return ready_.has_value(); }

 private:
  struct Shared {
    Shared(Decode d, std::function<void()> r) : decode(std::move(d)), ready(std::move(r)) {}
    Decode decode;
    std::function<void()> ready;
    std::mutex mutex;
    std::condition_variable changed;
    bool stop = false;
    std::optional<Stamp> wanted;   // the latest request
    std::optional<Stamp> queued;   // not started yet
    std::optional<Stamp> working;  // being decoded
    std::optional<std::pair<Stamp, Result>> finished;
  };

  static void Run(std::shared_ptr<Shared> shared) {
    std::unique_lock lock(shared->mutex);
    for (;;) {
      shared->changed.wait(lock, [&] { return shared->stop || shared->queued; });
      if (shared->stop) return;
      shared->working = std::move(shared->queued);
      shared->queued.reset();
      const Stamp stamp = *shared->working;
      lock.unlock();
      Result result = shared->decode(stamp);
      lock.lock();
      shared->working.reset();
      const bool kept = !shared->stop && shared->wanted == stamp;
      if (kept) shared->finished.emplace(stamp, std::move(result));
      shared->changed.notify_all();
      if (kept && shared->ready) {
        lock.unlock();
        shared->ready();
        lock.lock();
      }
    }
  }

  void AdoptLocked() {
    if (!shared_->finished) return;
    if (shared_->wanted == shared_->finished->first) ready_ = std::move(shared_->finished);
    shared_->finished.reset();
  }

  std::shared_ptr<Shared> shared_;
  std::optional<std::pair<Stamp, Result>> ready_;  // the owner's thread's own
};

}  // namespace norvel
