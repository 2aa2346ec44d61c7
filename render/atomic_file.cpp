#include "atomic_file.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <random>

namespace strimlo {

namespace {

// A symbolic link is followed, so that saving over it replaces the file it names and
// leaves the link in place, as writing in place would.
std::string resolveTarget(const std::string& path) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
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

// An existing target keeps its permission bits; a new one has those it was created with.
bool keepMode(int fd, const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return true;
  return fchmod(fd, st.st_mode & 0777) == 0;
}

// Makes the rename itself durable; a folder that cannot be synced changes nothing.
std::atomic<bool> g_syncEachFile{true};

void syncFolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

AtomicFile::AtomicFile(std::string path) : path_(resolveTarget(path)) {
  std::string pattern = tempTemplate(path_);
  if (pattern.empty()) return;
  std::string name;
  const int fd = createTemp(pattern, name);
  if (fd < 0) return;
  temp_ = name;
  file_ = fdopen(fd, "wb");
  if (file_ == nullptr) close(fd);
}

AtomicFile::~AtomicFile() {
  if (file_ != nullptr) std::fclose(file_);
  if (!committed_ && !temp_.empty()) unlink(temp_.c_str());
}

int AtomicFile::fd() const { return file_ != nullptr ? fileno(file_) : -1; }

bool AtomicFile::write(const void* data, std::size_t size) {
  if (!ok()) return false;
  if (size > 0 && std::fwrite(data, 1, size, file_) != size) failed_ = true;
  return !failed_;
}

bool AtomicFile::commit() {
  if (!ok() || committed_) return false;
  const bool written = std::fflush(file_) == 0 && !std::ferror(file_) && (!g_syncEachFile || fsync(fd()) == 0) &&
                       keepMode(fd(), path_);
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!written || !closed || std::rename(temp_.c_str(), path_.c_str()) != 0) {
    failed_ = true;
    return false;  // the destructor removes the temporary file
  }
  committed_ = true;
  if (g_syncEachFile) syncFolderOf(path_);
  return true;
}

void setSyncEachFile(bool sync) { g_syncEachFile = sync; }

bool writeFileAtomically(const std::string& path, std::string_view bytes) {
  AtomicFile file(path);
  return file.write(bytes.data(), bytes.size()) && file.commit();
}

}  // namespace strimlo
