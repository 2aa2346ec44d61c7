#pragma once
// A bounded queue in front of the work: so many requests make symbols at once, so many
// more may wait, and the rest are told at once to come back later.
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace strimlo::server {

class Gate {
 public:
  Gate(int slots, int queue) : free_(slots), queueMax_(queue) {}

  enum class Entry { Admitted, QueueFull, TimedOut };
  Entry enter(std::chrono::milliseconds wait);
  void leave();

  // Holds a slot for a scope.
  class Pass {
   public:
    explicit Pass(Gate& gate) : gate_(gate) {}
    ~Pass() { gate_.leave(); }
    Pass(const Pass&) = delete;
    Pass& operator=(const Pass&) = delete;

   private:
    Gate& gate_;
  };

 private:
  std::mutex mutex_;
  std::condition_variable freed_;
  int free_;
  int waiting_ = 0;
  int queueMax_;
};

}  // namespace strimlo::server
