#include "atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <new>

namespace strimlo {

namespace {

constexpr char kPartialPrefix[] = ".strimlo-partial-";
constexpr char kNameChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr std::time_t kStaleSeconds = 24 * 60 * 60;

thread_local std::string t_lastFailure;

// Temporary files being written, for removal from a signal handler: plain pointers in
// fixed blocks, since a handler may neither lock nor allocate. A block is added when all
// are full and never freed, so any number of saves at once is cleaned up.
constexpr int kSlots = 256;
struct TempBlock {
  std::atomic<const char*> names[kSlots] = {};
  std::atomic<TempBlock*> next{nullptr};
};
TempBlock g_temps;

std::atomic<const char*>* registerTemp(const char* name) {
  for (TempBlock* block = &g_temps;;) {
    for (auto& slot : block->names) {
      const char* empty = nullptr;
      if (slot.compare_exchange_strong(empty, name)) return &slot;
    }
    TempBlock* next = block->next.load();
    if (next == nullptr) {
      auto* fresh = new (std::nothrow) TempBlock;
      if (fresh == nullptr) return nullptr;  // no memory: this one is not cleaned up on a signal
      if (!block->next.compare_exchange_strong(next, fresh)) delete fresh;  // another thread's
      next = block->next.load();
    }
    block = next;
  }
}

void unregisterTemp(std::atomic<const char*>* slot) {
  if (slot != nullptr) *slot = nullptr;
}

std::string errorText(int error) {
  char buffer[128];
  return strerror_r(error, buffer, sizeof buffer);
}

enum class Target { Missing, Regular, Special, Stream, Refused };

struct Classified {
  Target target;
  int error = 0;                // why Refused: an errno value ...
  const char* reason = nullptr; // ... or a text of our own
  int stream = -1;              // the descriptor of a Stream
};

Classified refused(int error, const char* reason = nullptr) {
  return {Target::Refused, error, reason};
}

// The descriptor a path names when it is one of this process's own streams, else -1.
int streamDescriptor(const std::string& path) {
  if (path == "/dev/stdout") return STDOUT_FILENO;
  if (path == "/dev/stderr") return STDERR_FILENO;
  for (const std::string_view prefix : {"/dev/fd/", "/proc/self/fd/"}) {
    if (path.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string number = path.substr(prefix.size());
    const bool digits = !number.empty() && number.size() <= 9 &&
                        number.find_first_not_of("0123456789") == std::string::npos;
    if (!digits) return -1;
    return std::atoi(number.c_str());
  }
  return -1;
}

// The kernel's protected-symlinks rule: in a sticky world-writable folder, a link is
// followed only when it belongs to this user or to the folder's owner.
bool mayFollow(const std::string& link, const struct stat& linkStat) {
  const auto slash = link.rfind('/');
  const std::string dir =
      slash == std::string::npos ? "." : slash == 0 ? "/" : link.substr(0, slash);
  struct stat st {};
  if (stat(dir.c_str(), &st) != 0) return false;
  const bool shared = (st.st_mode & S_ISVTX) != 0 && (st.st_mode & S_IWOTH) != 0;
  return !shared || linkStat.st_uid == geteuid() || linkStat.st_uid == st.st_uid;
}

// Follows a link at the target to the file it names; the link stays, that file is replaced.
Classified followLink(std::string& path, struct stat& st) {
  if (!mayFollow(path, st))
    return refused(0, "a link owned by another user in a shared sticky folder; not followed");
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved) == nullptr)
    return errno == ENOENT ? refused(0, "a link to a missing file") : refused(errno);
  path = resolved;
  if (stat(path.c_str(), &st) != 0) return refused(errno);
  return {Target::Regular};
}

// What the path names. A read-only file is refused rather than replaced.
Classified classify(std::string& path, bool replaceLinks) {
  if (const int fd = streamDescriptor(path); fd >= 0) return {Target::Stream, 0, nullptr, fd};
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0)
    return errno == ENOENT ? Classified{Target::Missing} : refused(errno);
  if (S_ISLNK(st.st_mode)) {
    if (replaceLinks) return {Target::Missing};
    if (const Classified c = followLink(path, st); c.target == Target::Refused) return c;
  }
  if (S_ISDIR(st.st_mode)) return refused(EISDIR);
  if (!S_ISREG(st.st_mode))
    return replaceLinks ? refused(0, "not a regular file") : Classified{Target::Special};
  if (access(path.c_str(), W_OK) != 0) return refused(errno);
  return {Target::Regular};
}

