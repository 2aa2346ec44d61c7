#pragma once
// A batch file in, a ZIP archive out: the files of its lines and report.csv, all in memory.
#include <chrono>
#include <string>
#include <vector>

#include "service.h"

namespace strimlo::server {

struct BatchResult {
  std::string zip;           // the archive, when error is empty
  std::vector<int> formats;  // the format of each file made
  int status = 200;
  std::string error;  // the batch as a whole was refused: a bad header, too many lines, time
  std::string field;
};

// Lines are planned by the command line's batch rules (header, columns, cells); a line
// that cannot be made is a row of the report, not the end of the batch.
BatchResult runBatchToZip(const std::string& csv, const Limits& limits,
                          std::chrono::steady_clock::time_point deadline);

}  // namespace strimlo::server
