// strimlo-server's request handling on any request, without sockets: method, path, query,
// headers and body from the bytes. Nothing may crash, and no answer may be a 500.
// Input: lines "METHOD", "PATH", "QUERY" (name=value&...), "HEADER: value"..., an empty
// line, then the body.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "service.h"

namespace {

using strimlo::server::ApiRequest;
using strimlo::server::Limits;
using strimlo::server::Service;

std::string_view takeLine(std::string_view& rest) {
  const std::size_t end = rest.find('\n');
  const std::string_view line = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  return line;
}

ApiRequest requestOf(std::string_view rest) {
  ApiRequest r;
  r.method = takeLine(rest);
  r.path = takeLine(rest);
  std::string_view query = takeLine(rest);
  while (!query.empty()) {
    const std::size_t amp = query.find('&');
    const std::string_view pair = query.substr(0, amp);
    query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    const std::size_t eq = pair.find('=');
    r.query.emplace_back(std::string(pair.substr(0, eq)),
                         eq == std::string_view::npos ? std::string() : std::string(pair.substr(eq + 1)));
  }
  for (std::string_view h = takeLine(rest); !h.empty() && !rest.empty(); h = takeLine(rest)) {
    const std::size_t colon = h.find(':');
    r.headers.emplace_back(std::string(h.substr(0, colon)),
                           colon == std::string_view::npos ? std::string() : std::string(h.substr(colon + 1)));
  }
  r.body = rest;
  return r;
}

Service& service() {
  static Service s([] {
    Limits limits;
    limits.maxPixels = 4'000'000;  // large images prove nothing here and cost seconds
    limits.maxLines = 8;
    limits.threads = 1;
    return limits;
  }());
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto response = service().handle(requestOf(text));
  if (response.status == 500 || response.status < 100) std::abort();
  return 0;
}