// "dir/.strimlo-partial-XXXXXX" next to the target, so that the final rename stays within
// one file system; the name tells a user what it is. Empty when the path names no file.
std::string tempTemplate(const std::string& path) {
  const auto slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty() || name == "." || name == "..") return {};
  return dir + kPartialPrefix + "XXXXXX";
}

// Creates the template's name with a fresh random suffix. Mode 0666 lets the kernel apply
// the umask, as for any new file; reading the umask ourselves would race with other
// threads saving at the same time.
// The suffix comes from getrandom(2): std::random_device probes the processor first,
// and in a virtual machine each probe costs more than writing a small file.
std::string randomName(const std::string& pattern) {
  std::uint8_t bytes[6];
  if (getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes)) {
    // No entropy yet (early boot): the time and the place still differ from try to try.
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::uint64_t v = static_cast<std::uint64_t>(now.tv_nsec) * 0x9E3779B97F4A7C15u ^
                      static_cast<std::uint64_t>(getpid()) << 32 ^
                      reinterpret_cast<std::uintptr_t>(&now);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(v >>= 8);
  }
  std::string name = pattern;
  for (std::size_t k = 0; k < 6; ++k) name[name.size() - 6 + k] = kNameChars[bytes[k] % (sizeof kNameChars - 1)];
  return name;
}

// A temporary file is locked while its save is under way, so that a later run can tell
// one left by a killed save (unlocked: the kernel drops a dead process's locks).
void markInUse(int fd) {
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    // A file system without locks: the file's age still keeps it from a clean-up.
  }
}

int createTemp(const std::string& pattern, std::string& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = randomName(pattern);
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) markInUse(fd);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Whether a folder entry is a temporary file of ours that no save will finish: our name,
// a regular file of this user, untouched for a day, and not locked by a save under way.
bool isStaleTemp(int dir, const char* name) {
  const std::size_t prefix = sizeof kPartialPrefix - 1;
  if (std::strncmp(name, kPartialPrefix, prefix) != 0 || std::strlen(name) != prefix + 6 ||
      std::strspn(name + prefix, kNameChars) != 6)
    return false;
  struct stat st {};
  if (fstatat(dir, name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
      st.st_uid != geteuid() || std::time(nullptr) - st.st_mtime < kStaleSeconds)
    return false;
  const int fd = openat(dir, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  const bool unlocked = flock(fd, LOCK_EX | LOCK_NB) == 0;
  close(fd);
  return unlocked;
}

// An existing target keeps its permission bits, and its owner where we may set it; a new
// one (or one taking a link's place) has those it was created with.
bool keepMode(int fd, const std::string& path) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0 || S_ISLNK(st.st_mode)) return true;
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

}  // namespace

AtomicFile::AtomicFile(std::string path, SaveOptions options)
    : path_(std::move(path)), options_(options) {
  t_lastFailure.clear();
  const Classified c = classify(path_, options_.replaceLinks);
  switch (c.target) {
    case Target::Missing:
      if (!openUnnamed()) openTemporary();
      break;
    case Target::Regular: openTemporary(); break;
    case Target::Special: openDirect(); break;
    case Target::Stream: openStream(c.stream); break;
    case Target::Refused: noteFailure(c.error, c.reason); break;
  }
}

void AtomicFile::noteFailure(int error, const char* reason) {
  failed_ = true;
  if (noted_) return;
  noted_ = true;
  t_lastFailure = reason != nullptr ? reason : errorText(error != 0 ? error : EIO);
}

bool AtomicFile::openTemporary() {
  const std::string pattern = tempTemplate(path_);
  if (pattern.empty()) {
    noteFailure(0, "names no file");
    return false;
  }
  std::string name;
  const int fd = createTemp(pattern, name);
  if (fd < 0) {
    noteFailure(errno);
    return false;
  }
  temp_ = std::move(name);
  slot_ = registerTemp(temp_.c_str());
  file_ = fdopen(fd, "wb");
  if (file_ == nullptr) {
    noteFailure(errno);
    close(fd);
    return false;
  }
  useBuffer();
  return true;
}

// A new file starts without a name (O_TMPFILE) and gets the target's name only once it
// is complete: one folder change instead of two, and the inode is allocated without
// holding the folder's lock, so parallel saves into one folder do not queue behind each
// other. A folder or kernel that cannot do this gets a named temporary file instead.
bool AtomicFile::openUnnamed() {
  const auto slash = path_.rfind('/');
  const std::string name = slash == std::string::npos ? path_ : path_.substr(slash + 1);
  if (name.empty() || name == "." || name == "..") return false;
  // Naming the file takes /proc, or a privilege to link a descriptor directly.
  static const bool canName = access("/proc/self/fd", F_OK) == 0;
  if (!canName) return false;
  const std::string dir = slash == std::string::npos ? "." : path_.substr(0, slash + 1);
  const int fd = open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  file_ = fdopen(fd, "wb");
  if (file_ == nullptr) {
    close(fd);
    return false;
  }
  unnamed_ = true;
  useBuffer();
  return true;
}

