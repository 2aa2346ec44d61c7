#pragma once
// The threads that make symbols, and a bounded queue in front of them: so many requests
// are made at once, so many more may wait, and the rest are told at once to come back
// later. The work runs on these threads, never on the connections' own: the drawing
// keeps a font face and buffers per thread, so their number stays that of the workers.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace strimlo::server {

class WorkPool {
 public:
  WorkPool(int threads, int queue);
  ~WorkPool();
  WorkPool(const WorkPool&) = delete;
  WorkPool& operator=(const WorkPool&) = delete;

  enum class Entry { Done, QueueFull, TimedOut };
  // Runs work on a worker and waits for it; TimedOut when no worker took it within
  // `wait`, and then it never runs. What the work throws is thrown here.
  Entry run(std::function<void()> work, std::chrono::milliseconds wait);

 private:
  struct Task {
    std::function<void()> work;
    bool started = false;
    bool done = false;
    std::exception_ptr error;
    std::condition_variable changed;  // started or done; for its caller alone
  };
  void serve();

  std::mutex mutex_;
  std::condition_variable queued_;   // for the workers
  std::deque<std::shared_ptr<Task>> waiting_;
  std::size_t queueMax_;
  std::size_t busy_ = 0;  // workers running a task
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace strimlo::server
