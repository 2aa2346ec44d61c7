// --batch as a command: input, clash report, progress line, summary, exit status.
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

#include "atomic_file.h"
#include "batch.h"

namespace strimlo::cli {

namespace {

std::atomic<bool> g_interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "read from a signal handler");

// The first signal lets the lines under way finish, so only whole files are left; a
// second one removes the temporary files of those lines and ends the program at once.
void onInterrupt(int sig) {
  if (!g_interrupted.exchange(true)) return;
  removeTemporaryFiles();
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

bool readInput(const std::string& name, std::string& text) {
  std::ostringstream ss;
  if (name == "-") {
    ss << std::cin.rdbuf();
  } else {
    std::ifstream in(name, std::ios::binary);
    if (!in) return false;
    ss << in.rdbuf();
    if (in.bad()) return false;
  }
  text = ss.str();
  return true;
}

// One self-updating line on a terminal: done/total, rate, time left.
class ProgressLine {
 public:
  explicit ProgressLine(bool enabled) : enabled_(enabled) {}
  void operator()(int done, int total) {
    if (!enabled_) return;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    const double rate = seconds > 0 ? done / seconds : 0;
    const int left = rate > 0 ? static_cast<int>((total - done) / rate + 0.5) : 0;
    std::fprintf(stderr, "\r%d/%d  %.0f/s  %d s left   ", done, total, rate, left);
    std::fflush(stderr);
  }
  void finish() {
    if (enabled_) std::fprintf(stderr, "\r\033[K");
  }

 private:
  bool enabled_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace

int batchMain(const Options& options) {
  std::string text;
  if (!readInput(*options.batch, text)) {
    std::cerr << "strimlo-cli: cannot read " << *options.batch << "\n";
    return 2;
  }
  const CsvResult csv = parseCsv(text);
  if (!csv.error.empty()) {
    std::cerr << "strimlo-cli: " << *options.batch << ": " << csv.error << "; nothing written\n";
    return 2;
  }
  std::vector<BatchLine> lines = planBatch(csv.records, options);
  for (const std::string& clash : refuseSharedOutputs(lines)) std::cerr << "strimlo-cli: " << clash << "\n";

  for (int sig : {SIGINT, SIGTERM, SIGHUP}) std::signal(sig, onInterrupt);
  const int threads = options.jobs > 0 ? options.jobs
                                       : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  // One sync for the whole batch instead of one per file: nothing is reported written
  // before it is on disk.
  setSyncEachFile(false);
  ProgressLine progress(isatty(STDERR_FILENO) != 0);
  const BatchReport report = runBatch(lines, threads, std::ref(progress), [] { return g_interrupted.load(); });
  progress.finish();
  sync();

  std::cout << report.written << " written, " << report.refused << " refused\n";
  for (const auto& p : report.problems) std::cout << p << "\n";
  for (const auto& n : report.notes) std::cout << n << "\n";
  if (report.interrupted) {
    const int left = static_cast<int>(lines.size()) - report.written - report.refused;
    std::cout << "interrupted: " << left << " lines not started\n";
  }
  return report.refused == 0 && !report.interrupted ? 0 : 1;
}

}  // namespace strimlo::cli
