#include "placement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string_view>

#include "echo.h"

namespace strimlo::cli {

namespace {

// The folder part and the name of a relative path; the folder is "" for a bare name.
std::pair<std::string, std::string> splitPath(const std::string& relative) {
  const auto slash = relative.rfind('/');
  if (slash == std::string::npos) return {"", relative};
  return {relative.substr(0, slash), relative.substr(slash + 1)};
}

std::string joined(const std::string& root, const std::string& folder) {
  if (folder.empty()) return root;
  return root == "/" ? "/" + folder : root + "/" + folder;
}

std::string realPath(const std::string& path) {
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) != nullptr ? resolved : "";
}

// Where an open descriptor leads, as the kernel keeps it; "" without /proc.
std::string pathOfDescriptor(int fd) {
  char target[PATH_MAX];
  const std::string link = "/proc/self/fd/" + std::to_string(fd);
  const ssize_t n = readlink(link.c_str(), target, sizeof target);
  return n > 0 && n < static_cast<ssize_t>(sizeof target) ? std::string(target, n) : "";
}

bool inside(const std::string& path, const std::string& root) {
  if (root == "/" || path == root) return true;
  return path.size() > root.size() && path.compare(0, root.size(), root) == 0 &&
         path[root.size()] == '/';
}

}  // namespace

std::string relativePathProblem(const std::string& relative) {
  if (relative.empty()) return "the path names no file";
  if (relative[0] == '/') return "an absolute path; name it inside the output folder";
  std::string_view rest = relative;
  for (;;) {
    const auto slash = rest.find('/');
    if (rest.substr(0, slash) == "..")
      return "\"..\" in the path; outputs stay inside the output folder";
    if (slash == std::string_view::npos) break;
    rest.remove_prefix(slash + 1);
  }
  if (rest.empty() || rest == ".") return "the path names a folder, not a file";
  return {};
}

bool makeFolders(const std::string& path, std::string& error) {
  int fd = open(!path.empty() && path[0] == '/' ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC);
  bool made = false;  // from here on every name is one of ours: no link is followed
  for (std::string_view rest = path; fd >= 0 && !rest.empty();) {
    const auto slash = rest.find('/');
    const std::string name(rest.substr(0, slash));
    rest = slash == std::string_view::npos ? "" : rest.substr(slash + 1);
    if (name.empty() || name == ".") continue;
    struct stat st {};
    if (!made && fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode) &&
        st.st_uid != geteuid() && st.st_uid != 0) {
      error = shown(name) + " is another user's link; not followed";
      close(fd);
      return false;
    }
    const int follow = made ? O_NOFOLLOW : 0;
    int next = openat(fd, name.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC | follow);
    if (next < 0 && errno == ENOENT && (mkdirat(fd, name.c_str(), 0777) == 0 || errno == EEXIST)) {
      made = true;
      next = openat(fd, name.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
      if (next < 0 && (errno == ENOTDIR || errno == ELOOP))
        error = shown(name) + " is a link or not a folder; no link is followed";
    }
    if (next < 0 && error.empty()) error = errorText(errno);
    close(fd);
    fd = next;
  }
  if (fd < 0) return false;
  close(fd);
  return true;
}

ConfinedFolder::ConfinedFolder(const std::string& root, const std::string& relative) {
  const auto [folder, name] = splitPath(relative);
  const std::string given = joined(root, folder);
  fd_ = open(given.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) {
    error_ = errorText(errno);
    return;
  }
  std::string through = "/proc/self/fd/" + std::to_string(fd_);
  std::string actual = pathOfDescriptor(fd_);
  if (actual.empty()) through = actual = realPath(given);  // no /proc: checked by name only
  if (actual.empty() || !inside(actual, root)) {
    error_ = "its folder lies outside the output folder";
    return;
  }
  path_ = through + "/" + name;
}

ConfinedFolder::~ConfinedFolder() {
  if (fd_ >= 0) close(fd_);
}

std::string OutputKeys::key(const std::string& root, const std::string& relative) {
  const auto [folder, name] = splitPath(relative);
  auto it = folders_.find(folder);
  if (it == folders_.end()) {
    if (folders_.size() > 4096) folders_.clear();  // a batch of many folders: bounded memory
    const std::string given = joined(root, folder);
    const std::string resolved = realPath(given);
    it = folders_.emplace(folder, resolved.empty() ? given : resolved).first;
  }
  return it->second + "/" + name;
}

}  // namespace strimlo::cli
