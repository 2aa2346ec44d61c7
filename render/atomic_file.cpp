#include "atomic_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

// The permission bits the target should end with: an existing file's own, otherwise
// those of a newly created file, 0666 less the umask. The program has one thread, so
// reading the umask by setting it back at once is safe.
mode_t targetMode(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) == 0) return st.st_mode & 0777;
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
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

AtomicFile::AtomicFile(std::string path) : path_(resolveTarget(path)) {
  std::string pattern = tempTemplate(path_);
  if (pattern.empty()) return;
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return;
  temp_.assign(name.data());
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
  const bool written = std::fflush(file_) == 0 && !std::ferror(file_) && fsync(fd()) == 0 &&
                       fchmod(fd(), targetMode(path_)) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!written || !closed || std::rename(temp_.c_str(), path_.c_str()) != 0) {
    failed_ = true;
    return false;  // the destructor removes the temporary file
  }
  committed_ = true;
  syncFolderOf(path_);
  return true;
}

bool writeFileAtomically(const std::string& path, std::string_view bytes) {
  AtomicFile file(path);
  return file.write(bytes.data(), bytes.size()) && file.commit();
}

}  // namespace strimlo
