#include "batch.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "check.h"
#include "echo.h"

namespace strimlo::cli {

namespace {

struct Finished {
  bool written = false;
  std::string problem;
  std::vector<std::string> notes;
  std::string row;  // the report's
};

// A CSV cell, quoted when it holds a comma, a quote or a line break.
std::string csvCell(const std::string& s) {
  if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
  std::string q(1, '"');
  for (char c : s) {
    q += c;
    if (c == '"') q += c;
  }
  q += '"';
  return q;
}

// Appended piece by piece: GCC 12 at -O3 takes a text put before a string for overlapping
// copies.
std::string reportRow(const BatchLine& line, const JobResult& r, const std::string& refusal) {
  std::string row = csvCell(line.job.output);
  row += ',';
  row += csvCell(line.job.data);
  const std::size_t cells = checkCellNames().size();
  for (std::size_t i = 0; i < cells; ++i) {
    row += ',';
    if (i < r.verification.size()) row += csvCell(r.verification[i]);
  }
  row += ',';
  row += csvCell(refusal);
  const std::size_t matrixCells = matrixCellNames().size();
  for (std::size_t i = 0; i < matrixCells; ++i) {
    row += ',';
    if (i < r.matrixVerification.size()) row += csvCell(r.matrixVerification[i]);
  }
  row += '\n';
  return row;
}

Finished runLine(const BatchLine& line) {
  Finished f;
  std::string who = "line " + std::to_string(line.line) + ": ";
  if (!line.job.data.empty()) who += shown(line.job.data) + ": ";
  if (!line.refusal.empty()) {
    f.problem = who + line.refusal;
    f.row = reportRow(line, {}, line.refusal);
    return f;
  }
  JobResult r = runJob(line.job);
  for (const std::string& w : r.warnings) f.notes.push_back(who + w);
  f.written = r.written;
  if (!r.written) f.problem = who + r.error;
  f.row = reportRow(line, r, r.written ? std::string() : r.error);
  return f;
}

class Runner {
 public:
  explicit Runner(const BatchCallbacks& callbacks) : cb_(callbacks) {}
  BatchReport run(int threads);

 private:
  void work();
  bool take(BatchLine& line, std::size_t& position);
  void finish(std::size_t position, Finished f);
  void waitForWorkers();

  const BatchCallbacks& cb_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::map<std::size_t, Finished> pending_;  // done, waiting for an earlier line to be reported
  std::size_t started_ = 0;
  std::size_t reported_ = 0;
  int working_ = 0;  // threads still in their loop
  bool exhausted_ = false;
  BatchReport report_;
};

void Runner::work() {
  BatchLine line;
  std::size_t position = 0;
  while (take(line, position)) {
    Finished f;
    try {
      f = runLine(line);
    } catch (const std::bad_alloc&) {  // runJob catches its own; this is the report's text
      f = {false, "line " + std::to_string(line.line) + ": not enough memory", {}, {}};
    }
    finish(position, std::move(f));
  }
  std::lock_guard lock(mutex_);
  --working_;
  changed_.notify_all();
}

bool Runner::take(BatchLine& line, std::size_t& position) {
  std::lock_guard lock(mutex_);
  if (exhausted_ || !report_.failure.empty() || cb_.stop()) return false;
  try {
    std::optional<BatchLine> next = cb_.next();
    if (!next) {
      exhausted_ = true;
      return false;
    }
    line = std::move(*next);
  } catch (const std::bad_alloc&) {
    report_.failure = "not enough memory to read the next line";
    return false;
  }
  position = started_++;
  return true;
}

// Reports the lines in file order: one that finished early waits for those before it.
void Runner::finish(std::size_t position, Finished f) {
  std::lock_guard lock(mutex_);
  pending_.emplace(position, std::move(f));
  for (auto it = pending_.begin(); it != pending_.end() && it->first == reported_;
       it = pending_.erase(it)) {
    Finished& done = it->second;
    ++(done.written ? report_.written : report_.refused);
    if (done.written && cb_.written) cb_.written(reported_);
    if (!done.problem.empty()) cb_.problem(done.problem);
    for (const std::string& n : done.notes) cb_.note(n);
    if (cb_.row) cb_.row(done.row);
    ++reported_;
  }
  // No wake-up here: the waiting thread looks at the count every 200 ms for its progress
  // line, and waking it for every line made the workers queue for the lock.
}

void Runner::waitForWorkers() {
  std::unique_lock lock(mutex_);
  while (!changed_.wait_for(lock, std::chrono::milliseconds(200), [&] { return working_ == 0; }))
    cb_.progress(static_cast<int>(reported_));
}

BatchReport Runner::run(int threads) {
  std::vector<std::thread> pool;
  working_ = threads;
  for (int t = 0; t < threads; ++t) {
    try {
      pool.emplace_back([this] { work(); });
    } catch (const std::exception&) {  // a process limit: go on with those started
      std::lock_guard lock(mutex_);
      working_ -= threads - t;
      break;
    }
  }
  report_.threads = static_cast<int>(pool.size());
  if (pool.empty()) {
    working_ = 1;
    work();
  }
  waitForWorkers();
  for (std::thread& t : pool) t.join();
  cb_.progress(static_cast<int>(reported_));
  report_.interrupted = !exhausted_ && report_.failure.empty();
  return report_;
}

}  // namespace

BatchReport runBatch(int threads, const BatchCallbacks& callbacks) {
  return Runner(callbacks).run(std::max(threads, 1));
}

}  // namespace strimlo::cli
