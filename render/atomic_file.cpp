#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <random>

namespace strimlo {

namespace {

std::atomic<bool> g_syncEachFile{true};

// Temporary files being written, for removal from a signal handler: plain pointers in a
// fixed table, since a handler may neither lock nor allocate.
constexpr int kSlots = 256;
std::atomic<const char*> g_temps[kSlots];

int registerTemp(const char* name) {
  for (int i = 0; i < kSlots; ++i) {
    const char* empty = nullptr;
    if (g_temps[i].compare_exchange_strong(empty, name)) return i;
  }
  return -1;  // more saves at once than slots: this one is not cleaned up on a signal
}

void unregisterTemp(int slot) {
  if (slot >= 0) g_temps[slot] = nullptr;
}

enum class Target { Missing, Regular, Special, Refused };

// What the path names, after following a symbolic link: a link to nowhere is refused
// rather than replaced, a read-only file rather than overwritten.
Target classify(std::string& path) {
  struct stat st {};
  if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) != nullptr) {
      path = resolved;  // the link stays, the file it names is replaced
    } else if (stat(path.c_str(), &st) != 0) {
      return Target::Refused;
    }
  }
  if (stat(path.c_str(), &st) != 0) return errno == ENOENT ? Target::Missing : Target::Refused;
  if (!S_ISREG(st.st_mode)) return S_ISDIR(st.st_mode) ? Target::Refused : Target::Special;
  return access(path.c_str(), W_OK) == 0 ? Target::Regular : Target::Refused;
}

// "dir/.name.XXXXXX" next to the target, so that the final rename stays within one
// file system; empty when the path names no file.
std::string tempTemplate(const std::string& path) {
  const auto slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty() || name == "." || name == "..") return {};
  return dir + "." + name + ".XXXXXX";
}

// Creates "dir/.name.XXXXXX" with a fresh random suffix. Mode 0666 lets the kernel apply
// the umask, as for any new file; reading the umask ourselves would race with other
// threads saving at the same time.
int createTemp(const std::string& pattern, std::string& name) {
  static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  thread_local std::mt19937 random(std::random_device{}());
  std::uniform_int_distribution<int> pick(0, sizeof kChars - 2);
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = pattern;
    for (auto i = name.size() - 6; i < name.size(); ++i) name[i] = kChars[pick(random)];
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// An existing target keeps its permission bits, and its owner where we may set it; a new
// one has those it was created with.
bool keepMode(int fd, const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return true;
  if (fchown(fd, st.st_uid, st.st_gid) != 0) {
    // Only root may give a file away; everyone else keeps their own ownership.
  }
  return fchmod(fd, st.st_mode & 0777) == 0;
}

// Makes the rename itself durable; a folder that cannot be synced changes nothing.
void syncFolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

void onSignal(int sig) {
  removeTemporaryFiles();
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

}  // namespace

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {
  switch (classify(path_)) {
    case Target::Missing:
    case Target::Regular: openTemporary(); break;
    case Target::Special: openDirect(); break;
    case Target::Refused: break;
  }
}

bool AtomicFile::openTemporary() {
  const std::string pattern = tempTemplate(path_);
  if (pattern.empty()) return false;
  std::string name;
  const int fd = createTemp(pattern, name);
  if (fd < 0) return false;
  temp_ = std::move(name);
  slot_ = registerTemp(temp_.c_str());
  file_ = fdopen(fd, "wb");
  if (file_ == nullptr) close(fd);
  return file_ != nullptr;
}

// A device or a pipe: there is nothing to replace, so the bytes go straight to it.
bool AtomicFile::openDirect() {
  const int fd = open(path_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) return false;
  file_ = fdopen(fd, "wb");
  if (file_ == nullptr) close(fd);
  return file_ != nullptr;
}

AtomicFile::~AtomicFile() {
  if (file_ != nullptr) std::fclose(file_);
  if (!committed_ && !temp_.empty()) unlink(temp_.c_str());
  unregisterTemp(slot_);
}

int AtomicFile::fd() const { return file_ != nullptr ? fileno(file_) : -1; }

bool AtomicFile::write(const void* data, std::size_t size) {
  if (!ok()) return false;
  if (size > 0 && std::fwrite(data, 1, size, file_) != size) failed_ = true;
  return !failed_;
}

bool AtomicFile::commit() {
  if (!ok() || committed_) return false;
  const bool direct = temp_.empty();
  const bool written = std::fflush(file_) == 0 && !std::ferror(file_) &&
                       (direct || !g_syncEachFile || fsync(fd()) == 0) &&
                       (direct || keepMode(fd(), path_));
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!written || !closed || (!direct && std::rename(temp_.c_str(), path_.c_str()) != 0)) {
    failed_ = true;
    return false;  // the destructor removes the temporary file
  }
  committed_ = true;
  if (!direct && g_syncEachFile) syncFolderOf(path_);
  return true;
}

void setSyncEachFile(bool sync) { g_syncEachFile = sync; }

void removeTemporaryFiles() noexcept {
  for (auto& slot : g_temps) {
    if (const char* name = slot.load()) unlink(name);
  }
}

void removeTemporaryFilesOnSignals() {
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) std::signal(sig, onSignal);
}

bool writeFileAtomically(const std::string& path, std::string_view bytes) {
  AtomicFile file(path);
  return file.write(bytes.data(), bytes.size()) && file.commit();
}

}  // namespace strimlo
