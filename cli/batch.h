#pragma once
// strimlo-cli --batch: one symbol per CSV line, on several threads.
#include <functional>
#include <optional>
#include <string>

#include "options.h"
#include "plan.h"

namespace strimlo::cli {

// What the run asks of its caller. Lines are planned one at a time as the threads ask
// for them, and the report's lines leave as soon as every line before them has, so a
// batch of any length holds only the lines under way.
struct BatchCallbacks {
  std::function<std::optional<BatchLine>()> next;  // the next line, none at the end; under a lock
  std::function<void(const std::string&)>
      problem;  // "line 7: 12345: EAN-13 needs 12 or ...", in order
  std::function<void(const std::string&)> note;  // texts changed, check digits replaced, in order
  std::function<void(std::size_t position)> written;  // a line's file was written; may be empty
  std::function<void(int done)> progress;        // now and then, from the calling thread
  std::function<bool()> stop;                    // asked before each line is started
  // --report: one CSV row per line (output, data, what verify found, the refusal), in order
  std::function<void(const std::string&)> row;
};

struct BatchReport {
  int written = 0;
  int refused = 0;
  bool interrupted = false;  // stop() ended the run before the last line
  int threads = 0;           // the threads that could be started (0: the caller's own)
  std::string failure;       // the run could not go on (no memory to plan a line)
};

// Runs the lines on up to `threads` threads; with fewer when no more can be started.
BatchReport runBatch(int threads, const BatchCallbacks& callbacks);

// The whole of --batch: reads the input, plans, reports clashes, runs, prints the summary.
// Returns the exit status.
int batchMain(const Options& options);

}  // namespace strimlo::cli
