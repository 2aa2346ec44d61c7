#pragma once
// A strimlo-server started for a test on 127.0.0.1 at a free port, stopped at the end.
#include <string>

#include <sys/types.h>

namespace strimlo::test {

class ServerProcess {
 public:
  // Starts the program with --listen 127.0.0.1:0 and the extra arguments; port() is 0
  // when it did not start.
  explicit ServerProcess(const std::string& program, const std::string& extra = "--quiet");
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;
  int port() const { return port_; }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

}  // namespace strimlo::test
