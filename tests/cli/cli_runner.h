#pragma once
// Runs the built strimlo-cli with a shell argument string; stdout and stderr together.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <string>
#include <thread>

#include "test_support.h"

namespace strimlo::test {

inline CommandResult cli(const std::string& args) {
  return run(std::string(STRIMLO_CLI) + " " + args);
}

// A command line and what it must do: its exit code, and a part of what it prints.
struct CliRow {
  std::string args;
  int exitCode;
  std::string says;
};

inline void expectCli(const CliRow& r) {
  const CommandResult c = cli(r.args);
  EXPECT_EQ(c.exitCode, r.exitCode) << r.args << "\n" << c.output;
  EXPECT_NE(c.output.find(r.says), std::string::npos) << r.args << "\n" << c.output;
}

// Starts the command line (arguments and redirections) in the background, sends it
// `signal` after `delay` and waits up to ten seconds for it to end; true when it ended.
inline bool interruptCli(const std::string& args, std::chrono::milliseconds delay, int signal) {
  const int pid = std::stoi(run(std::string(STRIMLO_CLI) + " " + args + " & echo $!").output);
  std::this_thread::sleep_for(delay);
  kill(pid, signal);
  for (int i = 0; i < 200 && kill(pid, 0) == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  return kill(pid, 0) != 0;
}

}  // namespace strimlo::test
