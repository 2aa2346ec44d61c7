#pragma once
// Runs the built strimlo-cli with a shell argument string; stdout and stderr together.
#include <string>

#include "test_support.h"

namespace strimlo::test {

inline CommandResult cli(const std::string& args) {
  return run(std::string(STRIMLO_CLI) + " " + args);
}

}  // namespace strimlo::test
