#include "options.h"

#include <charconv>
#include <thread>

namespace strimlo::server {

namespace {

bool wholeNumber(const std::string& text, long long low, long long high, long long& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && value >= low && value <= high;
}

// "127.0.0.1:8080", "0.0.0.0:80", "[::1]:8080", ":8080" (loopback).
bool parseListen(const std::string& text, ServerOptions& o) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string::npos) return false;
  std::string host = text.substr(0, colon);
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
  long long port = 0;
  if (!wholeNumber(text.substr(colon + 1), 0, 65535, port)) return false;
  if (!host.empty()) o.host = host;
  o.port = static_cast<int>(port);
  return true;
}

}  // namespace

ParsedServerOptions parseServerOptions(const std::vector<std::string>& args) {
  ParsedServerOptions p;
  ServerOptions& o = p.options;
  const unsigned cores = std::thread::hardware_concurrency();
  o.limits.threads = cores > 0 ? static_cast<int>(cores) : 2;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") { o.help = true; continue; }
    if (a == "--quiet") { o.log = false; continue; }
    if (i + 1 >= args.size()) {
      p.error = a.rfind("--", 0) == 0 ? a + " needs a value" : "unknown argument \"" + a + "\"";
      return p;
    }
    const std::string& v = args[++i];
    long long n = 0;
    bool ok = true;
    auto number = [&](long long low, long long high) { return wholeNumber(v, low, high, n); };
    if (a == "--listen") ok = parseListen(v, o);
    else if (a == "--threads") { ok = number(1, 256); o.limits.threads = static_cast<int>(n); }
    else if (a == "--connections") { ok = number(1, 4096); o.connections = static_cast<int>(n); }
    else if (a == "--queue") { ok = number(0, 100000); o.limits.queue = static_cast<int>(n); }
    else if (a == "--max-body") { ok = number(1, 1LL << 30); o.limits.maxBody = static_cast<std::size_t>(n); }
    else if (a == "--max-pixels") { ok = number(1, 1LL << 40); o.limits.maxPixels = n; }
    else if (a == "--max-lines") { ok = number(1, 1000000); o.limits.maxLines = static_cast<int>(n); }
    else if (a == "--timeout") { ok = number(1, 3600); o.limits.timeout = std::chrono::seconds(n); }
    else {
      p.error = "unknown option \"" + a + "\"";
      return p;
    }
    if (!ok) {
      p.error = "bad value \"" + v + "\" for " + a;
      return p;
    }
  }
  return p;
}

std::string serverUsage() {
  return "Usage: strimlo-server [options]\n"
         "Serves retail barcodes over HTTP: the API under /api/v1/ and a web page at /.\n"
         "\n"
         "  --listen HOST:PORT   address to listen on (default 127.0.0.1:8080; 0.0.0.0:PORT\n"
         "                       to share; port 0 picks a free one and prints it)\n"
         "  --threads N          symbols made at once (default: one per core)\n"
         "  --queue N            requests that may wait for a thread before 429 (default 64)\n"
         "  --connections N      connections served at once (default 128)\n"
         "  --max-body BYTES     largest request body, else 413 (default 1048576)\n"
         "  --max-pixels N       largest raster image in pixels, else 413 (default 40000000)\n"
         "  --max-lines N        most lines of a batch, else 413 (default 1000)\n"
         "  --timeout SECONDS    per request: reading, writing, waiting, a batch (default 10)\n"
         "  --quiet              no request log on standard error\n"
         "  --help               this text\n"
         "\n"
         "Endpoints: GET|POST /api/v1/symbol, POST /api/v1/batch (CSV in, ZIP out),\n"
         "GET /api/v1/check, GET /healthz, GET /metrics, GET / (the web page).\n";
}

}  // namespace strimlo::server
