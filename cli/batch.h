#pragma once
// strimlo-cli --batch: one symbol per CSV line, on several threads.
#include <functional>
#include <string>
#include <vector>

#include "csv.h"
#include "job.h"
#include "options.h"

namespace strimlo::cli {

struct BatchLine {
  int line = 0;
  Job job;
  std::string refusal;  // set when the line cannot be run at all (bad cell, no name, ...)
};

// Turns CSV records into jobs: a header row names the columns (type, data, addon, price,
// output, format, size, res, strict); without one they come in that order, and a line
// of one field is the data alone. Empty cells take the command line's values.
std::vector<BatchLine> planBatch(const std::vector<CsvRecord>& records, const Options& options);

// Refuses every line whose output file another line also writes; returns one message per
// clash, for the report before anything is written.
std::vector<std::string> refuseSharedOutputs(std::vector<BatchLine>& lines);

struct BatchReport {
  int written = 0;
  int refused = 0;
  bool interrupted = false;
  std::vector<std::string> problems;  // "line 7: 12345: EAN-13 needs 12 or 13 digits; got 5"
  std::vector<std::string> notes;     // texts changed, check digits replaced
};

// Runs the lines on `threads` threads. progress(done, total) is called from the calling
// thread now and then; stop() is asked before each line is started.
BatchReport runBatch(const std::vector<BatchLine>& lines, int threads,
                     const std::function<void(int, int)>& progress,
                     const std::function<bool()>& stop);

// The whole of --batch: reads the input, plans, reports clashes, runs, prints the summary.
// Returns the exit status.
int batchMain(const Options& options);

}  // namespace strimlo::cli
