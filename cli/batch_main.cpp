// --batch as a command: input, header, clash report, progress line, summary, exit status.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

#include "atomic_file.h"
#include "batch.h"
#include "check.h"
#include "clash.h"
#include "echo.h"
#include "placement.h"

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

// The whole input ("-": standard input); false with the cause when it cannot be read,
// a folder among them.
bool readInput(const std::string& name, std::string& text, std::string& error) {
  const int fd = name == "-" ? fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0)
                             : open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = errorText(errno);
    return false;
  }
  struct stat st {};
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
    text.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[1 << 16];
  ssize_t n;
  while ((n = read(fd, buffer, sizeof buffer)) != 0) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = errorText(errno);
      close(fd);
      return false;
    }
    text.append(buffer, static_cast<std::size_t>(n));
  }
  close(fd);
  return true;
}

// The folder every output must stay in, resolved: --outdir, made when missing, or the
// current folder.
bool resolveRoot(const Options& o, std::string& root, std::string& error) {
  if (o.outdir && !makeFolders(*o.outdir, error)) return false;
  char resolved[PATH_MAX];
  if (realpath(o.outdir.value_or(".").c_str(), resolved) == nullptr) {
    error = errorText(errno);
    return false;
  }
  root = resolved;
  return true;
}

// Report lines held until the summary is printed: in an unnamed temporary file, so that a
// million refused lines take no memory; in memory once no such file can be written.
class Spool {
 public:
  Spool() : file_(std::tmpfile()) {}
  ~Spool() {
    if (file_ != nullptr) std::fclose(file_);
  }
  void add(const std::string& line) {
    if (file_ != nullptr && std::fputs(line.c_str(), file_) >= 0 && std::fputc('\n', file_) != EOF)
      return;
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    memory_ += line + "\n";
  }
  void print() {
    if (file_ != nullptr && std::fflush(file_) == 0) {
      std::rewind(file_);
      char buffer[1 << 16];
      for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file_)) > 0;)
        std::fwrite(buffer, 1, n, stdout);
    }
    std::fputs(memory_.c_str(), stdout);
  }

 private:
  std::FILE* file_;
  std::string memory_;
};

// One self-updating line on a terminal: done/total, rate, time left.
class ProgressLine {
 public:
  ProgressLine(bool enabled, std::size_t total)
      : enabled_(enabled), total_(static_cast<double>(total)) {}
  void operator()(int done) {
    if (!enabled_) return;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    const double rate = seconds > 0 ? done / seconds : 0;
    const int left = rate > 0 ? static_cast<int>((total_ - done) / rate + 0.5) : 0;
    std::fprintf(stderr, "\r%d/%.0f  %.0f/s  %d s left   ", done, total_, rate, left);
    std::fflush(stderr);
  }
  void finish() {
    if (enabled_) std::fprintf(stderr, "\r\033[K");
  }

 private:
  bool enabled_;
  double total_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// The data lines of the file as jobs, one at a time. Each pass reads the file again,
// so that no pass holds more than the line it is on.
class Planner {
 public:
  Planner(std::string_view text, char separator, const Header& header, const Options& o,
          const std::string& root)
      : reader_(text, separator), header_(header), options_(o), root_(root) {}
  // The next data line and its position among the data lines; false at the end.
  bool next(BatchLine& line, std::size_t& position) {
    if (first_ && header_.present && !reader_.next(record_)) return false;
    first_ = false;
    if (!reader_.next(record_)) return false;
    line = planLine(record_, header_, options_, root_);
    position = position_++;
    return true;
  }
  const std::string& error() const { return reader_.error(); }

