#include "gate.h"

namespace strimlo::server {

Gate::Entry Gate::enter(std::chrono::milliseconds wait) {
  std::unique_lock lock(mutex_);
  if (free_ > 0) {
    --free_;
    return Entry::Admitted;
  }
  if (waiting_ >= queueMax_) return Entry::QueueFull;
  ++waiting_;
  const bool got = freed_.wait_for(lock, wait, [this] { return free_ > 0; });
  --waiting_;
  if (!got) return Entry::TimedOut;
  --free_;
  return Entry::Admitted;
}

void Gate::leave() {
  {
    std::lock_guard lock(mutex_);
    ++free_;
  }
  freed_.notify_one();
}

}  // namespace strimlo::server
