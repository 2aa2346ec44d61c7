#include "server_process.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace strimlo::test {

ServerProcess::ServerProcess(const std::string& program, const std::string& extra) {
  std::vector<std::string> args = {program, "--listen", "127.0.0.1:0", "--timeout", "20"};
  std::istringstream words(extra);
  for (std::string w; words >> w;) args.push_back(w);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  int out[2];
  if (pipe(out) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  const int spawned = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (spawned != 0) {
    pid_ = -1;
    close(out[0]);
    return;
  }
  // "strimlo-server: listening on http://127.0.0.1:PORT/"
  FILE* in = fdopen(out[0], "r");
  char line[256] = {};
  if (in && std::fgets(line, sizeof line, in)) {
    if (const char* colon = std::strrchr(line, ':')) port_ = std::atoi(colon + 1);
  }
  if (in) std::fclose(in);
  else close(out[0]);
}

ServerProcess::~ServerProcess() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  int status = 0;
  waitpid(pid_, &status, 0);
}

}  // namespace strimlo::test
