#include "metrics.h"

#include <algorithm>
#include <cstdio>

#include "stages.h"

namespace strimlo::server {

namespace {

// The routes counted apart; anything else is "other".
constexpr std::array<const char*, 8> kRouteNames = {"symbol", "batch",   "check", "page",
                                                    "health", "metrics", "other", "refused"};

int routeIndex(const std::string& route) {
  const auto* it = std::find(kRouteNames.begin(), kRouteNames.end(), route);
  return it == kRouteNames.end() ? 6 : static_cast<int>(it - kRouteNames.begin());
}

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

}  // namespace

void Metrics::request(const std::string& route, int status, std::chrono::nanoseconds took) {
  const int kind = std::clamp(status / 100 - 1, 0, kClasses - 1);
  requests_[static_cast<std::size_t>(routeIndex(route))][static_cast<std::size_t>(kind)]++;
  const double seconds = std::chrono::duration<double>(took).count();
  const auto bucket = std::lower_bound(kBuckets.begin(), kBuckets.end(), seconds) - kBuckets.begin();
  latency_[static_cast<std::size_t>(bucket)]++;
  latencyNanos_ += took.count();
}

void Metrics::symbol(int format) {
  if (format >= 0 && format < static_cast<int>(symbols_.size())) symbols_[static_cast<std::size_t>(format)]++;
}

std::string Metrics::text() const {
  std::string out =
      "# HELP strimlo_requests_total Requests answered, by route and status class.\n"
      "# TYPE strimlo_requests_total counter\n";
  long long errors = 0;
  for (std::size_t r = 0; r < kRouteNames.size(); ++r)
    for (std::size_t k = 0; k < kClasses; ++k) {
      const long long n = requests_[r][k];
      if (k >= 3) errors += n;
      if (n == 0) continue;
      out += "strimlo_requests_total{route=\"" + std::string(kRouteNames[r]) + "\",code=\"" +
             std::to_string(k + 1) + "xx\"} " + std::to_string(n) + "\n";
    }
  out += "# HELP strimlo_errors_total Requests answered with a 4xx or 5xx status.\n"
         "# TYPE strimlo_errors_total counter\n"
         "strimlo_errors_total " + std::to_string(errors) + "\n";
  out += "# HELP strimlo_request_duration_seconds Time from a request's arrival to its answer.\n"
         "# TYPE strimlo_request_duration_seconds histogram\n";
  long long count = 0;
  for (std::size_t b = 0; b <= kBuckets.size(); ++b) {
    count += latency_[b];
    const std::string le = b < kBuckets.size() ? number(kBuckets[b]) : "+Inf";
    out += "strimlo_request_duration_seconds_bucket{le=\"" + le + "\"} " + std::to_string(count) + "\n";
  }
  out += "strimlo_request_duration_seconds_sum " + number(static_cast<double>(latencyNanos_) / 1e9) + "\n";
  out += "strimlo_request_duration_seconds_count " + std::to_string(count) + "\n";
  out += "# HELP strimlo_symbols_total Symbols made, by file format.\n"
         "# TYPE strimlo_symbols_total counter\n";
  for (std::size_t f = 0; f < symbols_.size(); ++f)
    out += "strimlo_symbols_total{format=\"" + std::string(formatToken(static_cast<Format>(f))) +
           "\"} " + std::to_string(symbols_[f]) + "\n";
  return out;
}

}  // namespace strimlo::server
