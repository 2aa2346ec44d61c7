// --batch as a command: input, header, clash report, progress line, summary, exit status.
#include <fcntl.h>
#include <sys/mman.h>
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

// The input, mapped rather than read: each pass over the lines reads the file again, and
// what a pass has gone over is given back (MADV_DONTNEED), so that a batch of any size
// holds only the part under way. A pipe or terminal is first copied into an unnamed
// temporary file; a device that is neither (/dev/zero) is refused, since it never ends.
class MappedInput {
 public:
  MappedInput() = default;
  ~MappedInput() {
    if (size_ > 0) munmap(data_, size_);
  }
  MappedInput(const MappedInput&) = delete;
  MappedInput& operator=(const MappedInput&) = delete;

  // False with the cause when the input cannot be read.
  bool open(const std::string& name, std::string& error);
  std::string_view text() const { return {static_cast<const char*>(data_), size_}; }
  // Gives back the pages before `offset`, which no pass needs again until it starts over.
  void release(std::size_t offset) const {
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    if (size_ > 0 && offset >= page) madvise(data_, offset / page * page, MADV_DONTNEED);
  }

 private:
  bool map(int fd, std::string& error);

  void* data_ = nullptr;
  std::size_t size_ = 0;
};

// Copies a stream into an unnamed temporary file; its descriptor, or -1 with the cause.
int copyToTemporaryFile(int in, std::string& error) {
  std::FILE* temp = std::tmpfile();
  if (temp == nullptr) {
    error = "no temporary file to hold it: " + errorText(errno);
    return -1;
  }
  const int fd = fcntl(fileno(temp), F_DUPFD_CLOEXEC, 0);
  std::fclose(temp);
  char buffer[1 << 16];
  for (ssize_t n; fd >= 0 && (n = read(in, buffer, sizeof buffer)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    for (ssize_t done = 0, w = 0; n > 0 && done < n; done += w)
      if ((w = write(fd, buffer + done, static_cast<std::size_t>(n - done))) <= 0) n = -1;
    if (n < 0) {
      error = errorText(errno);
      close(fd);
      return -1;
    }
  }
  return fd;
}

bool MappedInput::open(const std::string& name, std::string& error) {
  int fd = name == "-" ? fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0)
                       : ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (fd < 0 || fstat(fd, &st) != 0) {
    error = errorText(errno);
    if (fd >= 0) close(fd);
    return false;
  }
  if (S_ISDIR(st.st_mode)) error = errorText(EISDIR);
  else if (S_ISCHR(st.st_mode) && !isatty(fd)) error = "a device, not a file or a pipe";
  if (!error.empty() || S_ISREG(st.st_mode)) {
    const bool mapped = error.empty() && map(fd, error);
    close(fd);
    return mapped;
  }
  const int copy = copyToTemporaryFile(fd, error);
  close(fd);
  if (copy < 0) return false;
  const bool mapped = map(copy, error);
  close(copy);
  return mapped;
}

