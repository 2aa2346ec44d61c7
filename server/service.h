#pragma once
// strimlo-server's requests and answers, apart from any socket: the HTTP library hands
// each request to Service::handle(), and the fuzz target and the tests call it directly.
#include <chrono>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "work_pool.h"
#include "metrics.h"

namespace strimlo::server {

using Pairs = std::vector<std::pair<std::string, std::string>>;

struct ApiRequest {
  std::string method;  // "GET", "POST", ...
  std::string path;    // without the query
  Pairs query;         // decoded, in order
  Pairs headers;
  std::string body;
  // The first header of that name (compared without case), or "".
  std::string header(std::string_view name) const;
};

struct ApiResponse {
  int status = 200;
  std::string contentType;
  std::string body;
  Pairs headers;
};

struct Limits {
  std::size_t maxBody = 1 << 20;        // bytes of a request body
  long long maxPixels = 40'000'000;     // pixels of one raster image
  int maxLines = 1000;                  // lines of one batch
  std::chrono::milliseconds timeout{10'000};  // waiting for a work slot, and a batch's run
  int threads = 2;                      // symbols made at once, each on a thread of its own
  int queue = 64;                       // requests waiting for a slot before 429
};

class Service {
 public:
  explicit Service(const Limits& limits);
  // Never throws; bad input gets a 4xx answer with its reason.
  ApiResponse handle(const ApiRequest& request);
  const Limits& limits() const { return limits_; }
  Metrics& metrics() { return metrics_; }

 private:
  ApiResponse route(const ApiRequest& request);
  ApiResponse admitted(const ApiRequest& request, ApiResponse (*work)(Service&, const ApiRequest&));

  Limits limits_;
  Metrics metrics_;
  WorkPool pool_;
};

// {"error": message, "field": field} with the status.
ApiResponse errorResponse(int status, const std::string& message, const std::string& field = {});

}  // namespace strimlo::server