 private:
  CsvReader reader_;
  const Header& header_;
  const Options& options_;
  const std::string& root_;
  CsvRecord record_;
  bool first_ = true;
  std::size_t position_ = 0;
};

struct Input {
  std::string name;  // as shown in messages
  std::string text;
  char separator = ',';
  Header header;
  std::string root;
};

// Counts the lines and finds those that would write one file; "" or the file's error.
std::string checkLines(const Input& in, const Options& o, std::size_t& total, ClashCheck& clashes) {
  OutputKeys keys;
  Planner first(in.text, in.separator, in.header, o, in.root);
  BatchLine line;
  std::size_t position;
  for (total = 0; first.next(line, position); ++total)
    if (line.refusal.empty()) clashes.add(position, keys.key(line.job.root, line.job.relative));
  if (!first.error().empty()) return first.error();
  const std::vector<std::uint32_t> suspects = clashes.suspects();
  Planner second(in.text, in.separator, in.header, o, in.root);
  for (std::size_t s = 0; s < suspects.size() && second.next(line, position);)
    if (position == suspects[s]) {
      clashes.confirm(position, line.line, keys.key(line.job.root, line.job.relative));
      ++s;
    }
  return {};
}

// Reads the input, its header line and the output folder; an exit status when it fails.
std::optional<int> prepare(const Options& o, Input& in) {
  in.name = shown(*o.batch);
  std::string error;
  if (!readInput(*o.batch, in.text, error)) {
    std::fprintf(stderr, "strimlo-cli: cannot read %s: %s\n", in.name.c_str(), error.c_str());
    return 2;
  }
  in.separator = o.delimiter.value_or(detectDelimiter(in.text));
  CsvReader reader(in.text, in.separator);
  CsvRecord first;
  if (reader.next(first)) {  // an empty file, or one that cannot be read, comes to no line
    in.header = readHeader(first);
    if (in.header.error.empty() && !in.header.present) in.header.error = firstLineProblem(first, o);
  }
  if (!in.header.error.empty()) {
    std::fprintf(stderr, "strimlo-cli: %s: %s; nothing written\n", in.name.c_str(),
                 in.header.error.c_str());
    return 2;
  }
  if (!in.header.note.empty())
    std::fprintf(stderr, "strimlo-cli: %s: note: %s\n", in.name.c_str(), in.header.note.c_str());
  if (!resolveRoot(o, in.root, error)) {
    std::fprintf(stderr, "strimlo-cli: cannot use the output folder %s: %s; nothing written\n",
                 shown(o.outdir.value_or(".")).c_str(), error.c_str());
    return 1;
  }
  return std::nullopt;
}

int threadsFor(const Options& o, std::size_t lines) {
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  const int wanted = o.jobs > 0 ? o.jobs : cores;
  return static_cast<int>(std::max<std::size_t>(1, std::min<std::size_t>(wanted, lines)));
}

// Runs every line and prints the summary, then the problems and notes in line order.
int runAll(const Input& in, const Options& o, std::size_t total, const ClashCheck& clashes) {
  Planner planner(in.text, in.separator, in.header, o, in.root);
  Spool problems, notes;
  ProgressLine progress(isatty(STDERR_FILENO) != 0, total);
  BatchCallbacks cb;
  cb.next = [&]() -> std::optional<BatchLine> {
    BatchLine line;
    std::size_t position;
    if (!planner.next(line, position)) return std::nullopt;
    if (line.refusal.empty()) line.refusal = clashes.refusal(position);
    return line;
  };
  cb.problem = [&](const std::string& p) { problems.add(p); };
  cb.note = [&](const std::string& n) { notes.add(n); };
  cb.progress = std::ref(progress);
  cb.stop = [] { return g_interrupted.load(); };
  const std::unique_ptr<std::FILE, decltype(&std::fclose)> csv(
      o.report ? std::fopen(o.report->c_str(), "w") : nullptr, std::fclose);
  if (o.report) {
    if (!csv) {
      std::fprintf(stderr, "strimlo-cli: cannot write the report %s: %s; nothing written\n",
                   shown(*o.report).c_str(), std::strerror(errno));
      return 1;
    }
    std::string header = "output,data";
    for (const std::string& name : checkCellNames()) header += "," + name;
    header += ",refusal\n";
    std::fwrite(header.data(), 1, header.size(), csv.get());
    cb.row = [&csv](const std::string& row) { std::fwrite(row.data(), 1, row.size(), csv.get()); };
  }
  const int threads = threadsFor(o, total);
  const BatchReport report = runBatch(threads, cb);
  progress.finish();
  if (csv && (std::fflush(csv.get()) != 0 || std::ferror(csv.get())))
    std::fprintf(stderr, "strimlo-cli: the report %s could not be written whole: %s\n",
                 shown(*o.report).c_str(), std::strerror(errno));
  sync();  // nothing is reported written before it is on disk

  if (report.threads < threads)
    std::fprintf(stderr, "strimlo-cli: note: %d of %d threads could be started\n", report.threads,
                 threads);
  std::printf("%d written, %d refused\n", report.written, report.refused);
  problems.print();
  notes.print();
  const std::size_t left = total - static_cast<std::size_t>(report.written + report.refused);
  if (report.interrupted && left > 0) std::printf("interrupted: %zu lines not started\n", left);
  if (!report.failure.empty())
    std::printf("stopped: %s; %zu lines not started\n", report.failure.c_str(), left);
  return report.refused == 0 && left == 0 ? 0 : 1;
}

}  // namespace

int batchMain(const Options& options) {
  Input in;
  if (const std::optional<int> status = prepare(options, in)) return *status;
  std::size_t total = 0;
  ClashCheck clashes;
  if (const std::string error = checkLines(in, options, total, clashes); !error.empty()) {
    std::fprintf(stderr, "strimlo-cli: %s: %s; nothing written\n", in.name.c_str(), error.c_str());
    return 2;
  }
  for (const std::string& clash : clashes.messages())
    std::fprintf(stderr, "strimlo-cli: %s\n", clash.c_str());

  for (int sig : {SIGINT, SIGTERM, SIGHUP}) std::signal(sig, onInterrupt);
  // One sync for the whole batch instead of one per file; names from the data never
  // lead through a link planted at them.
  setSyncEachFile(false);
  setReplaceLinks(true);
  return runAll(in, options, total, clashes);
}

}  // namespace strimlo::cli
