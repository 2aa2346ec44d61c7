#pragma once
// The counters /metrics shows, in Prometheus's text format.
#include <array>
#include <atomic>
#include <chrono>
#include <string>

namespace strimlo::server {

class Metrics {
 public:
  // One answered request: its route ("symbol", "batch", "check", "page", "other", ...),
  // its status and how long it took.
  void request(const std::string& route, int status, std::chrono::nanoseconds took);
  // One symbol made, by its format's token.
  void symbol(int format);
  std::string text() const;

  // Upper bounds of the latency buckets, in seconds.
  static constexpr std::array<double, 12> kBuckets = {0.0005, 0.001, 0.002, 0.005, 0.01, 0.02,
                                                      0.05,   0.1,   0.25,  0.5,   1,    5};

 private:
  static constexpr int kRoutes = 8;
  static constexpr int kClasses = 5;  // 1xx .. 5xx
  std::array<std::array<std::atomic<long long>, kClasses>, kRoutes> requests_{};
  std::array<std::atomic<long long>, kBuckets.size() + 1> latency_{};  // the last: +Inf
  std::atomic<long long> latencyNanos_{0};
  std::array<std::atomic<long long>, 6> symbols_{};
};

}  // namespace strimlo::server
