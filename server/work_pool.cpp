#include "work_pool.h"

#include <algorithm>

namespace strimlo::server {

WorkPool::WorkPool(int threads, int queue) : queueMax_(static_cast<std::size_t>(std::max(0, queue))) {
  for (int i = 0; i < std::max(1, threads); ++i) workers_.emplace_back([this] { serve(); });
}

WorkPool::~WorkPool() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  queued_.notify_all();
  for (std::thread& t : workers_) t.join();
}

void WorkPool::serve() {
  std::unique_lock lock(mutex_);
  for (;;) {
    queued_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
    if (waiting_.empty()) return;  // stopping, nothing left
    const std::shared_ptr<Task> task = waiting_.front();
    waiting_.pop_front();
    task->started = true;
    ++busy_;
    task->changed.notify_one();
    lock.unlock();
    try {
      task->work();
    } catch (...) {
      task->error = std::current_exception();
    }
    lock.lock();
    task->done = true;
    --busy_;
    task->changed.notify_one();
  }
}

WorkPool::Entry WorkPool::run(std::function<void()> work, std::chrono::milliseconds wait) {
  auto task = std::make_shared<Task>();
  task->work = std::move(work);
  std::unique_lock lock(mutex_);
  // Every worker busy and the queue full: nothing more waits.
  if (busy_ + waiting_.size() >= workers_.size() + queueMax_) return Entry::QueueFull;
  waiting_.push_back(task);
  queued_.notify_one();
  if (!task->changed.wait_for(lock, wait, [&] { return task->started; })) {
    waiting_.erase(std::find(waiting_.begin(), waiting_.end(), task));
    return Entry::TimedOut;
  }
  task->changed.wait(lock, [&] { return task->done; });
  if (task->error) std::rethrow_exception(task->error);
  return Entry::Done;
}

}  // namespace strimlo::server
