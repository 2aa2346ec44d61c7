#pragma once
// strimlo-server's command line.
#include <string>
#include <vector>

#include "service.h"

namespace strimlo::server {

struct ServerOptions {
  std::string host = "127.0.0.1";  // loopback unless told to share
  int port = 8080;                 // 0: any free port, printed on standard output
  int connections = 128;           // threads that hold connections (reading, writing)
  bool log = true;                 // one line per request on standard error
  bool help = false;
  Limits limits;
};

struct ParsedServerOptions {
  ServerOptions options;
  std::string error;
};

ParsedServerOptions parseServerOptions(const std::vector<std::string>& args);
std::string serverUsage();

}  // namespace strimlo::server