// Files are encoded in memory and handed over whole, so a buffer that holds a typical
// file makes one write() of it rather than several.
void AtomicFile::useBuffer() {
  buffer_ = std::make_unique<char[]>(kBufferSize);
  std::setvbuf(file_, buffer_.get(), _IOFBF, kBufferSize);
}

// Gives the unnamed file (open as fd) the target's name. Linking refuses an existing
// name, so a file that appeared there since the save began is replaced as any existing
// target is: the file takes a hidden name, that file's mode, and is renamed over it.
bool AtomicFile::linkUnnamed(int fd) {
  if (linkat(fd, "", AT_FDCWD, path_.c_str(), AT_EMPTY_PATH) == 0) return true;
  // AT_EMPTY_PATH takes a privilege; /proc names the same file for everyone.
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  if ((errno == ENOENT || errno == EPERM) &&
      linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path_.c_str(), AT_SYMLINK_FOLLOW) == 0)
    return true;
  if (errno != EEXIST) return false;
  const std::string pattern = tempTemplate(path_);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = randomName(pattern);
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      markInUse(fd);
      temp_ = std::move(name);  // renamed over the target by commit(), else removed
      slot_ = registerTemp(temp_.c_str());
      return keepMode(fd, path_) && (!options_.sync || fsync(fd) == 0);
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

// A device or a pipe: there is nothing to replace, so the bytes go straight to it.
bool AtomicFile::openDirect() {
  const int fd = open(path_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) {
    noteFailure(errno);
    return false;
  }
  file_ = fdopen(fd, "wb");
  if (file_ == nullptr) close(fd);
  return file_ != nullptr;
}

// One of our own streams: written through a copy of its descriptor, so that its
// position and append mode hold and nothing is truncated or renamed.
bool AtomicFile::openStream(int stream) {
  const int fd = fcntl(stream, F_DUPFD_CLOEXEC, 3);
  struct stat st {};
  if (fd < 0 || fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    noteFailure(fd < 0 ? errno : EISDIR);
    if (fd >= 0) close(fd);
    return false;
  }
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
  if (size > 0 && std::fwrite(data, 1, size, file_) != size) noteFailure(errno);
  return !failed_;
}

void AtomicFile::fail() {
  if (file_ != nullptr && std::ferror(file_)) noteFailure(errno);
  failed_ = true;
}

bool AtomicFile::commit() {
  if (!ok() || committed_) return false;
  const bool direct = temp_.empty() && !unnamed_;
  const bool written = std::fflush(file_) == 0 && !std::ferror(file_) &&
                 (direct || unnamed_ || keepMode(fd(), path_)) &&  // synced with the bytes
                 (direct || !options_.sync || fsync(fd()) == 0);
  if (!written) noteFailure(errno);
  // An unnamed file is named through a second descriptor once the stream has closed
  // without an error, so a failing close leaves nothing at the name.
  const int named = !failed_ && unnamed_ ? fcntl(fd(), F_DUPFD_CLOEXEC, 3) : -1;
  if (!failed_ && unnamed_ && named < 0) noteFailure(errno);
  if (std::fclose(file_) != 0) noteFailure(errno);
  file_ = nullptr;
  if (!failed_ && unnamed_ && !linkUnnamed(named)) noteFailure(errno);
  if (named >= 0) close(named);
  if (!failed_ && !temp_.empty() && std::rename(temp_.c_str(), path_.c_str()) != 0)
    noteFailure(errno);
  if (failed_) return false;  // the destructor removes the temporary file
  committed_ = true;
  if (!direct && options_.sync) syncFolderOf(path_);
  return true;
}

std::string lastSaveFailure() { return t_lastFailure; }


void removeStaleTemporaryFiles(const std::string& folder) noexcept {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = readdir(dir))
    if (entry->d_name[0] == '.' && isStaleTemp(dirfd(dir), entry->d_name))
      unlinkat(dirfd(dir), entry->d_name, 0);
  closedir(dir);
}

void removeTemporaryFiles() noexcept {
  for (TempBlock* block = &g_temps; block != nullptr; block = block->next.load())
    for (auto& slot : block->names)
      if (const char* name = slot.load()) unlink(name);
}

bool writeFileAtomically(const std::string& path, std::string_view bytes, SaveOptions options) {
  AtomicFile file(path, options);
  return file.write(bytes.data(), bytes.size()) && file.commit();
}

}  // namespace strimlo