bool MappedInput::map(int fd, std::string& error) {
  struct stat st {};
  if (fstat(fd, &st) != 0) {
    error = errorText(errno);
    return false;
  }
  if (st.st_size == 0) return true;
  void* data = mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
  if (data == MAP_FAILED) {
    error = errorText(errno);
    return false;
  }
  madvise(data, static_cast<std::size_t>(st.st_size), MADV_SEQUENTIAL);
  data_ = data;
  size_ = static_cast<std::size_t>(st.st_size);
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
// million refused lines take no memory. Written in blocks with write(2), so that a block
// the file does not take (a full temporary folder) stays in memory, as does every line
// after it: no line is lost without a word.
class Spool {
 public:
  Spool() : file_(std::tmpfile()) {}
  ~Spool() {
    if (file_ != nullptr) std::fclose(file_);
  }
  void add(const std::string& line) {
    pending_ += line;
    pending_ += '\n';
    if (file_ != nullptr && file_ok_ && pending_.size() >= kBlock) spill();
  }
  // False with the cause when the lines in the file could not be read back.
  bool print(std::string& error) {
    char buffer[1 << 16];
    for (off_t at = 0; at < spooled_;) {
      const ssize_t n = pread(fileno(file_), buffer,
                              static_cast<std::size_t>(std::min<off_t>(sizeof buffer, spooled_ - at)), at);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        error = n < 0 ? errorText(errno) : "the file was cut short";
        return false;
      }
      std::fwrite(buffer, 1, static_cast<std::size_t>(n), stdout);
      at += n;
    }
    std::fwrite(pending_.data(), 1, pending_.size(), stdout);
    return true;
  }

 private:
  static constexpr std::size_t kBlock = 1 << 16;

  // Moves the held lines into the file; what it does not take stays held, and once it
  // fails the file takes no more (the lines it took stay, to be read back).
  void spill() {
    std::size_t done = 0;
    while (done < pending_.size()) {
      const ssize_t n = write(fileno(file_), pending_.data() + done, pending_.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        file_ok_ = false;
        break;
      }
      done += static_cast<std::size_t>(n);
      spooled_ += n;
    }
    pending_.erase(0, done);
  }

  std::FILE* file_;
  bool file_ok_ = true;
  off_t spooled_ = 0;     // bytes in the file
  std::string pending_;   // lines not yet in the file, in order after those in it
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
  Planner(const MappedInput& input, char separator, const Header& header, const Options& o,
          const std::string& root)
      : reader_(input.text(), separator), header_(header), options_(o), root_(root) {
    reader_.onProgress(kReleaseStep, [&input](std::size_t passed) { input.release(passed); });
  }
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
  static constexpr std::size_t kReleaseStep = 16 << 20;

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
  MappedInput text;
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
  if (!in.text.open(*o.batch, error)) {
    std::fprintf(stderr, "strimlo-cli: cannot read %s: %s\n", in.name.c_str(), error.c_str());
    return 2;
  }
  in.separator = o.delimiter.value_or(detectDelimiter(in.text.text()));
  CsvReader reader(in.text.text(), in.separator);
  reader.onProgress(16 << 20, [&in](std::size_t passed) { in.text.release(passed); });
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

// The lines whose files were written, by position, so that they can be checked again
// once the disk has had its say: one bit a line.
using WrittenLines = std::vector<bool>;

// Syncs one written file on its own; "" when the sync succeeds, else why not. A file the
// disk lost is removed where it can be, so that no damaged file stays under its name.
std::string syncAgain(const Job& job) {
  const ConfinedFolder folder(job.root, job.relative);
  if (!folder.ok()) return folder.error();
  const int fd = open(folder.path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errorText(errno);
  const int error = fsync(fd) == 0 ? 0 : errno;
  close(fd);
  if (error == 0) return {};
  if (unlink(folder.path().c_str()) != 0)
    return errorText(error) + "; not removed: " + errorText(errno);
  return errorText(error) + "; removed";
}

// After the file system reported a lost write: every file of the batch is synced on its
// own. One whose sync fails is removed; the others are kept but refused too, since a disk
// that failed a write can have lost them as well (ext4 whose journal aborted answers a
// sync of each with success, and after a remount they are gone). Returns how many.
int refuseUnproven(const Input& in, const Options& o, const WrittenLines& written,
                   const std::string& diskError, Spool& problems) {
  Planner planner(in.text, in.separator, in.header, o, in.root);
  BatchLine line;
  std::size_t position;
  int refused = 0;
  while (planner.next(line, position)) {
    if (position >= written.size() || !written[position]) continue;
    const std::string why = syncAgain(line.job);
    problems.add("line " + std::to_string(line.line) + ": " + shown(line.job.data) + ": " +
                 shown(line.job.output) +
                 (why.empty() ? ": not proven on disk: the disk failed a write during the batch (" +
                                    diskError + "); kept, check it"
                              : ": not on disk: " + why));
    ++refused;
  }
  return refused;
}

// Waits until every file is on disk. syncfs(2) on the output folder's file system reports
// a write that failed since the folder was opened (Linux 5.8 and later), which sync(2)
// would not. Returns the written files that must count as refused; error says why.
int makeDurable(int fileSystem, const Input& in, const Options& o, const WrittenLines& written,
                Spool& problems, std::string& error) {
  if (fileSystem < 0) {
    sync();  // no folder to name the file system by: all of them
    return 0;
  }
  if (syncfs(fileSystem) == 0) return 0;
  error = errorText(errno);
  return refuseUnproven(in, o, written, error, problems);
}

// Runs every line and prints the summary, then the problems and notes in line order.
int runAll(const Input& in, const Options& o, std::size_t total, const ClashCheck& clashes) {
  Planner planner(in.text, in.separator, in.header, o, in.root);
  Spool problems, notes;
  ProgressLine progress(isatty(STDERR_FILENO) != 0, total);
  WrittenLines written(total, false);
  const int fileSystem = open(in.root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
  cb.written = [&](std::size_t position) {
    if (position < written.size()) written[position] = true;
  };
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
    header += ",refusal";
    for (const std::string& name : matrixCellNames()) header += "," + name;
    header += "\n";
    std::fwrite(header.data(), 1, header.size(), csv.get());
    cb.row = [&csv](const std::string& row) { std::fwrite(row.data(), 1, row.size(), csv.get()); };
  }
  const int threads = threadsFor(o, total);
  BatchReport report = runBatch(threads, cb);
  progress.finish();
  if (csv && (std::fflush(csv.get()) != 0 || std::ferror(csv.get())))
    std::fprintf(stderr, "strimlo-cli: the report %s could not be written whole: %s\n",
                 shown(*o.report).c_str(), std::strerror(errno));
  // Nothing is reported written before it is on disk.
  std::string diskError;
  const int lost = makeDurable(fileSystem, in, o, written, problems, diskError);
  if (fileSystem >= 0) close(fileSystem);
  report.written -= lost;
  report.refused += lost;

  if (report.threads < threads)
    std::fprintf(stderr, "strimlo-cli: note: %d of %d threads could be started\n", report.threads,
                 threads);
  if (!diskError.empty())
    std::fprintf(stderr,
                 "strimlo-cli: the output folder's disk failed a write during the batch (%s); "
                 "no file of it is proven on disk\n",
                 diskError.c_str());
  std::printf("%d written, %d refused\n", report.written, report.refused);
  std::string spoolError;
  const bool complete = problems.print(spoolError) && notes.print(spoolError);
  if (!complete)
    std::fprintf(stderr, "strimlo-cli: some reasons and notes could not be read back from the "
                         "temporary file that held them: %s\n", spoolError.c_str());
  const std::size_t left = total - static_cast<std::size_t>(report.written + report.refused);
  if (report.interrupted && left > 0) std::printf("interrupted: %zu lines not started\n", left);
  if (!report.failure.empty())
    std::printf("stopped: %s; %zu lines not started\n", report.failure.c_str(), left);
  return report.refused == 0 && left == 0 && diskError.empty() && complete ? 0 : 1;
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
  removeStaleTemporaryFiles(in.root);
  return runAll(in, options, total, clashes);
}

}  // namespace strimlo::cli
