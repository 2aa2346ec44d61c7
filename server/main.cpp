// strimlo-server: the stages behind an HTTP API and a web page.
#include <csignal>
#include <cstdio>
#include <mutex>
#include <thread>

#include <sys/socket.h>

#include <httplib.h>

#include "echo.h"
#include "options.h"
#include "service.h"

using namespace strimlo::server;

namespace {

ApiRequest apiRequest(const httplib::Request& req) {
  ApiRequest a;
  a.method = req.method;
  a.path = req.path;
  for (const auto& [name, value] : req.params) a.query.emplace_back(name, value);
  for (const auto& [name, value] : req.headers) a.headers.emplace_back(name, value);
  a.body = req.body;
  return a;
}

void answer(const ApiResponse& r, httplib::Response& res) {
  res.status = r.status;
  for (const auto& [name, value] : r.headers) res.set_header(name.c_str(), value);
  if (!r.contentType.empty()) res.set_content(r.body, r.contentType.c_str());
}

// One line per request; what the client sent is escaped and cut short.
void logRequest(const httplib::Request& req, const httplib::Response& res) {
  static std::mutex mutex;
  const std::string line = strimlo::cli::shown(req.remote_addr, 64) + " " +
                           strimlo::cli::shown(req.method, 16) + " " +
                           strimlo::cli::shown(req.path, 200) + " " + std::to_string(res.status) +
                           " " + std::to_string(res.body.size()) + "\n";
  std::lock_guard lock(mutex);
  std::fwrite(line.data(), 1, line.size(), stderr);
}

void configure(httplib::Server& server, Service& service, const ServerOptions& o) {
  const int connections = o.connections;
  server.new_task_queue = [connections] { return new httplib::ThreadPool(static_cast<size_t>(connections)); };
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(o.limits.timeout).count();
  server.set_payload_max_length(o.limits.maxBody);
  server.set_read_timeout(seconds);
  server.set_write_timeout(seconds);
  server.set_keep_alive_timeout(std::min<long long>(seconds, 5));
  server.set_keep_alive_max_count(1000);
  // Headers and body go out in two writes: with Nagle's algorithm the body waited for the
  // client's delayed acknowledgement of the headers, up to 40 ms on every answer.
  server.set_tcp_nodelay(true);
  const auto handler = [&service](const httplib::Request& req, httplib::Response& res) {
    answer(service.handle(apiRequest(req)), res);
  };
  // A GET without a body goes straight to the service: the routes below match every path
  // with std::regex, a tenth of the server's time on a small symbol. Requests with a body
  // are routed, since the library reads bodies only after this hook.
  server.set_pre_routing_handler([handler](const httplib::Request& req, httplib::Response& res) {
    if ((req.method != "GET" && req.method != "HEAD") || req.has_header("Content-Length") ||
        req.has_header("Transfer-Encoding"))
      return httplib::Server::HandlerResponse::Unhandled;
    handler(req, res);
    return httplib::Server::HandlerResponse::Handled;
  });
  server.Get(".*", handler);
  server.Post(".*", handler);
  server.Put(".*", handler);
  server.Delete(".*", handler);
  server.Patch(".*", handler);
  server.Options(".*", handler);
  // Answers the library gives itself (413 for a body over the limit, 400 for a bad
  // request line) get the API's JSON too.
  server.set_error_handler([&service](const httplib::Request&, httplib::Response& res) {
    if (!res.body.empty()) return;
    const char* what = res.status == 413 ? "the body is too large" : "bad request";
    answer(errorResponse(res.status, what), res);
    service.metrics().request("refused", res.status, std::chrono::nanoseconds(0));
  });
  server.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
    answer(errorResponse(500, "the request could not be answered"), res);
  });
  if (o.log) server.set_logger(logRequest);
}

// SIGTERM (systemd's stop) and SIGINT end the server after the requests under way.
std::thread stopOnSignal(httplib::Server& server) {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  return std::thread([&server, set] {
    int signal = 0;
    sigwait(&set, &signal);
    server.stop();
  });
}

int serve(const ServerOptions& o) {
  std::signal(SIGPIPE, SIG_IGN);
  Service service(o.limits);
  httplib::Server server;
  configure(server, service, o);
  // Debian's cpp-httplib is a compiled library that listens with a backlog of 5 whatever
  // a program defines: when many clients connect at once, or come back after a keep-alive
  // ends, the kernel drops their SYNs and each waits a second or more to retry. The
  // listening socket is the one the options hook sees; listening again raises its backlog.
  socket_t listening = INVALID_SOCKET;
  server.set_socket_options([&listening](socket_t sock) {
    httplib::default_socket_options(sock);
    if (listening == INVALID_SOCKET) listening = sock;
  });
  const int port = o.port == 0 ? server.bind_to_any_port(o.host.c_str())
                               : (server.bind_to_port(o.host.c_str(), o.port) ? o.port : -1);
  if (port >= 0 && listening != INVALID_SOCKET) ::listen(listening, 1024);
  if (port < 0) {
    std::fprintf(stderr, "strimlo-server: cannot listen on %s:%d\n", strimlo::cli::shown(o.host).c_str(), o.port);
    return 1;
  }
  std::thread stopper = stopOnSignal(server);
  const bool v6 = o.host.find(':') != std::string::npos;
  std::printf("strimlo-server: listening on http://%s%s%s:%d/\n", v6 ? "[" : "", o.host.c_str(), v6 ? "]" : "", port);
  std::fflush(stdout);
  const bool ok = server.listen_after_bind();
  if (stopper.joinable()) {
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
  }
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const ParsedServerOptions parsed = parseServerOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (parsed.options.help) {
    std::fputs(serverUsage().c_str(), stdout);
    return 0;
  }
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "strimlo-server: %s\n(strimlo-server --help shows the options)\n",
                 strimlo::cli::shown(parsed.error, 200).c_str());
    return 2;
  }
  return serve(parsed.options);
}
